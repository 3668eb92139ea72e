#include "core/ErrorFunnel.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Test entry for the session without a window: a QCoreApplication that funnels errors as
// the program's own does.
int main(int argc, char** argv) {
    // The program's data folder (the archive of downloads, the ports folder) is the run's own:
    // no test writes into the home folder of the machine it runs on.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    TCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
