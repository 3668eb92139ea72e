// The main window's side of the firmware update: opening its dialog, reading the file, and
// the dialog's host, which hands the transfer to the session.
#include "ui/TMain.h"

#include "config/Container.h"
#include "firmware/TFboot.h"
#include "protocol/TRecorderSession.h"

void TMain::ButtonFirmwareClick() {
    Session->BeginOperation();
    DisableDeviceControls();
    TFboot dialog(*this, this);
    desk().ShowModal(dialog);
}

std::optional<QByteArray> TMain::ReadFirmwareFile(const QString& path) {
    if (!ReadContainerFile(path, FirmwareFileTag))
        return std::nullopt;
    return FileBuffer;
}

void TMain::StopStatusPoll() {
    Session->StopStatusPoll();
}

void TMain::RestartIntoBootLoader() {
    Session->RestartIntoBootLoader();
}

void TMain::FinishFirmwareUpdate() {
    Session->FinishFirmwareUpdate();
}

bool TMain::SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) {
    return Session->SendFirmwareBlock(payload, repeatsLeft);
}
