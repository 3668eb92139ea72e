// The main window as it comes up: every control with its name, texts, limits, states and
// colours, the containers' places, the menus, the window's size and the fit of every text.
#include "LayoutChecks.h"
#include "ScriptedDesktop.h"
#include "WaitFor.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"
#include "ui/TSpinButton.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class MainLayout : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    std::unique_ptr<TMain> main = std::make_unique<TMain>(desktop);

    template <class Widget = QWidget> Widget* control(const char* name) {
        auto* widget = main->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

struct ExpectedEdit {
    const char* name;
    const char* text;
    int typedLimit;
    bool readOnly;
    const char* hint;
};

class MainLayoutEdit : public MainLayout, public ::testing::WithParamInterface<ExpectedEdit> {};

TEST_P(MainLayoutEdit, StartsWithItsTextLimitAndAccess) {
    const ExpectedEdit& expected = GetParam();
    auto* edit = control<TEdit>(expected.name);
    ASSERT_NE(edit, nullptr);
    // Texts left to the configuration defaults are not pinned here.
    if (expected.text != nullptr) {
        EXPECT_EQ(edit->text(), QString::fromUtf8(expected.text));
    }
    EXPECT_EQ(edit->MaxTypedLength(), expected.typedLimit);
    EXPECT_EQ(edit->isReadOnly(), expected.readOnly);
    EXPECT_EQ(edit->toolTip(), QString::fromUtf8(expected.hint));
    EXPECT_TRUE(edit->isEnabled());
    // Qt's own limit would cut texts the program sets.
    EXPECT_EQ(edit->maxLength(), QLineEdit().maxLength());
}

INSTANTIATE_TEST_SUITE_P(EditFields, MainLayoutEdit,
                         ::testing::ValuesIn(std::vector<ExpectedEdit>{
                             {"Edit_haslo", "0157", 4, false, "Hasło dostępu (4 cyfry)"},
                             {"Edit_status", "ROZŁĄCZONY", 0, true, ""},
                             {"Edit_logon", "WYLOGOWANY", 0, true, ""},
                             {"TempKorekta", nullptr, 0, true, ""},
                             {"TempKorekta2", nullptr, 0, true, ""},
                             {"TempMin", nullptr, 0, true, ""},
                             {"TempMax", nullptr, 0, true, ""},
                             {"TempZapisz", "1", 0, true, ""},
                             {"Temp", "", 0, true, ""},
                             {"Temp2", "", 0, true, ""},
                             {"Udc", "", 0, true, ""},
                             {"Data", "", 0, true, ""},
                             {"czas", "", 0, true, ""},
                             {"TC8Nazwa", nullptr, 29, false, ""},
                             {"TC8Nazwa2", nullptr, 29, false, ""},
                             {"TC8Nazwa3", nullptr, 29, false, ""},
                             {"TC8Typ", nullptr, 8, false, ""},
                             {"TC8name", "Rejestrator nr.1", 12, false, ""},
                             {"IleDruk", "16", 2, false, ""},
                             {"Ruac", nullptr, 0, false, ""},
                             {"RUwe", nullptr, 0, false, ""},
                             {"Rtemp", nullptr, 0, false, ""},
                             {"Rtemp2", nullptr, 0, false, ""},
                         }),
                         [](const ::testing::TestParamInfo<ExpectedEdit>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainLayout, EditFieldsAreTheWindowsMembers) {
    EXPECT_EQ(main->Edit_haslo, control<TEdit>("Edit_haslo"));
    EXPECT_EQ(main->TC8Nazwa3, control<TEdit>("TC8Nazwa3"));
}

struct ExpectedButton {
    const char* name;
    const char* caption;
    bool enabled;
    const char* hint;
};

class MainLayoutButton : public MainLayout, public ::testing::WithParamInterface<ExpectedButton> {};

TEST_P(MainLayoutButton, StartsWithItsCaptionHintAndState) {
    const ExpectedButton& expected = GetParam();
    auto* button = control<QPushButton>(expected.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption));
    EXPECT_EQ(button->accessibleName(), QString::fromUtf8(expected.caption));
    EXPECT_EQ(button->isEnabled(), expected.enabled);
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(expected.hint));
}

