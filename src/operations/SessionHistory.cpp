// The session's temperature history: the download stream, its progress and stopping it
// early.
#include "protocol/TRecorderSession.h"

#include "operations/HistoryRendering.h"
#include "protocol/Commands.h"

#include <algorithm>

namespace {
const QByteArray HistoryStartPayload("h");
const QByteArray HistoryStopPayload("x");
} // namespace

void TRecorderSession::StartHistoryDownload() {
    BeginOperation();
    DisableDeviceControls();
    State_.HistoryStreaming = true;
    State_.Operation = TOperation::HistoryDownload;
    Publish();
    PendingHistoryLines.clear();
    // What is known of the download is kept before anyone is told it began.
    BeginArchivedDownload();
    emit HistoryStarted();
    SetHistoryProgress(0);
    HistorySilentTicks = 0;
    SendRequest(Cmd::HistoryStart, HistoryStartPayload);
    // The records come unasked after the answer; a failed wait has already reported it and
    // logged off.
    WaitForResponse(Cmd::LongTimeout, Cmd::HistoryStart);
}

void TRecorderSession::RequestHistoryStop() {
    // The stop request goes out with the next record; the download runs until then, and a
    // configuration exchange may end it.
    HistoryStopRequested = true;
    State_.ConfigIcons = true;
    Publish();
}

// The gauge's rules: the position stays within 0 and the maximum, and a maximum below the
// position lowers it.
void TRecorderSession::SetHistoryProgress(int position) {
    HistoryPosition = std::clamp(position, 0, HistoryMaximum);
    emit HistoryProgress(HistoryPosition, HistoryMaximum);
}

void TRecorderSession::HistoryLengthReceived(const QByteArray& payload) {
    if (const std::optional<int> maximum = HistoryGaugeMaximum(payload)) {
        PendingAnnouncedLength = *maximum;
        HistoryMaximum = *maximum;
        SetHistoryProgress(HistoryPosition);
    }
}

void TRecorderSession::HistoryRecordReceived(const QByteArray& payload) {
    const std::optional<QString> line = HistoryLine(payload);
    if (!line)
        return; // a short record is dropped whole
    PendingHistoryLines.append(*line);
    PendingHistoryRecords.append(payload);
    SetHistoryProgress(HistoryPosition + HistoryGaugeStep);
    if (HistoryStopRequested)
        SendRequest(Cmd::HistoryStop, HistoryStopPayload);
}

void TRecorderSession::HistoryEndReceived() {
    PendingHistoryLines.append(QStringLiteral("Koniec historii"));
    EndArchivedDownload(TDownloadEnd::Complete);
    // A late end marker must not hand the device controls to a logged-off window.
    if (LoggedOn)
        EnableDeviceControls();
    SetHistoryProgress(HistoryMaximum);
}

void TRecorderSession::HistoryStopAcknowledged() {
    if (!LoggedOn)
        return; // the logged-off state keeps every history control off
    EndArchivedDownload(TDownloadEnd::Stopped);
    // STOP off and START on, as the device controls come back.
    EnableDeviceControls();
}

void TRecorderSession::HistoryLineLost() {
    if (!HistoryDownloadRunning())
        return; // ended meanwhile
    EndArchivedDownload(TDownloadEnd::LineLost);
    // Said as a failed wait says it, since the records are what the download waits for.
    host_.Report(TSessionReport::NoAnswer);
    EnterLoggedOff();
}

void TRecorderSession::FlushHistoryLines() {
    // In the archive before anyone sees them: what was shown survives the program.
    ArchiveDelivery();
    if (PendingHistoryLines.isEmpty())
        return;
    const QStringList lines = std::exchange(PendingHistoryLines, {});
    emit HistoryLines(lines);
}
