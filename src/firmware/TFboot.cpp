#include "firmware/TFboot.h"

#include "core/Guarded.h"
#include "firmware/TFirmwareHost.h"
#include "ui/Accessibility.h"
#include "ui/ControlBuilders.h"
#include "ui/TGauge.h"
#include "ui/WindowFont.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

TFboot::TFboot(TFirmwareHost& host, QWidget* owner)
    : QDialog(owner, FixedDialogFlags()), host_(host) {
    setObjectName(QStringLiteral("Fboot"));
    InstallAccessibility();
    setWindowTitle(QStringLiteral("Bootloader"));
    setFont(WindowFont());
    setFixedSize(345, 129);

    Panel1 = named(new QFrame(this), QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 345, 129);

    Label1 = named(new QLabel(QStringLiteral("Aktualizacja frimware"), Panel1),
                   QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, 200, 15);

    Button1 =
        addButton(Panel1, QStringLiteral("Button1"), QStringLiteral("Plik"), {16, 36, 75, 25});
    ButtonStart = addButton(Panel1, QStringLiteral("ButtonStart"), QStringLiteral("START"),
                            {100, 36, 75, 25});
    ButtonStart->setEnabled(false);

    LabelNazwaPliku = named(new QLabel(Panel1), QStringLiteral("LabelNazwaPliku"));
    LabelNazwaPliku->setGeometry(16, 70, 313, 15);

    BarBoot = named(new TGauge(Panel1), QStringLiteral("BarBoot"));
    BarBoot->setAccessibleName(QStringLiteral("Postęp aktualizacji"));
    BarBoot->setGeometry(16, 94, 313, 21);
    BarBoot->SetMax(100);
    BarBoot->SetPosition(0);
    BarBoot->hide();

    OpenDialogBoot.Filter = QStringLiteral("TC-8 firmware|*.rfr");

    connect(Button1, &QPushButton::clicked, this, Guarded(this, &TFboot::Button1Click));
    connect(ButtonStart, &QPushButton::clicked, this, Guarded(this, &TFboot::ButtonStartClick));
    FormCreate();
}

void TFboot::FormCreate() {
    LabelNazwaPliku->clear();
    host_.StopStatusPoll();
}

void TFboot::Button1Click() {
    if (!host_.desk().ExecuteOpenDialog(OpenDialogBoot))
        return;
    LabelNazwaPliku->setText(OpenDialogBoot.FileName);
    // Only a file that passes every check may be sent; a file that cannot even be opened
    // (the error is swallowed by the program) leaves nothing to send either.
    blocks_.clear();
    ButtonStart->setEnabled(false);
    const std::optional<QByteArray> image = host_.ReadFirmwareFile(OpenDialogBoot.FileName);
    if (!image)
        return;
    blocks_ = FirmwareBlocks(*image);
    ButtonStart->setEnabled(!blocks_.isEmpty());
}

void TFboot::ButtonStartClick() {
    if (blocks_.isEmpty() || transferRunning_)
        return;
    transferRunning_ = true;
    {
        // Should the transfer end in an error, the dialog can at least be closed by hand.
        const auto ended = qScopeGuard([this] { transferRunning_ = false; });
        Transfer();
    }
    close();
}

void TFboot::Transfer() {
    // The file stays as chosen until the dialog closes.
    Button1->setEnabled(false);
    ButtonStart->setEnabled(false);
    host_.UpdateFirmware(blocks_, [this](int percent) {
        BarBoot->show();
        BarBoot->SetPosition(percent);
    });
}

void TFboot::FormClose() {
    host_.DisableDeviceControls();
    host_.EnterLoggedOff();
}

void TFboot::done(int result) {
    // A close request during the transfer is dropped: the transfer closes the dialog
    // itself when it has ended.
    if (transferRunning_)
        return;
    FormClose();
    QDialog::done(result);
}
