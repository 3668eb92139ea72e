// The password and firmware dialogs as they open.
#include "LayoutChecks.h"
#include "ScriptedDesktop.h"
#include "firmware/TFboot.h"
#include "operations/TFhaslo_nowe.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DialogLayouts : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    TMain main{desktop};
};

TEST_F(DialogLayouts, PasswordDialogHoldsItsFieldAndButtons) {
    TFhaslo_nowe dialog(main, &main);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Fhaslo_nowe"));
    EXPECT_EQ(dialog.size(), QSize(137, 89));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Nowe haslo :"));
    EXPECT_EQ(dialog.Edit_haslo_nowe->text(), QStringLiteral("0157"));
    EXPECT_EQ(dialog.Edit_haslo_nowe->width(), 33);
    EXPECT_EQ(dialog.Edit_haslo_nowe->MaxTypedLength(), 0);
    EXPECT_GT(dialog.Edit_haslo_nowe->x(), dialog.Label1->geometry().right());
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("Zapisz"));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("Anuluj"));
    EXPECT_GT(dialog.Button1->y(), dialog.Edit_haslo_nowe->geometry().bottom());
    for (QWidget* control : std::initializer_list<QWidget*>{
             dialog.Panel1, dialog.Label1, dialog.Edit_haslo_nowe, dialog.Button1, dialog.Button2})
        EXPECT_EQ(dialog.findChild<QWidget*>(control->objectName()), control);
    EXPECT_EQ(dialog.Button2->accessibleName(), QStringLiteral("Anuluj"));
    EXPECT_EQ(Listed(ClippedTexts(dialog)), "");
    EXPECT_EQ(Listed(MisplacedControls(dialog)), "");

    // A password longer than the field is wide is shown whole when sent.
    dialog.Edit_haslo_nowe->setText(QStringLiteral("12345"));
    EXPECT_EQ(dialog.Edit_haslo_nowe->text(), QStringLiteral("12345"));
}

TEST_F(DialogLayouts, CancelClosesThePasswordDialog) {
    desktop.ModalScripts.push_back([](QDialog& shown) {
        QTest::mouseClick(static_cast<TFhaslo_nowe&>(shown).Button2, Qt::LeftButton);
    });
    TFhaslo_nowe dialog(main, &main);
    EXPECT_EQ(desktop.ShowModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogLayouts, FirmwareDialogStartsWithStartDisabledAndTheGaugeHidden) {
    TFboot dialog(main, &main);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bootloader"));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Aktualizacja frimware"));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("Plik"));
    EXPECT_TRUE(dialog.Button1->isEnabled());
    EXPECT_EQ(dialog.ButtonStart->text(), QStringLiteral("START"));
    EXPECT_FALSE(dialog.ButtonStart->isEnabled());
    EXPECT_TRUE(dialog.LabelNazwaPliku->text().isEmpty());
    EXPECT_TRUE(dialog.BarBoot->isHidden());
    EXPECT_EQ(dialog.BarBoot->Max(), 100);
    EXPECT_EQ(dialog.BarBoot->Position(), 0);
    EXPECT_EQ(dialog.OpenDialogBoot.Filter, QStringLiteral("TC-8 firmware|*.rfr"));
    EXPECT_TRUE(dialog.OpenDialogBoot.InitialDir.isEmpty());
    for (const char* name :
         {"Panel1", "Label1", "Button1", "ButtonStart", "LabelNazwaPliku", "BarBoot"})
        EXPECT_NE(dialog.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(Listed(ClippedTexts(dialog)), "");
    EXPECT_EQ(Listed(MisplacedControls(dialog)), "");
}

} // namespace
