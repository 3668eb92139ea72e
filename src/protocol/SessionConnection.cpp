// The session's connection: opening the port, logging on and off, and the state halves of
// switching the device controls.
#include "protocol/TRecorderSession.h"

#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "serial/TRsComm.h"

void TRecorderSession::Connect(int portNumber, const QString& password) {
    // A device that went away (a pulled cable or adapter) is opened anew: once it is back,
    // "POŁĄCZ" alone connects again. Until then the session is disconnected, so an open
    // that fails leaves it as any failed open does.
    if (RsComm->IsDeviceGone()) {
        RsComm->Close();
        ShowConnection(TConnection::Disconnected);
        EnterLoggedOff();
    }
    if (!RsComm->IsOpen()) {
        RsComm->SetPortNum(portNumber);
        RsComm->Open(); // a port that cannot be opened raises EConvertError
    }
    if (!RsComm->IsOpen())
        return;

    ShowConnection(LoggedOn ? TConnection::LoggedOn : TConnection::Connected);
    RsComm->SetDTR(true);
    RsComm->SetRTS(false);

    // A password from a file may be longer than one request carries; it would fail without
    // a word. Said as a refused password is said.
    const QByteArray bytes = ToAnsi(password);
    if (bytes.size() > MaxRequestPayload) {
        host_.Report(TSessionReport::PasswordTooLong);
        desk().ProcessMessages();
        return;
    }
    // A wait of the session before (the logout's, when "POŁĄCZ" is pressed during
    // "ROZŁĄCZ") ends here rather than closing the port under the new logon.
    BeginNewSession();
    LogonSession = SessionGeneration;
    SendRequest(Cmd::Logon, bytes);
    if (!WaitForResponse(Cmd::ShortTimeout, Cmd::Logon))
        return; // the wait has reported it and logged off
    if (!ResponsePayload.isEmpty() && ResponsePayload.at(0) == 'T') {
        EnterLoggedOn();
    } else {
        host_.Report(TSessionReport::WrongPassword);
        desk().ProcessMessages();
    }
}

void TRecorderSession::Disconnect() {
    ShowConnection(TConnection::Disconnected);
    EnterLoggedOff();
    DisableDeviceControls();

    SendRequest(Cmd::Logout, QByteArrayLiteral("W"));
    if (WaitForResponse(Cmd::ShortTimeout, Cmd::Logout))
        host_.Report(TSessionReport::LoggedOut);
    RsComm->Close();
}

void TRecorderSession::ShowConnection(TConnection connection) {
    Connection_ = connection;
    emit ConnectionShown(connection != TConnection::Disconnected);
}

void TRecorderSession::EnterLoggedOn() {
    PollTickCounter = 0;
    LoggedOn = true;
    Connection_ = TConnection::LoggedOn;
    emit LoggedOnEntered();
    EnableDeviceControls();
}

void TRecorderSession::EnterLoggedOff() {
    BeginNewSession();
    PollEnabled = false;
    LoggedOn = false;
    if (Connection_ == TConnection::LoggedOn)
        Connection_ = TConnection::Connected;
    emit LoggedOffEntered();
    DisableDeviceControls();
    SetHistoryProgress(0);
}

void TRecorderSession::EnableDeviceControls() {
    PollEnabled = true;
    HistoryStopRequested = false;
    HistoryStreaming = false;
    SetHistoryProgress(0);
    emit DeviceControlsEnabled();
}

void TRecorderSession::DisableDeviceControls() {
    PollEnabled = false;
    HistoryStopRequested = false;
    HistoryStreaming = false;
    emit DeviceControlsDisabled();
}
