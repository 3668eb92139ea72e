// The main window and the dialogs for keyboard users and assistive tools: every control
// reached by Tab in reading order, Enter in the password field, and a name for every
// control in the accessibility tree.
#include "RecorderSession.h"
#include "app/TFInfo.h"
#include "firmware/TFboot.h"
#include "operations/TFhaslo_nowe.h"
#include "protocol/Commands.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

// Roles of the things a person operates; scroll bars belong to the box they scroll.
bool Interactive(QAccessible::Role role) {
    static const std::set<QAccessible::Role> roles = {
        QAccessible::PushButton,     QAccessible::CheckBox,     QAccessible::RadioButton,
        QAccessible::ComboBox,       QAccessible::EditableText, QAccessible::SpinBox,
        QAccessible::Slider,         QAccessible::MenuItem,     QAccessible::ButtonMenu,
        QAccessible::ButtonDropDown, QAccessible::PageTab,      QAccessible::Link,
        QAccessible::ProgressBar};
    return roles.count(role) != 0;
}

struct TreeWalk {
    QStringList named;   // names of the interactive nodes
    QStringList unnamed; // descriptions of interactive nodes without a name

    void Visit(QAccessibleInterface* node, const QString& path, int depth = 0) {
        ASSERT_LT(depth, 32) << "runaway tree at " << path.toStdString();
        const QString name = node->text(QAccessible::Name);
        QObject* object = node->object();
        const QString here =
            path + QLatin1Char('/') + (object != nullptr ? object->objectName() : QString()) +
            QLatin1Char('[') + QString::number(node->role(), 16) + QLatin1Char(']');
        if (Interactive(node->role())) {
            if (name.trimmed().isEmpty())
                unnamed << here;
            else
                named << name;
        }
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            ASSERT_NE(child, nullptr) << here.toStdString() << " child " << i;
            Visit(child, here, depth + 1);
        }
    }

    static TreeWalk Of(QWidget& window) {
        TreeWalk walk;
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
        EXPECT_NE(root, nullptr);
        if (root != nullptr)
            walk.Visit(root, window.objectName());
        return walk;
    }
};

class KeyboardAccess : public ::testing::Test {
protected:
    RecorderSession session;
    TMain& w = *session.window;

    void ShowActive() {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    // Object names of the controls that Tab visits from `first` until it comes back to it.
    QStringList TabCycle(QWidget* first, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        first->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(WaitFor([first] { return first->hasFocus(); }));
        QStringList visited{first->objectName()};
        for (int step = 0; step < 100; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
            QWidget* focused = QApplication::focusWidget();
            if (focused == nullptr || focused == first)
                break;
            visited << focused->objectName();
        }
        return visited;
    }

    int Requests(std::uint8_t code) const { return session.Recorder().RequestCount(code); }
};

TEST_F(KeyboardAccess, EveryInteractiveControlOfTheMainWindowHasAName) {
    const TreeWalk walk = TreeWalk::Of(w);
    EXPECT_TRUE(walk.unnamed.isEmpty()) << walk.unnamed.join(QLatin1Char('\n')).toStdString();
    // The walk reaches the controls deep in the groups, the spin halves among them. (A
    // drop-down list is named by its choice.)
    for (const char* name :
         {"POŁĄCZ", "Edit_haslo", "COM1", "Icon_put", "Aktualizacja", "TempMin", "Min: w górę",
          "Korekta czujnika nr.2: w dół", "IleDruk", "START", "trm", "TempBar"})
        EXPECT_TRUE(walk.named.contains(QString::fromUtf8(name))) << name;
}

TEST_F(KeyboardAccess, EveryInteractiveControlOfTheDialogsHasAName) {
    TFhaslo_nowe password(w, &w);
    TFboot firmware(w, &w);
    TFInfo about(session.desktop, &w);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&password, &firmware, &about}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        const TreeWalk walk = TreeWalk::Of(*dialog);
        EXPECT_TRUE(walk.unnamed.isEmpty()) << walk.unnamed.join(QLatin1Char('\n')).toStdString();
        EXPECT_FALSE(walk.named.isEmpty());
    }
}

