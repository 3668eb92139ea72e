// The main window's temperature history: the download stream into the text box "trm",
// its progress gauge, stopping it early, and saving the text box to a file.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "config/WholeFile.h"
#include "operations/HistoryFile.h"
#include "operations/HistoryRendering.h"
#include "protocol/Commands.h"
#include "ui/RepaintThrottle.h"
#include "ui/TGauge.h"
#include "ui/Texts.h"

#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {
const QByteArray HistoryStartPayload("h");
const QByteArray HistoryStopPayload("x");

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
    BeginOperation();
    PendingHistoryLines.clear();
    trm->clear();
    DisableDeviceControls();
    ButtonSTOP->setEnabled(true);
    TempBar->SetPosition(0);
    HistorySilentTicks = 0;
    SendRequest(Cmd::HistoryStart, HistoryStartPayload);
    // The records come unasked after the answer; a failed wait has already reported it and
    // logged off.
    WaitForResponse(Cmd::LongTimeout, Cmd::HistoryStart);
}

bool TMain::HistoryDownloadRunning() const {
    return LoggedOn && ButtonSTOP->isEnabled();
}

void TMain::HistoryLineLost() {
    if (!HistoryDownloadRunning())
        return; // ended meanwhile
    // Said as a failed wait says it, since the records are what the download waits for.
    desk().Beep();
    desk().ShowMessage(MessageKind::Error, Texts::NoAnswer);
    EnterLoggedOff();
}

void TMain::ButtonSTOPClick() {
    // The stop request goes out with the next record; STOP stays enabled until then.
    HistoryStopRequested = true;
    SetConfigIconsEnabled(true);
}

void TMain::HistoryLengthReceived(const QByteArray& payload) {
    if (const std::optional<int> maximum = HistoryGaugeMaximum(payload))
        TempBar->SetMax(*maximum);
}

void TMain::HistoryRecordReceived(const QByteArray& payload) {
    const std::optional<QString> line = HistoryLine(payload);
    if (!line)
        return; // a short record is dropped whole
    AppendHistoryLine(*line);
    TempBar->SetPosition(TempBar->Position() + HistoryGaugeStep);
    if (HistoryStopRequested)
        SendRequest(Cmd::HistoryStop, HistoryStopPayload);
}

void TMain::HistoryEndReceived() {
    AppendHistoryLine(QStringLiteral("Koniec historii"));
    // A late end marker must not hand the device controls to a logged-off window.
    if (LoggedOn)
        EnableDeviceControls();
    TempBar->SetPosition(TempBar->Max());
}

void TMain::HistoryStopAcknowledged() {
    if (!LoggedOn)
        return; // the logged-off state keeps every history button disabled
    ButtonSTOP->setEnabled(false);
    ButtonPobierz->setEnabled(true);
    EnableDeviceControls();
}

void TMain::AppendHistoryLine(const QString& line) {
    // The line and the gauge's step that follows it are painted together.
    HistoryRepaint->BeforeChange();
    PendingHistoryLines.append(line);
}

void TMain::FlushHistoryLines() {
    if (PendingHistoryLines.isEmpty())
        return;
    // Appends the lines as blocks at the end and, when the view stood at the bottom, keeps
    // it there: the cost does not grow with the number of lines already in the box.
    AppendingHistoryLines = true;
    trm->appendPlainText(PendingHistoryLines.join(u'\n'));
    AppendingHistoryLines = false;
    HistoryEndsWithDownloadedLine = true;
    PendingHistoryLines.clear();
}

QString TMain::HistoryText() {
    FlushHistoryLines();
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
