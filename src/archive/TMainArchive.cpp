// The main window's side of the archive of downloads: the archive window, and a download
// chosen there put into the history box.
#include "ui/TMain.h"

#include "archive/HistoryArchive.h"
#include "archive/TArchiveWindow.h"
#include "core/Guarded.h"
#include "protocol/TRecorderSession.h"

#include <QAction>
#include <QPlainTextEdit>

void TMain::ConnectArchiveHandlers() {
    connect(ArchiwumPobran1, &QAction::triggered, this,
            Guarded(this, &TMain::ArchiwumPobran1Click));
}

void TMain::ArchiwumPobran1Click() {
    if (ArchiveWindow == nullptr) {
        // The window reads the file the session writes, through a connection of its own.
        const QString path = Session->Archive() != nullptr ? Session->Archive()->Path()
                                                           : THistoryArchive::DefaultPath();
        ArchiveWindow = new TArchiveWindow(desk(), path, this);
        ArchiveWindow->SetRunningDownload([this] { return Session->ArchivedDownloadId(); });
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
