// The edit field: the typed-length limit, the code-page guard, the key filter, leaving the
// field and its colours.
#include "WaitFor.h"
#include "ui/TEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Types each character as a key press carrying it (QTest::keyClicks only knows Latin-1).
void typeText(QWidget* widget, const QString& text) {
    for (QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}

class EditField : public ::testing::Test {
protected:
    void SetUp() override {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(&edit);
        column->addWidget(&other);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }

    QWidget window;
    TEdit edit{&window};
    TEdit other{&window};
};

TEST_F(EditField, TypedLimitBoundsTypingAndPastingOnly) {
    edit.SetMaxTypedLength(4);
    QTest::keyClicks(&edit, QStringLiteral("123456"));
    EXPECT_EQ(edit.text(), QStringLiteral("1234"));

    // Typing over a selection that keeps the length is an ordinary edit.
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("98"));
    EXPECT_EQ(edit.text(), QStringLiteral("98"));

    QApplication::clipboard()->setText(QStringLiteral("765"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("98"));
    QApplication::clipboard()->setText(QStringLiteral("76"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("9876"));

    // The program may set more; the user may shorten it or keep its length, never add.
    edit.setText(QStringLiteral("1234567"));
    EXPECT_EQ(edit.text(), QStringLiteral("1234567"));
    QTest::keyClick(&edit, Qt::Key_8);
    EXPECT_EQ(edit.text(), QStringLiteral("1234567"));
    edit.setCursorPosition(3);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("123567"));
    QTest::keyClick(&edit, Qt::Key_9);
    EXPECT_EQ(edit.text(), QStringLiteral("123567"));
    edit.setSelection(0, 1);
    QTest::keyClick(&edit, Qt::Key_0);
    EXPECT_EQ(edit.text(), QStringLiteral("023567"));
    EXPECT_EQ(edit.maxLength(), QLineEdit().maxLength());
}

TEST_F(EditField, RefusesTypedCharactersOutsideTheCodePage) {
    typeText(&edit, QStringLiteral("Łódź €5"));
    EXPECT_EQ(edit.text(), QStringLiteral("Łódź €5"));
    typeText(&edit, QStringLiteral("→中"));
    EXPECT_EQ(edit.text(), QStringLiteral("Łódź €5"));
    QApplication::clipboard()->setText(QStringLiteral("a→b"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("Łódź €5"));

    // A text the program sets is shown as it is and stays editable.
    edit.setText(QStringLiteral("x→"));
    QTest::keyClick(&edit, Qt::Key_A);
    EXPECT_EQ(edit.text(), QStringLiteral("x→a"));
}

TEST_F(EditField, KeyFilterSeesTypedCharactersAndMayCancelOrReplaceThem) {
    QString seen;
    edit.OnKeyPress = [&seen](QChar& key) {
        seen += key;
        if (key == QLatin1Char('x'))
            key = QChar();
        else if (key == QLatin1Char('a'))
            key = QLatin1Char('b');
    };
    QTest::keyClicks(&edit, QStringLiteral("1x2a"));
    EXPECT_EQ(edit.text(), QStringLiteral("12b"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Left);
    EXPECT_EQ(seen, QStringLiteral("1x2a") + QChar(0x08) + QChar(0x0D));
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
}

TEST_F(EditField, PastedTextGoesThroughTheKeyFilterAsIfTyped) {
    edit.OnKeyPress = [](QChar& key) {
        if (!key.isDigit())
            key = QChar();
    };
    edit.setText(QStringLiteral("12"));
    edit.setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("a3\tb4"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("1342"));
    EXPECT_EQ(edit.cursorPosition(), 3);
    QApplication::clipboard()->setText(QStringLiteral("ab"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("1342"));
}

TEST_F(EditField, ExitRunsWhenTheFocusMovesToAnotherControlOfTheWindow) {
    int exits = 0;
    edit.OnExit = [&exits] { ++exits; };
    QTest::mouseClick(&other, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([this] { return other.hasFocus(); }));
    EXPECT_EQ(exits, 1);

    edit.setFocus();
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    ASSERT_TRUE(WaitFor([&elsewhere] { return elsewhere.isActiveWindow(); }));
    EXPECT_EQ(exits, 1);
}

TEST_F(EditField, ColoursAreKeptAndPainted) {
    const QColor yellow(255, 255, 153);
    edit.SetColor(yellow);
    edit.SetFontColor(Qt::blue);
    EXPECT_EQ(edit.Color(), yellow);
    EXPECT_EQ(edit.FontColor(), QColor(Qt::blue));
    edit.setText(QStringLiteral("   "));
    const QImage picture = edit.grab().toImage();
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)), yellow);
    edit.setEnabled(false);
    EXPECT_EQ(edit.palette().color(QPalette::Disabled, QPalette::Base), yellow);
}

} // namespace
