#include "ScriptedDesktop.h"
#include "WaitFor.h"
#include "core/Errors.h"
#include "serial/ERsCommError.h"
#include "ui/TMain.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ErrorHandlerTest : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    TMain window{desktop};

    // Runs the action as an event handler, the way a click or a timer would.
    template <typename F> void RunAsHandler(F action) {
        bool ran = false;
        QTimer::singleShot(0, &window, [&ran, action] {
            ran = true;
            action();
        });
        ASSERT_TRUE(WaitFor([&] { return ran; }));
        QCoreApplication::processEvents();
    }
};

TEST_F(ErrorHandlerTest, ConversionErrorBeepsAndReportsThePort) {
    RunAsHandler([] { throw EConvertError(QStringLiteral("'1+' is not a valid integer")); });
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Plain: Port COM niedostępny"}));
}

TEST_F(ErrorHandlerTest, OtherErrorsAreSwallowedSilently) {
    RunAsHandler([] { throw ERsCommError(QStringLiteral("Read error (5), Input/output error")); });
    RunAsHandler([] { throw EInOutError(QStringLiteral("cannot create file")); });
    RunAsHandler([] { throw std::runtime_error("anything"); });
    RunAsHandler([] { throw 42; });
    EXPECT_TRUE(desktop.Log.isEmpty());

    // The program goes on handling events afterwards.
    bool later = false;
    QTimer::singleShot(0, &window, [&later] { later = true; });
    EXPECT_TRUE(WaitFor([&] { return later; }));
}

TEST_F(ErrorHandlerTest, ErrorInsideANestedLoopIsHandledAndTheLoopGoesOn) {
    bool nestedLoopFinished = false;
    bool eventAfterErrorRan = false;
    RunAsHandler([&] {
        QEventLoop nested;
        QTimer::singleShot(0, &window, [] { throw EConvertError(QStringLiteral("nested")); });
        QTimer::singleShot(5, &window, [&] {
            eventAfterErrorRan = true;
            nested.quit();
        });
        nested.exec();
        nestedLoopFinished = true;
    });
    EXPECT_TRUE(nestedLoopFinished);
    EXPECT_TRUE(eventAfterErrorRan);
    EXPECT_EQ(desktop.Log, (QStringList{"beep", "Plain: Port COM niedostępny"}));
}

} // namespace
