// The main window's side of the firmware update: opening its dialog, and sending the blocks
// to the boot loader, which acknowledges each with a lone "!" rather than a frame.
#include "ui/TMain.h"

#include "config/Container.h"
#include "firmware/TFboot.h"
#include "protocol/Commands.h"

namespace {
constexpr std::uint16_t BlockAcknowledgementTimeout = Cmd::ShortTimeout;
} // namespace

void TMain::ButtonFirmwareClick() {
    BeginOperation();
    DisableDeviceControls();
    TFboot dialog(*this, this);
    desk().ShowModal(dialog);
}

std::optional<QByteArray> TMain::ReadFirmwareFile(const QString& path) {
    if (!ReadContainerFile(path, FirmwareFileTag))
        return std::nullopt;
    return FileBuffer;
}

void TMain::RestartIntoBootLoader() {
    SendRequest(Cmd::Restart, Cmd::RestartPayload);
}

void TMain::FinishFirmwareUpdate() {
    SendRequest(Cmd::FirmwareFinish, Cmd::FirmwareFinishPayload);
}

bool TMain::SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) {
    for (;;) {
        // A "!" that came before this copy was sent (a late one for an earlier copy) must
        // not count for it.
        LastSingleRxByte = '/';
        SendRequest(Cmd::FirmwareBlock, payload);
        if (WaitForBlockAcknowledgement())
            return true;
        if (repeatsLeft == 0)
            break;
        --repeatsLeft;
    }
    desk().Beep();
    desk().ShowMessage(MessageKind::Error,
                       QStringLiteral("Brak odpowiedzi z KVAM, aktualizacja nieudana"));
    desk().ProcessMessages();
    return false;
}

bool TMain::WaitForBlockAcknowledgement() {
    TimeoutCounter = BlockAcknowledgementTimeout;
    for (;;) {
        // Sleeps until something happens; the tick guarantees an event every 100 ms.
        desk().WaitForEvents();
        // The "!" is looked at first: one that came in the pass in which the time ran out
        // still acknowledges the block, which is then not sent again.
        if (LastSingleRxByte == Cmd::FirmwareAck)
            return true;
        if (TimeoutCounter == 0)
            return false;
    }
}
