// The main window and the dialogs for keyboard users and assistive tools: every control
// reached by Tab in reading order and heard by what it shows, the stepped values changed
// by keys as by their spin buttons, the desktop's keys, Enter in the password field.
#include "RecorderSession.h"
#include "app/TFInfo.h"
#include "firmware/TFboot.h"
#include "operations/TFhaslo_nowe.h"
#include "operations/THistoryChart.h"
#include "protocol/Commands.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"
#include "ui/TSpinButton.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
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
    QStringList named;            // names of the interactive nodes
    QStringList unnamed;          // descriptions of interactive nodes without a name
    QMap<QString, QString> heard; // design name -> accessible name, of every node reached

    void Visit(QAccessibleInterface* node, const QString& path, int depth = 0) {
        ASSERT_LT(depth, 32) << "runaway tree at " << path.toStdString();
        const QString name = node->text(QAccessible::Name);
        QObject* object = node->object();
        const QString here =
            path + QLatin1Char('/') + (object != nullptr ? object->objectName() : QString()) +
            QLatin1Char('[') + QString::number(node->role(), 16) + QLatin1Char(']');
        if (object != nullptr && !object->objectName().isEmpty())
            heard[object->objectName()] = name;
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

TEST_F(KeyboardAccess, EveryControlOfTheMainWindowIsHeardByWhatItShows) {
    const TreeWalk walk = TreeWalk::Of(w);
    EXPECT_TRUE(walk.unnamed.isEmpty()) << walk.unnamed.join(QLatin1Char('\n')).toStdString();
    const std::pair<const char*, const char*> expected[] = {
        {"Combo_Port", "PORT"},
        {"Edit_haslo", "HASŁO"},
        {"TempKorekta", "Korekta czujnika nr.1"},
        {"TempKorekta2", "Korekta czujnika nr.2"},
        {"TempMin", "Min"},
        {"TempMax", "Max"},
        {"TempZapisz", "Zapis temp. co  [min]"},
        {"Temp", "Temp.1"},
        {"Temp2", "Temp. 2"},
        {"Udc", "Zasilanie"},
        {"Data", "Data"},
        {"czas", "Godzina"},
        {"TC8Nazwa", "Nagłówek 1"},
        {"TC8Nazwa2", "Nagłówek 2"},
        {"TC8Nazwa3", "Nagłówek 3"},
        {"TC8Typ", "Typ"},
        {"TC8name", "Nazwa"},
        {"IleDruk", "Ilość raportów do wydruku"},
        {"Edit_status", "Stan portu"},
        {"Edit_logon", "Stan logowania"},
        {"Icon_get", "Odczytaj konfiguracje z KVAM"},
        {"Icon_put", "Zapisz konfiguracje do KVAM"},
        {"trm", "Historia temperatury"},
        {"TempBar", "Postęp historii"},
        {"PanelKomunikacji", "Połączenie"},
        {"Button_polacz", "POŁĄCZ"},
        {"GroupBox4", "Ustawienia temperatury"},
        {"TextWersja", "TC-8 v ..."},
        {"Label_IleDruk", "Ilość raportów do wydruku"},
    };
    for (const auto& [design, name] : expected)
        EXPECT_EQ(walk.heard.value(QString::fromLatin1(design)), QString::fromUtf8(name)) << design;
    for (const char* half :
         {"Min: w górę", "Korekta czujnika nr.2: w dół", "Zapis temp. co [min]: w górę"})
        EXPECT_TRUE(walk.named.contains(QString::fromUtf8(half))) << half;
    // Descriptions are the hints.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w.Edit_haslo)->text(QAccessible::Description),
              QStringLiteral("Hasło dostępu (4 cyfry)"));
    // Each label is its field's buddy.
    for (const auto& [label, field] : {std::pair<QLabel*, QWidget*>{w.Label_Port, w.Combo_Port},
                                       {w.Label_Zapisz, w.TempZapisz},
                                       {w.Label_TypNazwa, w.TC8Typ},
                                       {w.Label_IleDruk, w.IleDruk}})
        EXPECT_EQ(label->buddy(), field) << label->objectName().toStdString();
}

TEST_F(KeyboardAccess, TheVersionLabelIsHeardWithItsCurrentCaption) {
    w.TextWersja->setText(QStringLiteral("TC-8 v 1.5"));
    EXPECT_EQ(TreeWalk::Of(w).heard.value(QStringLiteral("TextWersja")),
              QStringLiteral("TC-8 v 1.5"));
}

