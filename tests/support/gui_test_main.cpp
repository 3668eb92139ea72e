#include "app/TApplication.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Test entry for everything that needs the application object: the real TApplication on
// Qt's offscreen platform unless a display platform was asked for.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's data folder (the archive of downloads, the ports folder) is the run's own:
    // no test writes into the home folder of the machine it runs on.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
