#include "operations/TFhaslo_nowe.h"

#include "core/Guarded.h"
#include "operations/TPasswordHost.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Frame.h"
#include "ui/ControlBuilders.h"
#include "ui/Desktop.h"
#include "ui/TEdit.h"
#include "ui/Texts.h"
#include "ui/WindowFont.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TFhaslo_nowe::TFhaslo_nowe(TPasswordHost& host, QWidget* owner)
    : QDialog(owner, FixedDialogFlags()), host_(host) {
    setObjectName(QStringLiteral("Fhaslo_nowe"));
    setWindowTitle(QStringLiteral("Fhaslo_nowe"));
    setFont(WindowFont());
    setFixedSize(137, 89);

    Panel1 = named(new QFrame(this), QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 137, 89);

    Label1 = addLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("Nowe haslo :"),
                      {12, 19, 70, 15});

    // No length limit and no character filter: whatever the field holds is sent.
    Edit_haslo_nowe = named(new TEdit(Panel1), QStringLiteral("Edit_haslo_nowe"));
    Edit_haslo_nowe->setGeometry(88, 16, 33, 21);
    Edit_haslo_nowe->setText(QStringLiteral("0157"));
    labelField(Label1, Edit_haslo_nowe);

    Button1 =
        addButton(Panel1, QStringLiteral("Button1"), QStringLiteral("Zapisz"), {8, 52, 58, 25});
    Button2 =
        addButton(Panel1, QStringLiteral("Button2"), QStringLiteral("Anuluj"), {71, 52, 58, 25});
    connect(Button1, &QPushButton::clicked, this, Guarded(this, &TFhaslo_nowe::Button1Click));
    connect(Button2, &QPushButton::clicked, this, Guarded(this, &TFhaslo_nowe::Button2Click));
    connect(this, &QDialog::finished, this, Guarded(this, &TFhaslo_nowe::FormClose));
    FormCreate();
}

void TFhaslo_nowe::FormCreate() {
    host_.StopStatusPoll();
}

void TFhaslo_nowe::Button1Click() {
    const QString password = Edit_haslo_nowe->text();
    const QByteArray bytes = ToAnsi(password);
    // One request frame carries the whole password or nothing of it.
    if (bytes.size() > MaxRequestPayload) {
        host_.desk().ShowMessage(MessageKind::Error, Texts::PasswordTooLong);
        return;
    }
    // Without an answer the wait has reported it and logged off; the dialog stays open.
    if (!host_.SendNewPassword(bytes))
        return;
    host_.UsePassword(password);
    host_.desk().ShowMessage(MessageKind::Information, QStringLiteral("Hasło zmienione"));
    host_.EnterLoggedOn();
    close();
}

void TFhaslo_nowe::Button2Click() {
    close();
}

void TFhaslo_nowe::FormClose() {
    // After a failed change the window is logged off, and its device controls stay off.
    if (host_.IsLoggedOn())
        host_.EnableDeviceControls();
}