TEST_F(KeyboardAccess, HiddenPanelsAndFieldsStayOutOfTheTreeWhileHidden) {
    TreeWalk walk = TreeWalk::Of(w);
    for (const char* hidden : {"Panel1", "Ruac", "Rtemp2", "Panel_bar", "Bar", "Label_Bar"})
        EXPECT_FALSE(walk.heard.contains(QString::fromLatin1(hidden))) << hidden;
    w.Panel_bar->show();
    walk = TreeWalk::Of(w);
    EXPECT_EQ(walk.heard.value(QStringLiteral("Bar")), QStringLiteral("Postęp konfiguracji"));
    EXPECT_FALSE(walk.heard.contains(QStringLiteral("Label_Bar")));
    EXPECT_FALSE(walk.heard.contains(QStringLiteral("Panel1")));
}

TEST_F(KeyboardAccess, EveryControlOfTheDialogsIsHeardByWhatItShows) {
    TFhaslo_nowe password(w, &w);
    TFboot firmware(w, &w);
    TFInfo about(session.desktop, &w);
    THistoryChart chart(session.desktop, &w);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&password, &firmware, &about, &chart}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        const TreeWalk walk = TreeWalk::Of(*dialog);
        EXPECT_TRUE(walk.unnamed.isEmpty()) << walk.unnamed.join(QLatin1Char('\n')).toStdString();
        EXPECT_FALSE(walk.named.isEmpty());
    }
    EXPECT_EQ(TreeWalk::Of(password).heard.value(QStringLiteral("Edit_haslo_nowe")),
              QStringLiteral("Nowe haslo"));
    EXPECT_EQ(TreeWalk::Of(about).heard.value(QStringLiteral("Label1")),
              QStringLiteral("Konfigurator TC-8 v1.0"));
    EXPECT_FALSE(TreeWalk::Of(firmware).heard.contains(QStringLiteral("BarBoot")));
    firmware.findChild<QWidget*>(QStringLiteral("BarBoot"))->show();
    EXPECT_EQ(TreeWalk::Of(firmware).heard.value(QStringLiteral("BarBoot")),
              QStringLiteral("Postęp aktualizacji"));
}

// The keys of each stepped field against the clicks of its spin button, on a second window:
// past both bounds, with the same values and the same marks after every step.
TEST_F(KeyboardAccess, KeysStepTheSettingsAsTheSpinButtonsDo) {
    ScriptedDesktop otherDesktop;
    TMain clicked(otherDesktop);
    const std::pair<TEdit * TMainControls::*, TSpinButton * TMainControls::*> rows[] = {
        {&TMainControls::TempKorekta, &TMainControls::SpinButton1},
        {&TMainControls::TempKorekta2, &TMainControls::SpinButton5},
        {&TMainControls::TempMin, &TMainControls::SpinButton3},
        {&TMainControls::TempMax, &TMainControls::SpinButton2},
        {&TMainControls::TempZapisz, &TMainControls::SpinButton4}};
    const std::pair<Qt::Key, std::pair<bool, int>> keys[] = {
        {Qt::Key_Up, {true, 1}},         {Qt::Key_PageUp, {true, 10}},
        {Qt::Key_PageUp, {true, 10}},    {Qt::Key_Down, {false, 1}},
        {Qt::Key_PageDown, {false, 10}}, {Qt::Key_PageDown, {false, 10}},
        {Qt::Key_PageDown, {false, 10}}, {Qt::Key_Up, {true, 1}}};
    for (const auto& [field, spin] : rows) {
        SCOPED_TRACE((w.*field)->objectName().toStdString());
        for (const auto& [key, clicks] : keys) {
            QTest::keyClick(w.*field, key);
            QToolButton* half =
                clicks.first ? (clicked.*spin)->UpButton() : (clicked.*spin)->DownButton();
            for (int i = 0; i < clicks.second; ++i)
                half->click();
            EXPECT_EQ((w.*field)->text(), (clicked.*field)->text());
            EXPECT_EQ((w.*field)->Color(), (clicked.*field)->Color());
        }
    }
    // Typing still changes nothing.
    QTest::keyClicks(w.TempMin, QStringLiteral("12"));
    EXPECT_EQ(w.TempMin->text(), clicked.TempMin->text());
}

TEST_F(KeyboardAccess, TheDesktopsKeysOpenSaveAndReachTheMenus) {
    ShowActive();
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(session.desktop.FileDialogsShown.size(), 2u);
    QTest::keyClick(&w, Qt::Key_F10);
    EXPECT_TRUE(WaitFor([this] { return w.MainMenu->activeAction() == w.Plik1->menuAction(); }));
    w.Plik1->close();
}

TEST_F(KeyboardAccess, EscapeClosesTheAboutBoxAndThePasswordDialogAsCancelDoes) {
    TFhaslo_nowe password(w, &w);
    TFInfo about(session.desktop, &w);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&password, &about}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                               : static_cast<QWidget*>(dialog),
                        Qt::Key_Escape);
        EXPECT_TRUE(WaitFor([dialog] { return !dialog->isVisible(); }));
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
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
