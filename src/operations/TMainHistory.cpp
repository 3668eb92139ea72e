// The main window's temperature history: the download stream into the text box "trm",
// its progress gauge, stopping it early, and saving the text box to a file.
#include "ui/TMain.h"

#include "config/WholeFile.h"
#include "core/Guarded.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryRendering.h"
#include "protocol/TRecorderSession.h"
#include "ui/RepaintThrottle.h"
#include "ui/TGauge.h"
#include "ui/Texts.h"

#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {
// The text box's content with every line break as "\n" and everything else as typed
// (toPlainText would also turn non-breaking spaces into plain ones).
QString TypedText(const QPlainTextEdit& box) {
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}
} // namespace

void TMain::ConnectHistoryHandlers() {
    connect(ButtonPobierz, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonPobierzClick));
    connect(ButtonSTOP, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonSTOPClick));
    connect(ButtonZapisz, &QPushButton::clicked, this, Guarded(this, &TMain::ButtonZapiszClick));
    // A download delivers far more lines a second than a screen can show; painting the box
    // and its gauge (which QProgressBar repaints at once, with the group behind it) for each
    // would make the window, not the line, what limits it.
    HistoryRepaint = new RepaintThrottle(GroupBox2, std::chrono::milliseconds(40));
    // Any change but the download's own appending leaves the end to what the user typed.
    connect(trm, &QPlainTextEdit::textChanged, this, [this] {
        if (!AppendingHistoryLines)
            HistoryEndsWithDownloadedLine = false;
    });
}

void TMain::ButtonPobierzClick() {
    Session->StartHistoryDownload();
}

void TMain::ShowHistoryStarted() {
    trm->clear();
    BoxDownload = Session->LastDownloadStart();
}

void TMain::ButtonSTOPClick() {
    Session->RequestHistoryStop();
}

void TMain::ShowHistoryProgress(int position, int maximum) {
    // The line and the gauge's step that follows it are painted together.
    HistoryRepaint->BeforeChange();
    TempBar->SetMax(maximum);
    TempBar->SetPosition(position);
}

// The lines of one delivery are appended together: one append of many lines costs little
// more than one of a single line. The view, when it stood at the bottom, stays there; the
// cost does not grow with the number of lines already in the box.
void TMain::AppendHistoryLines(const QStringList& lines) {
    HistoryRepaint->BeforeChange();
    AppendingHistoryLines = true;
    trm->appendPlainText(lines.join(u'\n'));
    AppendingHistoryLines = false;
    HistoryEndsWithDownloadedLine = true;
}

QString TMain::HistoryText() {
    Session->FlushHistoryLines();
    return TypedText(*trm);
}

void TMain::ButtonZapiszClick() {
    SaveDialog.DefaultExt = QStringLiteral("txt");
    SaveDialog.InitialDir = QDir::homePath();
    if (!desk().ExecuteSaveDialog(SaveDialog)) {
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Nie zapisano"));
        return;
    }
    const QString text = HistoryText(); // takes the lines still pending first
    const HistoryTextEnd end =
        HistoryEndsWithDownloadedLine ? HistoryTextEnd::LineOfDownload : HistoryTextEnd::Typed;
    if (WriteWholeFile(SaveDialog.FileName, HistoryFileBytes(text, end)))
        desk().ShowMessage(MessageKind::Information, QStringLiteral("Zapisano plik historii"));
    else
        desk().ShowMessage(MessageKind::Error, QStringLiteral("Błąd zapisu"));
}