TEST_F(KeyboardAccess, TabVisitsTheEnabledControlsInReadingOrder) {
    ShowActive();
    EXPECT_EQ(
        TabCycle(w.Combo_Port),
        QStringList({"Combo_Port",     "Edit_haslo",  "Button_polacz", "Edit_status", "Edit_logon",
                     "ButtonFirmware", "TempKorekta", "TempKorekta2",  "TempMin",     "TempMax",
                     "TempZapisz",     "Temp",        "Temp2",         "Udc",         "Data",
                     "czas",           "TC8Nazwa",    "TC8Nazwa2",     "TC8Nazwa3",   "TC8Typ",
                     "TC8name",        "IleDruk",     "ButtonZapisz",  "trm"}));
}

TEST_F(KeyboardAccess, ShiftTabWalksBackTheSameWay) {
    ShowActive();
    QStringList forward = TabCycle(w.Combo_Port);
    QStringList backward = TabCycle(w.Combo_Port, Qt::ShiftModifier);
    ASSERT_FALSE(forward.isEmpty());
    forward.removeFirst();
    backward.removeFirst();
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_F(KeyboardAccess, TabReachesTheRecorderControlsOnceLoggedOn) {
    ShowActive();
    ASSERT_TRUE(session.LogOn());
    EXPECT_EQ(TabCycle(w.Button_rozlacz), QStringList({"Button_rozlacz",
                                                       "Icon_get",
                                                       "Icon_put",
                                                       "Edit_status",
                                                       "Edit_logon",
                                                       "ButtonRestart",
                                                       "ButtonFirmware",
                                                       "Button_zmiana_hasla",
                                                       "ButtonKasuj",
                                                       "TempKorekta",
                                                       "TempKorekta2",
                                                       "TempMin",
                                                       "TempMax",
                                                       "TempZapisz",
                                                       "Temp",
                                                       "Temp2",
                                                       "Udc",
                                                       "Data",
                                                       "czas",
                                                       "ButtonCzas",
                                                       "TC8Nazwa",
                                                       "TC8Nazwa2",
                                                       "TC8Nazwa3",
                                                       "TC8Typ",
                                                       "TC8name",
                                                       "IleDruk",
                                                       "ButtonPobierz",
                                                       "ButtonZapisz",
                                                       "trm"}));
}

TEST_F(KeyboardAccess, EnterInThePasswordFieldPressesConnect) {
    ShowActive();
    w.Edit_haslo->setFocus();
    ASSERT_TRUE(WaitFor([this] { return w.Edit_haslo->hasFocus(); }));
    QTest::keyClick(w.Edit_haslo, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([this] { return session.LoggedOnShown(); }));
    EXPECT_EQ(Requests(Cmd::Logon), 1);
    EXPECT_EQ(w.Edit_haslo->text(), QStringLiteral("0157"));
}

TEST_F(KeyboardAccess, EnterAfterAShortPasswordSendsTheDefaultAsAClickWould) {
    ShowActive();
    w.Edit_haslo->setFocus();
    ASSERT_TRUE(WaitFor([this] { return w.Edit_haslo->hasFocus(); }));
    w.Edit_haslo->clear();
    QTest::keyClicks(w.Edit_haslo, QStringLiteral("42"));
    QTest::keyClick(w.Edit_haslo, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(WaitFor([this] { return session.LoggedOnShown(); }));
    EXPECT_EQ(w.Edit_haslo->text(), QStringLiteral("0157"));
    EXPECT_EQ(session.desktop.Log, QStringList());
}

TEST_F(KeyboardAccess, EnterWithAWrongPasswordReportsItAndStaysLoggedOff) {
    ShowActive();
    w.Edit_haslo->setFocus();
    ASSERT_TRUE(WaitFor([this] { return w.Edit_haslo->hasFocus(); }));
    w.Edit_haslo->setText(QStringLiteral("9999"));
    QTest::keyClick(w.Edit_haslo, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([this] { return session.desktop.CountOf("Error: Błędne hasło") == 1; }));
    EXPECT_FALSE(session.LoggedOnShown());
    EXPECT_EQ(Requests(Cmd::Logon), 1);
}

} // namespace
