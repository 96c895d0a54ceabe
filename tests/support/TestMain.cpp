// Every test program starts here: the platform's stand-ins are registered first, as
// main() does for the program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Platform.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    korvel::platform::Install();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
