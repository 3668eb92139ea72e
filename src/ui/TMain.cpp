#include "ui/TMain.h"

#include "app/TFInfo.h"
#include "archive/CompanyLink.h"
#include "core/ErrorFunnel.h"
#include "core/Errors.h"
#include "core/Guarded.h"
#include "operations/StatusRendering.h"
#include "protocol/TRecorderSession.h"
#include "serial/ERsCommError.h"
#include "serial/PortEnumeration.h"
#include "ui/Accessibility.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

TMain::TMain(Desktop& desktop, QWidget* parent) : QMainWindow(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("Main"));
    InstallAccessibility();
    CreateControls();

    // First of all: an empty history box and the program-wide error handler.
    trm->clear();
    if (auto* app = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance()))
        app->OnException = [this](const std::exception& error) { ApplicationException(error); };

    Session = new TRecorderSession(desktop_, *this, this);
    Session->SetPortResolver([this](const QString& name) { return PortPath(name); });
    ConnectSessionSignals();
    ConnectConfigHandlers();
    SetConfigStartupValues();

    ConnectConnectionHandlers();
    ConnectHistoryHandlers();
    ConnectHistoryChartHandlers();
    ConnectArchiveHandlers();
    ConnectReportHandlers();
    ConnectMonitorHandlers();
    ConnectCommandHandlers();
    connect(Oprogramie1, &QAction::triggered, this, Guarded(this, &TMain::Oprogramie1Click));
    connect(ButtonFirmware, &QPushButton::clicked, this,
            Guarded(this, &TMain::ButtonFirmwareClick));

    // Live status fields start empty, on the button face.
    for (TEdit* field : {Temp, Temp2, Udc}) {
        field->clear();
        field->SetColor(Colors::BtnFace());
    }
    FitToContents();
}

TMain::~TMain() {
    if (auto* app = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance()))
        app->OnException = nullptr;
    // The session closes its port while the window it reports to is still whole.
    delete Session;
}

// What the session reports changes the window at once, on this thread.
void TMain::ConnectSessionSignals() {
    using S = TRecorderSession;
    connect(Session, &S::StateChanged, this, &TMain::ShowSessionState);
    connect(Session, &S::StatusCleared, this, &TMain::ClearStatus);
    connect(Session, &S::StatusReceived, this, &TMain::StatusReceived);
    connect(Session, &S::ConfigFieldReceived, this, &TMain::ConfigFieldReceived);
    connect(Session, &S::ConfigFieldWritten, this, &TMain::MarkInStep);
    connect(Session, &S::ConfigProgress, this, &TMain::ShowConfigProgress);
    connect(Session, &S::HistoryStarted, this, &TMain::ShowHistoryStarted);
    connect(Session, &S::HistoryLines, this, &TMain::AppendHistoryLines);
    connect(Session, &S::HistoryProgress, this, &TMain::ShowHistoryProgress);
}

void TMain::Report(TSessionReport report) {
    const TSessionReportText said = SessionReportText(report);
    if (said.Beep)
        desk().Beep();
    const MessageKind kind = said.Kind == TReportKind::Error     ? MessageKind::Error
                             : said.Kind == TReportKind::Warning ? MessageKind::Warning
                                                                 : MessageKind::Information;
    desk().ShowMessage(kind, said.Text);
}

void TMain::ApplicationException(const std::exception& error) {
    if (dynamic_cast<const EConvertError*>(&error) != nullptr) {
        // A port that could not be opened is told with the reason below the words.
        const auto* openError = dynamic_cast<const ERsOpenError*>(&error);
        desk().Beep();
        desk().ShowMessage(MessageKind::Plain, QStringLiteral("Port COM niedostępny"),
                           openError != nullptr ? Ports.OpenFailureDetail(*openError) : QString());
        return;
    }
    // Every other error is the session's to judge; the program goes on without a report.
    Session->HandleError(error);
}

void TMain::ReportArchiveProblem(const QString& text) {
    desk().ShowMessage(MessageKind::Warning, text);
}

void TMain::Oprogramie1Click() {
    TFInfo about(desk(), this);
    desk().ShowModal(about);
}
