// The session's connection: opening the port, logging on and off, switching the device
// controls, and the state a front end shows.
#include "protocol/TRecorderSession.h"

#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "serial/PortNames.h"
#include "serial/TRsComm.h"

#include <QFileInfo>

void TRecorderSession::Publish() {
    State_.Connection = !PortShown ? TConnection::Disconnected
                        : LoggedOn ? TConnection::LoggedOn
                                   : TConnection::Connected;
    if (State_ == Published_)
        return;
    Published_ = State_;
    emit StateChanged();
}

void TRecorderSession::SetOperation(TOperation operation) {
    State_.Operation = operation;
    Publish();
}

void TRecorderSession::Connect(int portNumber, const QString& password) {
    if (OpenPort(portNumber))
        LogOn(password);
}

bool TRecorderSession::OpenPort(int portNumber, const QString& label) {
    // A device that went away (a pulled cable or adapter) is opened anew: once it is back,
    // "POŁĄCZ" alone connects again. Until then the session is disconnected, so an open
    // that fails leaves it as any failed open does.
    if (RsComm->IsDeviceGone()) {
        RsComm->Close();
        ShowConnection(false);
        EnterLoggedOff();
    }
    if (!RsComm->IsOpen()) {
        RsComm->SetPortNum(portNumber);
        RsComm->Open(); // a port that cannot be opened raises EConvertError
    }
    if (!RsComm->IsOpen())
        return false;

    ShowConnection(true);
    RsComm->SetDTR(true);
    RsComm->SetRTS(false);
    // What the archive says a download came through.
    const QString name = QStringLiteral("COM%1").arg(portNumber);
    PortLabel = label.isEmpty() ? name : label;
    const QFileInfo device(PortResolver ? PortResolver(name)
                                        : ResolvePortPath(name, PortsFolder()));
    DevicePath =
        device.canonicalFilePath().isEmpty() ? device.filePath() : device.canonicalFilePath();
    return true;
}

void TRecorderSession::LogOn(const QString& password) {
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
    ShowConnection(false);
    EnterLoggedOff();
    DisableDeviceControls();

    SendRequest(Cmd::Logout, QByteArrayLiteral("W"));
    if (WaitForResponse(Cmd::ShortTimeout, Cmd::Logout))
        host_.Report(TSessionReport::LoggedOut);
    RsComm->Close();
}

// The port as a person sees it: open, or closed (also from the moment "ROZŁĄCZ" begins).
void TRecorderSession::ShowConnection(bool open) {
    PortShown = open;
    Publish();
}

void TRecorderSession::EnterLoggedOn() {
    PollTickCounter = 0;
    LoggedOn = true;
    State_.PasswordEditable = false;
    Publish();
    EnableDeviceControls();
}

void TRecorderSession::EnterLoggedOff() {
    BeginNewSession();
    ConfigOnRecorder.reset();
    PollEnabled = false;
    LoggedOn = false;
    State_.FirmwareVersion.clear();
    DisableDeviceControls();
    SetHistoryProgress(0);
}

// What both switches of the device controls do alike: the icons go with the controls, and a
// running download ends as the operation that switches them dictates.
void TRecorderSession::SwitchDeviceControls(bool on) {
    // Whatever else ends a download (ROZŁĄCZ, an exchange after STOP) stops it.
    EndArchivedDownload(TDownloadEnd::Stopped);
    State_.DeviceControls = on;
    State_.ConfigIcons = on;
    State_.HistoryStreaming = false;
    if (State_.Operation == TOperation::HistoryDownload)
        State_.Operation = TOperation::None;
    PollEnabled = on;
    HistoryStopRequested = false;
}

void TRecorderSession::EnableDeviceControls() {
    SwitchDeviceControls(true);
    Publish();
    SetHistoryProgress(0);
}

void TRecorderSession::DisableDeviceControls() {
    SwitchDeviceControls(false);
    State_.PasswordEditable = true;
    State_.ConfigProgress = false;
    Publish();
    emit StatusCleared();
}
