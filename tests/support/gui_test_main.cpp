#include "app/TApplication.h"

#include <gtest/gtest.h>

// Test entry for everything that needs the application object: the real TApplication on
// Qt's offscreen platform unless a display platform was asked for.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
