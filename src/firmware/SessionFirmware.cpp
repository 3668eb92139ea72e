// The session's side of the firmware update: the restart into the boot loader, the blocks,
// which it acknowledges with a lone "!" rather than a frame, and the end of the transfer.
#include "protocol/TRecorderSession.h"

#include "protocol/Commands.h"

namespace {
constexpr std::uint16_t BlockAcknowledgementTimeout = Cmd::ShortTimeout;
} // namespace

void TRecorderSession::RestartIntoBootLoader() {
    SendRequest(Cmd::Restart, Cmd::RestartPayload);
}

void TRecorderSession::FinishFirmwareUpdate() {
    SendRequest(Cmd::FirmwareFinish, Cmd::FirmwareFinishPayload);
}

bool TRecorderSession::SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) {
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
    host_.Report(TSessionReport::FirmwareNotAcknowledged);
    desk().ProcessMessages();
    return false;
}

bool TRecorderSession::WaitForBlockAcknowledgement() {
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
