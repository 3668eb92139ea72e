// The main window's side of the firmware update: opening its dialog, reading the file, and
// the dialog's host, which hands the transfer to the session.
#include "ui/TMain.h"

#include "config/Container.h"
#include "firmware/TFboot.h"
#include "protocol/TRecorderSession.h"

#include <QScopeGuard>

void TMain::ButtonFirmwareClick() {
    Session->BeginOperation();
    DisableDeviceControls();
    TFboot dialog(*this, this);
    desk().ShowModal(dialog);
}

std::optional<QByteArray> TMain::ReadFirmwareFile(const QString& path) {
    if (!ReadContainerFile(path, FirmwareFileTag))
        return std::nullopt;
    return Session->FileBuffer();
}

void TMain::StopStatusPoll() {
    Session->StopStatusPoll();
}

bool TMain::UpdateFirmware(const QList<FirmwareBlock>& blocks,
                           const std::function<void(int)>& progress) {
    const QMetaObject::Connection shown =
        connect(Session, &TRecorderSession::FirmwareProgress, this, progress);
    const auto ended = qScopeGuard([shown] { disconnect(shown); });
    return Session->UpdateFirmware(blocks);
}
