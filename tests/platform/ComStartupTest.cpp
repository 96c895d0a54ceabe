// COM start-up and shut-down of "ole32.dll": a count per thread.
#include <gtest/gtest.h>

#include <thread>

#include "core/binding/Binding.h"
#include "platform/Ole32.h"

namespace korvel::platform {
namespace {

using binding::Call;

TEST(ComStartup, CountsPerThreadAndNeverBelowZero) {
    ASSERT_EQ(CurrentComInitCount(), 0);
    EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_OK);
    EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_FALSE);
    EXPECT_EQ(CurrentComInitCount(), 2);

    std::thread other([] {
        EXPECT_EQ(CurrentComInitCount(), 0);
        EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_OK);
        Call<binding::kCoUninitialize>();
    });
    other.join();

    for (int i = 0; i < 3; ++i) Call<binding::kCoUninitialize>();
    EXPECT_EQ(CurrentComInitCount(), 0);
    EXPECT_EQ(Call<binding::kCoInitialize>(nullptr), S_OK);  // started afresh
    Call<binding::kCoUninitialize>();
}

TEST(ComStartup, ReservedArgumentMustBeNull) {
    int reserved = 0;
    EXPECT_EQ(Call<binding::kCoInitialize>(&reserved), E_INVALIDARG);
    EXPECT_EQ(CurrentComInitCount(), 0);
}

}  // namespace
}  // namespace korvel::platform
