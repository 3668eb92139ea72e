#include "core/ErrorFunnel.h"

#include <gtest/gtest.h>

// Test entry for the session without a window: a QCoreApplication that funnels errors as
// the program's own does.
int main(int argc, char** argv) {
    TCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
