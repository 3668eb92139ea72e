// The session's side of the firmware update: the restart into the boot loader, the blocks,
// which it acknowledges with a lone "!" rather than a frame, and the end of the transfer.
#include "protocol/TRecorderSession.h"

#include "protocol/Commands.h"

#include <QScopeGuard>

namespace {
constexpr std::uint16_t BlockAcknowledgementTimeout = Cmd::ShortTimeout;
// Pauses the boot loader relies on: after the restart, before the first block, and after the
// last block, before the finish. The last one keeps the report up a moment at the end.
constexpr int BootLoaderStartMs = 2000;
constexpr int BeforeFinishMs = 2000;
constexpr int BeforeClosingMs = 1000;
// Repeats of unacknowledged blocks allowed in one whole transfer, not per block.
constexpr int SharedRepeatAllowance = 2;
constexpr int FinishedProgress = 100;
} // namespace

bool TRecorderSession::UpdateFirmware(const QList<FirmwareBlock>& blocks) {
    EnterLoggedOff();
    SetOperation(TOperation::Firmware);
    const auto ended = qScopeGuard([this] { SetOperation(TOperation::None); });
    host_.Report(TSessionReport::FirmwareStarting);
    emit FirmwareProgress(0);

    SendRequest(Cmd::Restart, Cmd::RestartPayload);
    desk().Sleep(BootLoaderStartMs);
    int repeatsLeft = SharedRepeatAllowance;
    bool acknowledged = true;
    for (const FirmwareBlock& block : blocks) {
        acknowledged = SendFirmwareBlock(block.Payload, repeatsLeft);
        // Also for the block that failed, as after every other block.
        emit FirmwareProgress(block.Progress);
        desk().ProcessMessages();
        if (!acknowledged)
            break;
    }
    if (acknowledged) {
        emit FirmwareProgress(FinishedProgress);
        desk().Sleep(BeforeFinishMs);
        SendRequest(Cmd::FirmwareFinish, Cmd::FirmwareFinishPayload);
        host_.Report(TSessionReport::FirmwareFinished);
    }
    desk().Sleep(BeforeClosingMs);
    return acknowledged;
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
