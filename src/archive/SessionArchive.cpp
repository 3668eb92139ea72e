// The session's side of the archive: each download begun with what is known of it, its
// records written per delivery before they are shown, and how it ended.
#include "protocol/TRecorderSession.h"

#include "archive/HistoryArchive.h"
#include "core/Guarded.h"

void TRecorderSession::SetArchive(std::unique_ptr<THistoryArchive> archive) {
    Archive_ = std::move(archive);
    ArchivedDownload.reset();
}

void TRecorderSession::BeginArchivedDownload() {
    ArchivedDownload.reset();
    PendingHistoryRecords.clear();
    PendingAnnouncedLength.reset();
    TDownloadStart& start = LastDownloadStart_.emplace();
    start.Started = desk().Now();
    start.Port = PortLabel;
    start.Device = DevicePath;
    start.FirmwareVersion = State_.FirmwareVersion;
    start.Config = Config_;
    // Read or written in this logon, and not edited since.
    start.ConfigFromRecorder = ConfigOnRecorder && *ConfigOnRecorder == Config_;
    if (!Archive_)
        return;
    ArchivedUuid = QUuid::createUuid();
    ArchivedDownload = Archive_->BeginDownload(start, ArchivedUuid);
    if (!ArchivedDownload) {
        ArchiveFailed();
        return;
    }
    const QString aside = Archive_->TakeSetAside();
    if (!aside.isEmpty())
        QMetaObject::invokeMethod(this, Guarded([this, aside] {
                                      host_.ReportArchiveProblem(
                                          THistoryArchive::SetAsideText(aside));
                                  }),
                                  Qt::QueuedConnection);
}

void TRecorderSession::ArchiveDelivery() {
    if (ArchivedDownload && (!PendingHistoryRecords.isEmpty() || PendingAnnouncedLength) &&
        !Archive_->AddRecords(*ArchivedDownload, PendingHistoryRecords, PendingAnnouncedLength)) {
        ArchivedDownload.reset();
        ArchiveFailed();
    }
    PendingHistoryRecords.clear();
    PendingAnnouncedLength.reset();
}

void TRecorderSession::EndArchivedDownload(TDownloadEnd end) {
    if (!ArchivedDownload)
        return;
    ArchiveDelivery();
    if (ArchivedDownload && !Archive_->EndDownload(*ArchivedDownload, end, desk().Now()))
        ArchiveFailed();
    else if (ArchivedDownload)
        emit DownloadArchived();
    ArchivedDownload.reset();
}

void TRecorderSession::ArchiveFailed() {
    const QString text =
        QStringLiteral("Pobieranie nie jest archiwizowane: %1.").arg(Archive_->Problem());
    // A box shown inside a delivery's handling would hold back the records behind it.
    QMetaObject::invokeMethod(this, Guarded([this, text] { host_.ReportArchiveProblem(text); }),
                              Qt::QueuedConnection);
}
