#include "ui/TMain.h"

#include "core/Guarded.h"
#include "app/TFInfo.h"
#include "core/ErrorFunnel.h"
#include "core/Errors.h"
#include "serial/ERsCommError.h"
#include "serial/PortEnumeration.h"
#include "serial/TRsComm.h"
#include "ui/Accessibility.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

TMain::TMain(Desktop& desktop, QWidget* parent) : QMainWindow(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("Main"));
    InstallAccessibility();
    CreateControls();

    // First of all: an empty history box and the program-wide error handler.
    trm->clear();
    if (auto* app = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance()))
        app->OnException = [this](const std::exception& error) { ApplicationException(error); };

    RsComm = new TRsComm(this);
    RsComm->setObjectName(QStringLiteral("RsComm"));
    ApplySerialSettings();
    ConnectConfigHandlers();
    SetConfigStartupValues();

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(100);
    connect(Timer, &QTimer::timeout, this, Guarded(this, &TMain::TimerTimer));
    Timer->start();

    ConnectConnectionHandlers();
    ConnectHistoryHandlers();
    ConnectHistoryChartHandlers();
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
}

void TMain::ApplicationException(const std::exception& error) {
    if (dynamic_cast<const EConvertError*>(&error) != nullptr) {
        // A port that could not be opened is told with the reason below the words.
        const auto* openError = dynamic_cast<const ERsOpenError*>(&error);
        desk().Beep();
        desk().ShowMessage(MessageKind::Plain, QStringLiteral("Port COM niedostępny"),
                           openError != nullptr ? PortOpenFailureDetail(*openError) : QString());
        return;
    }
    // History records come unasked, so no wait would notice that the device went away
    // under a running download. Any other serial error leaves the download alone.
    if (dynamic_cast<const ERsCommError*>(&error) != nullptr && RsComm->IsDeviceGone() &&
        HistoryDownloadRunning() && WaitsInProgress == 0)
        HistoryLineLost();
    // Every other error is swallowed: the program goes on without a report.
}

void TMain::SetTickIntervalForTests(int milliseconds) {
    Timer->setInterval(milliseconds);
}

void TMain::Oprogramie1Click() {
    TFInfo about(desk(), this);
    desk().ShowModal(about);
}
