// The main window's side of the archive of downloads: the archive window, a download chosen
// there put into the history box, and the company archive each download is sent to.
#include "ui/TMain.h"

#include "archive/CompanyArchive.h"
#include "archive/CompanyLink.h"
#include "archive/HistoryArchive.h"
#include "archive/TArchiveWindow.h"
#include "archive/TCompanyArchiveDialog.h"
#include "core/Guarded.h"
#include "protocol/TRecorderSession.h"

#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>

void TMain::ConnectArchiveHandlers() {
    connect(ArchiwumPobran1, &QAction::triggered, this,
            Guarded(this, &TMain::ArchiwumPobran1Click));
    connect(ArchiwumFirmy1, &QAction::triggered, this, Guarded(this, &TMain::ArchiwumFirmy1Click));
    // Sent when it has ended, by the link's own thread: the next download never waits.
    connect(Session, &TRecorderSession::DownloadArchived, this, [this] {
        if (CompanyLink)
            CompanyLink->Push();
    });
    UseCompanyArchive(CompanyTargetSetting(ArchiveFolder()));
}

QString TMain::ArchivePath() const {
    return Session->Archive() != nullptr ? Session->Archive()->Path()
                                         : THistoryArchive::DefaultPath();
}

QString TMain::ArchiveFolder() const {
    return QFileInfo(ArchivePath()).absolutePath();
}

void TMain::UseCompanyArchive(const QString& target) {
    if (CompanyLink && CompanyLink->Target() == target)
        return;
    if (ArchiveWindow != nullptr)
        ArchiveWindow->SetCompanyLink(nullptr);
    CompanyLink.reset();
    if (target.isEmpty())
        return;
    CompanyLink = std::make_unique<TCompanyLink>(target, ArchivePath());
    CompanyLink->SetClock([this] { return desk().Now(); });
    if (ArchiveWindow != nullptr)
        ArchiveWindow->SetCompanyLink(CompanyLink.get());
    // What waited while there was no connection, or no archive set up, goes now.
    CompanyLink->Push();
}

void TMain::ArchiwumFirmy1Click() {
    TCompanyArchiveDialog dialog(desk(), CompanyLink ? CompanyLink->Target() : QString(), this);
    if (desk().ShowModal(dialog) != QDialog::Accepted)
        return;
    if (!SaveCompanyTargetSetting(ArchiveFolder(), dialog.Target())) {
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Nie zapisano ustawienia"),
                           ArchiveFolder());
        return;
    }
    UseCompanyArchive(dialog.Target());
}

void TMain::ArchiwumPobran1Click() {
    if (ArchiveWindow == nullptr) {
        // The window reads the file the session writes, through a connection of its own.
        ArchiveWindow = new TArchiveWindow(desk(), ArchivePath(), this);
        ArchiveWindow->SetRunningDownload([this] { return Session->ArchivedDownloadUuid(); });
        ArchiveWindow->SetCompanyLink(CompanyLink.get());
        connect(ArchiveWindow, &TArchiveWindow::HistoryChosen, this,
                Guarded(this, &TMain::OpenArchivedHistory));
    }
    // Downloads made since it was last shown are listed too.
    ArchiveWindow->Reload();
    ArchiveWindow->show();
    ArchiveWindow->raise();
    ArchiveWindow->activateWindow();
}

void TMain::OpenArchivedHistory(const QStringList& lines, const TDownloadStart& start) {
    // The records still coming would follow the archived lines.
    if (Session->HistoryDownloadRunning()) {
        desk().ShowMessage(MessageKind::Error,
                           QStringLiteral("Najpierw zakończ pobieranie historii (STOP)"));
        return;
    }
    trm->setPlainText(lines.join(u'\n'));
    // Saved to a file, the lines are saved as a download's are.
    HistoryEndsWithDownloadedLine = true;
    BoxDownload = start;
    desk().ShowMessage(MessageKind::Information, QStringLiteral("Odczytano z archiwum"));
}
