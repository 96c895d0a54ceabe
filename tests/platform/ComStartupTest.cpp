// COM start-up and shut-down of "ole32.dll": a count per thread.
#include <gtest/gtest.h>

#include <thread>

#include "core/binding/Binding.h"
#include "platform/Ole32.h"

namespace korvel::platform {
namespace {

using binding::Call;

// Each case runs on a thread of its own, whose count starts at 0 whatever other tests
// left on the main thread.
template <typename Body>
void OnFreshThread(Body body) {
    std::thread thread(body);
    thread.join();
}

TEST(ComStartup, CountsPerThreadAndNeverBelowZero) {
    OnFreshThread([] {
        EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_OK);
        EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_FALSE);
        EXPECT_EQ(CurrentComInitCount(), 2);

        OnFreshThread([] {
            EXPECT_EQ(CurrentComInitCount(), 0);
            EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_OK);
        });

        for (int i = 0; i < 3; ++i) Call<binding::kCoUninitialize>();
        EXPECT_EQ(CurrentComInitCount(), 0);
        EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_OK);  // started afresh
    });
}

TEST(ComStartup, ReservedArgumentMustBeNull) {
    OnFreshThread([] {
        int reserved = 0;
        EXPECT_EQ(Call<binding::kCoInitialize>(&reserved), E_INVALIDARG);
        EXPECT_EQ(CurrentComInitCount(), 0);
    });
}

}  // namespace
}  // namespace korvel::platform
