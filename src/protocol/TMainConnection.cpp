// The main window's connection area: opening the port, logging on and off, and the
// switching of the device-dependent controls.
#include "ui/TMain.h"

#include "app/Guarded.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "serial/TRsComm.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
const QString DefaultPassword = QStringLiteral("0157");
constexpr int PasswordLength = 4;

void setState(TEdit* field, const QString& text, const QColor& background) {
    field->setText(text);
    field->SetColor(background);
}
} // namespace

void TMain::ApplySerialSettings() {
    RsComm->SetPortNum(1);
    RsComm->SetBaudrate(br4800);
    RsComm->SetParity(paNone);
    RsComm->SetDatabits(db8);
    RsComm->SetStopbits(sb1);
    RsComm->OnRxChar = [this](TRsCustomComm& sender, int count) {
        RunGuarded([&] { RsCommRxChar(sender, count); });
    };
}

void TMain::ConnectConnectionHandlers() {
    connect(Button_polacz, &QPushButton::clicked, this, Guarded(this, &TMain::Button_polaczClick));
    connect(Button_rozlacz, &QPushButton::clicked, this,
            Guarded(this, &TMain::Button_rozlaczClick));
    Edit_haslo->OnKeyPress = [this](QChar& key) { Edit_hasloKeyPress(key); };
    Edit_haslo->OnExit = [this] { Edit_hasloExit(); };
}

void TMain::Button_polaczClick() {
    // A device that went away (a pulled cable or adapter) is opened anew: once it is back,
    // "POŁĄCZ" alone connects again. Until then the window is disconnected, so an open that
    // fails leaves it as any failed open does.
    if (RsComm->IsDeviceGone()) {
        RsComm->Close();
        ShowDisconnected();
        EnterLoggedOff();
    }
    if (!RsComm->IsOpen()) {
        RsComm->SetPortNum(Combo_Port->currentIndex() + 1);
        RsComm->Open(); // a port that cannot be opened raises EConvertError
    }
    if (!RsComm->IsOpen())
        return;

    setState(Edit_status, QStringLiteral("POŁĄCZONY"), Colors::Lime);
    Combo_Port->setEnabled(false);
    Button_rozlacz->setEnabled(true);
    RsComm->SetDTR(true);
    RsComm->SetRTS(false);

    SendRequest(Cmd::Logon, ToAnsi(Edit_haslo->text()));
    if (!WaitForResponse(Cmd::ShortTimeout, Cmd::Logon))
        return; // the wait has reported it and logged off
    if (!ResponsePayload.isEmpty() && ResponsePayload.at(0) == 'T') {
        EnterLoggedOn();
    } else {
        desk().Beep();
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błędne hasło"));
        desk().ProcessMessages();
    }
}

void TMain::ShowDisconnected() {
    setState(Edit_status, QStringLiteral("ROZŁĄCZONY"), Colors::Red);
    Combo_Port->setEnabled(true);
    Button_rozlacz->setEnabled(false);
}

void TMain::Button_rozlaczClick() {
    ShowDisconnected();
    EnterLoggedOff();
    DisableDeviceControls();

    SendRequest(Cmd::Logout, QByteArrayLiteral("W"));
    if (WaitForResponse(Cmd::ShortTimeout, Cmd::Logout)) {
        desk().Beep();
        desk().ShowMessage(MessageKind::Information,
                           QStringLiteral("Wylogowano z Rejestratora TC-8"));
    }
    RsComm->Close();
}

void TMain::Edit_hasloKeyPress(QChar& key) {
    const char16_t c = key.unicode();
    const bool allowed = c == u'\r' || c == u'\b' || (c >= u'0' && c <= u'9');
    if (!allowed)
        key = QChar(0);
    // Enter presses "POŁĄCZ". The focus goes to the button first, as with a click, so the
    // field's exit rule has checked the password before it is sent.
    if (c == u'\r' && Button_polacz->isEnabled()) {
        Button_polacz->setFocus(Qt::OtherFocusReason);
        Button_polacz->animateClick();
    }
}

void TMain::Edit_hasloExit() {
    if (Edit_haslo->text().size() < PasswordLength)
        Edit_haslo->setText(DefaultPassword);
}

void TMain::EnterLoggedOn() {
    PollTickCounter = 0;
    LoggedOn = true;
    setState(Edit_logon, QStringLiteral("ZALOGOWANY"), Colors::Lime);
    Edit_haslo->setEnabled(false);
    EnableDeviceControls();
}

void TMain::EnterLoggedOff() {
    PollEnabled = false;
    setState(Edit_logon, QStringLiteral("WYLOGOWANY"), Colors::Red);
    LoggedOn = false;
    DisableDeviceControls();
    TextWersja->setText(QStringLiteral("TC-8 v ..."));
    QPalette palette = TextWersja->palette();
    palette.setColor(QPalette::WindowText, Colors::Gray);
    TextWersja->setPalette(palette);
    TempBar->SetPosition(0);
}

void TMain::EnableDeviceControls() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{Button_zmiana_hasla, ButtonRestart, Icon_get, Icon_put,
                                         ButtonCzas, ButtonPobierz, ButtonKasuj})
        control->setEnabled(true);
    Pobierz1->setEnabled(true);
    Zapisz1->setEnabled(true);
    ButtonSTOP->setEnabled(false);
    Button_polacz->setEnabled(false);
    TempBar->SetPosition(0);
    PollEnabled = true;
    HistoryStopRequested = false;
}

void TMain::DisableDeviceControls() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{Button_zmiana_hasla, ButtonRestart, Icon_get, Icon_put,
                                         ButtonCzas, ButtonPobierz, ButtonSTOP, ButtonKasuj})
        control->setEnabled(false);
    Pobierz1->setEnabled(false);
    Zapisz1->setEnabled(false);
    Button_polacz->setEnabled(true);
    Edit_haslo->setEnabled(true);
    Panel_bar->hide();
    for (TEdit* field : {Temp, Temp2, Udc}) {
        field->clear();
        field->SetColor(Colors::BtnFace());
    }
    PollEnabled = false;
    HistoryStopRequested = false;
}