INSTANTIATE_TEST_SUITE_P(Buttons, MainLayoutButton,
                         ::testing::ValuesIn(std::vector<ExpectedButton>{
                             {"Button_polacz", "POŁĄCZ", true, "Połącz do sterownika KVAM"},
                             {"Button_rozlacz", "ROZŁĄCZ", false, "Rozłącz od sterownika  KVAM"},
                             {"ButtonRestart", "Restart TC-8", false, ""},
                             {"ButtonFirmware", "Aktualizacja", true, ""},
                             {"Button_zmiana_hasla", "Zmiana hasła", false, ""},
                             {"ButtonKasuj", "Kasuj historie", false, ""},
                             {"ButtonCzas", "Ustaw zegar", false, ""},
                             {"ButtonPobierz", "START", false, ""},
                             {"ButtonSTOP", "STOP", false, ""},
                             {"ButtonZapisz", "Zapisz do pliku", true, ""},
                         }),
                         [](const ::testing::TestParamInfo<ExpectedButton>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainLayout, PictureButtonsStartDisabledWithTheirPicturesAndHints) {
    for (const char* name : {"Icon_get", "Icon_put"}) {
        SCOPED_TRACE(name);
        auto* picture = control<QToolButton>(name);
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(picture->isEnabled());
        EXPECT_FALSE(picture->icon().isNull());
        EXPECT_EQ(picture->accessibleName(), picture->toolTip());
    }
    EXPECT_EQ(main->Icon_get->toolTip(), QStringLiteral("Odczytaj konfiguracje z KVAM"));
    EXPECT_EQ(main->Icon_put->toolTip(), QStringLiteral("Zapisz konfiguracje do KVAM"));
    EXPECT_NE(main->Icon_get->icon().pixmap(32).toImage(),
              main->Icon_put->icon().pixmap(32).toImage());
}

TEST_F(MainLayout, LabelsListsGaugesAndTheHistoryBoxStartAsDesigned) {
    const std::pair<const char*, const char*> labels[] = {
        {"Label_Port", "PORT :"},
        {"Label_haslo", "HASŁO"},
        {"TextWersja", "TC-8 v ..."},
        {"Label_Korekta1", "Korekta czujnika nr.1"},
        {"Label_Korekta2", "Korekta czujnika nr.2"},
        {"Label_Min", "Min"},
        {"Label_Max", "Max"},
        {"Label_Zapisz", "Zapis temp. co  [min]"},
        {"Label_Temp", "Temp.1"},
        {"Label_Temp2", "Temp. 2"},
        {"Label_Udc", "Zasilanie"},
        {"Label_Data", "Data"},
        {"Label_czas", "Godzina"},
        {"Label_Naglowek1", "Nagłówek 1"},
        {"Label_Naglowek2", "Nagłówek 2"},
        {"Label_Naglowek3", "Nagłówek 3"},
        {"Label_TypNazwa", "Typ : Nazwa"},
        {"Label_Dwukropek", ":"},
        {"Label_IleDruk", "Ilość raportów do wydruku"},
        {"Label_Bar", "Pobieram konfiguracje"},
    };
    for (const auto& [name, text] : labels) {
        auto* label = control<QLabel>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(text)) << name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name),
                  label->text())
            << name;
    }
    EXPECT_TRUE(main->Label_Bar->isHidden());
    EXPECT_EQ(main->TextWersja->toolTip(), QStringLiteral("Wersja frimware w sterowniku KVAM"));

    auto* ports = control<QComboBox>("Combo_Port");
    ASSERT_NE(ports, nullptr);
    ASSERT_EQ(ports->count(), 8);
    EXPECT_EQ(ports->itemText(0), QStringLiteral("COM1"));
    EXPECT_EQ(ports->itemText(7), QStringLiteral("COM8"));
    EXPECT_EQ(ports->currentIndex(), 0);
    EXPECT_FALSE(ports->isEditable());

    for (const char* name :
         {"SpinButton1", "SpinButton2", "SpinButton3", "SpinButton4", "SpinButton5"})
        EXPECT_NE(control<TSpinButton>(name), nullptr);
    // Each spin button sits right of its own field, level with it.
    const QRect field = main->TempMin->geometry();
    const QRect spin = main->SpinButton3->geometry();
    EXPECT_EQ(spin.top(), field.top());
    EXPECT_GT(spin.left(), field.right());
    EXPECT_EQ(main->SpinButton3->parentWidget(), main->TempMin->parentWidget());

    for (const char* name : {"TempBar", "Bar"}) {
        auto* gauge = control<TGauge>(name);
        ASSERT_NE(gauge, nullptr);
        EXPECT_EQ(gauge->Position(), 0);
        EXPECT_EQ(gauge->text(), QStringLiteral("0%"));
    }
    auto* history = control<QPlainTextEdit>("trm");
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->toPlainText().isEmpty());
    EXPECT_EQ(history->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    EXPECT_EQ(main->OpenDialog.Filter, QStringLiteral("TC-8 konfiguracja|*.rcf"));
    EXPECT_EQ(main->SaveDialog.Filter, QStringLiteral("TC-8 konfiguracja|*.rcf"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Konfigurator TC-8"));
}

TEST_F(MainLayout, StatusFieldsAndVersionLabelHaveTheirColours) {
    EXPECT_EQ(main->Edit_status->Color(), Colors::Red);
    EXPECT_EQ(main->Edit_logon->Color(), Colors::Red);
    // The colour is what the field paints with, also while it cannot be edited.
    EXPECT_EQ(main->Edit_status->palette().color(QPalette::Active, QPalette::Base), Colors::Red);
    EXPECT_EQ(main->Edit_logon->palette().color(QPalette::Disabled, QPalette::Base), Colors::Red);
    for (TEdit* field : {main->Data, main->czas})
        EXPECT_EQ(field->Color(), Colors::BtnFace()) << field->objectName().toStdString();
    EXPECT_EQ(main->TextWersja->palette().color(QPalette::WindowText), Colors::Gray);
    EXPECT_TRUE(main->TextWersja->font().underline());
}

TEST_F(MainLayout, ContainersHaveTheirCaptionsAndPlaces) {
    struct Container {
        const char* name;
        const char* caption;
        QRect place;
        bool hidden;
    };
    const Container containers[] = {
        {"PanelKomunikacji", nullptr, {0, 0, 529, 65}, false},
        {"GroupBox3", "Opcje TC-8", {0, 72, 193, 89}, false},
        {"GroupBox4", "Ustawienia temperatury", {0, 168, 193, 169}, false},
        {"GroupBox7", "Stan TC-8", {0, 344, 193, 161}, false},
        {"GroupBox1", "Ustawienia wydruku", {200, 72, 329, 161}, false},
        {"GroupBox2", "Historia temperatury", {200, 240, 329, 265}, false},
        {"Panel_bar", nullptr, {0, 520, 529, 33}, true},
        {"Panel1", nullptr, {0, 552, 529, 33}, true},
    };
    for (const Container& expected : containers) {
        SCOPED_TRACE(expected.name);
        QWidget* container = control(expected.name);
        ASSERT_NE(container, nullptr);
        EXPECT_EQ(container->parentWidget(), main->centralWidget());
        EXPECT_EQ(container->geometry(), expected.place);
        EXPECT_EQ(container->isHidden(), expected.hidden);
        if (expected.caption != nullptr) {
            EXPECT_EQ(qobject_cast<QGroupBox*>(container)->title(),
                      QString::fromUtf8(expected.caption));
        }
    }
    for (TEdit* raw : {main->Ruac, main->RUwe, main->Rtemp, main->Rtemp2}) {
        EXPECT_EQ(raw->parentWidget(), main->Panel1);
        EXPECT_TRUE(raw->isHidden());
    }
    EXPECT_EQ(main->Bar->parentWidget(), main->Panel_bar);
    EXPECT_EQ(main->TempBar->parentWidget(), main->GroupBox2);
    EXPECT_EQ(main->Icon_put->parentWidget(), main->PanelKomunikacji);
    EXPECT_EQ(main->ButtonCzas->parentWidget(), main->GroupBox7);
}

TEST_F(MainLayout, MenusOfferTheirItemsWithDataItemsDisabled) {
    QMenuBar* bar = main->menuBar();
    ASSERT_EQ(bar, main->MainMenu);
    const auto menus = bar->actions();
    ASSERT_EQ(menus.size(), 5);
    const std::pair<const char*, std::vector<std::pair<const char*, bool>>> expected[] = {
        {"Plik", {{"Odczyt", true}, {"Zapis", true}}},
        {"Dane", {{"Odczyt", false}, {"Zapisz", false}}},
        {"Historia",
         {{"Wykres temperatur…", true},
          {"Eksport do CSV…", true},
          {"Raport PDF…", true},
          {"Drukuj raport…", true},
          {"Raport z tabelą odczytów", true},
          {"", true},
          {"Otwórz plik historii…", true},
          {"Archiwum pobrań…", true},
          {"Archiwum firmy…", true}}},
        {"Narzędzia", {{"Monitor łącza…", true}}},
        {"Info", {{"O programie", true}}},
    };
    for (int m = 0; m < 5; ++m) {
        const auto& [title, items] = expected[m];
        SCOPED_TRACE(title);
        EXPECT_EQ(menus[m]->text(), QString::fromUtf8(title));
        QMenu* menu = menus[m]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->accessibleName(), QString::fromUtf8(title));
        const auto actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(actions[i]->text(), QString::fromUtf8(items[i].first));
            EXPECT_EQ(actions[i]->isEnabled(), items[i].second);
        }
    }
    EXPECT_EQ(main->Odczyt1->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(main->Zapis1->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(main->Plik1->actions(), (QList<QAction*>{main->Odczyt1, main->Zapis1}));
    EXPECT_EQ(main->Dane1->actions(), (QList<QAction*>{main->Pobierz1, main->Zapisz1}));
    EXPECT_EQ(main->Info1->actions(), QList<QAction*>{main->Oprogramie1});
    EXPECT_EQ(main->Pobierz1->objectName(), QStringLiteral("Pobierz1"));
}

TEST_F(MainLayout, WindowFitsItsVisibleContentsAndFollowsTheProgressPanel) {
    const QSize frame = main->size() - main->centralWidget()->size();
    EXPECT_EQ(main->centralWidget()->size(), QSize(529, 505));
    EXPECT_EQ(main->minimumSize(), main->maximumSize());
    // It starts in the middle of the desktop.
    EXPECT_LE((main->geometry().center() - main->screen()->availableGeometry().center())
                  .manhattanLength(),
              2);

    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    main->Panel_bar->show();
    EXPECT_EQ(main->centralWidget()->size(), QSize(529, 553));
    EXPECT_EQ(main->size(), QSize(529, 553) + frame);
    EXPECT_EQ(main->minimumSize(), main->maximumSize());

    main->Panel_bar->hide();
    EXPECT_EQ(main->size(), QSize(529, 505) + frame);
}

TEST_F(MainLayout, EveryTextFitsAndNoControlOverlapsAnother) {
    EXPECT_EQ(Listed(ClippedTexts(*main)), "");
    EXPECT_EQ(Listed(MisplacedControls(*main)), "");

    // Texts the window shows later fit as well.
    main->TempKorekta->setText(QStringLiteral("-12,6"));
    main->TempMin->setText(QStringLiteral("-128"));
    main->Temp->setText(QStringLiteral("-127.9"));
    main->Udc->setText(QStringLiteral("+12,5V"));
    main->Data->setText(QStringLiteral("2026.12.07"));
    main->czas->setText(QStringLiteral("23:59:59"));
    main->Edit_status->setText(QStringLiteral("POŁĄCZONY"));
    main->Edit_logon->setText(QStringLiteral("ZALOGOWANY"));
    main->TC8Nazwa->setText(QStringLiteral("PRZEDSIĘBIORSTWO HANDLOWE ABC"));
    main->TC8Typ->setText(QStringLiteral("TC-8 PRO"));
    main->Label_Bar->show();
    EXPECT_EQ(Listed(ClippedTexts(*main)), "");
}

TEST_F(MainLayout, HeaderFieldRefusesATypedThirtiethCharacterButShowsLongerProgramTexts) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    TEdit* header = main->TC8Nazwa;
    header->setFocus();
    header->clear();
    QTest::keyClicks(header, QString(29, QLatin1Char('a')));
    EXPECT_EQ(header->text().size(), 29);
    QTest::keyClick(header, Qt::Key_B);
    EXPECT_EQ(header->text(), QString(29, QLatin1Char('a')));

    const QString fromRecorder = QStringLiteral("Zakład Mięsny \"Kowalski\" - chłodnia nr 2");
    ASSERT_EQ(fromRecorder.size(), 40);
    header->setText(fromRecorder);
    EXPECT_EQ(header->text(), fromRecorder);
    header->end(false);
    QTest::keyClick(header, Qt::Key_X);
    EXPECT_EQ(header->text(), fromRecorder);
    QTest::keyClick(header, Qt::Key_Backspace);
    EXPECT_EQ(header->text(), fromRecorder.left(39));
    // Shortened but still over the limit: no character may be added.
    QTest::keyClick(header, Qt::Key_X);
    EXPECT_EQ(header->text(), fromRecorder.left(39));
}

} // namespace
