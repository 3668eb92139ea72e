#include "cli/CliSession.h"

#include "cli/CliTerminal.h"
#include "config/ConfigRecord.h"
#include "core/Errors.h"
#include "protocol/TRecorderSession.h"
#include "serial/ERsCommError.h"
#include "serial/TRsComm.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSocketNotifier>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The self-pipe of Ctrl+C and SIGTERM: the handler only writes a byte; the event loop reads it.
int InterruptPipe[2] = {-1, -1};
// While set, the handler itself says no at once: the transfer may sit in a blocking pause.
volatile sig_atomic_t RefuseInterrupts = 0;
const QByteArray RefusedText =
    QStringLiteral("Aktualizacji nie można przerwać: poczekaj na jej koniec\n").toUtf8();

void SignalArrived(int) {
    if (RefuseInterrupts) {
        [[maybe_unused]] const ssize_t said =
            write(STDERR_FILENO, RefusedText.constData(), static_cast<size_t>(RefusedText.size()));
        return;
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(InterruptPipe[1], &byte, 1);
}

void InstallSignalHandlers() {
    if (InterruptPipe[0] >= 0)
        return;
    if (pipe2(InterruptPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = SignalArrived;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// How long the acknowledgement of a logout or of the last requests may take to go out.
constexpr int DrainLimitMs = 3000;

} // namespace

int TCliSession::InterruptFd() {
    return InterruptPipe[0];
}

TCliSession::TCliSession(const CliOptions& options, TCliTerminal& terminal)
    : options_(options), terminal_(terminal) {
    InstallSignalHandlers();
    if (InterruptPipe[0] >= 0) {
        interruptNotifier_ = new QSocketNotifier(InterruptPipe[0], QSocketNotifier::Read, this);
        connect(interruptNotifier_, &QSocketNotifier::activated, this,
                &TCliSession::InterruptArrived);
    }
    session_ = std::make_unique<TRecorderSession>(*this, *this);
    // A number is what the port table says it is; a path is itself.
    const QString port = options_.Port;
    const bool byPath = options_.PortNumber() == 0;
    session_->SetPortResolver([this, port, byPath](const QString& name) {
        return byPath ? port : ports_.PortPath(name);
    });
    connect(session_.get(), &TRecorderSession::StatusReceived, this, &TCliSession::StatusArrived);
    connect(session_.get(), &TRecorderSession::ConfigProgress, this,
            [this](const QString& caption, int position, int maximum) {
                terminal_.Progress(caption, position, maximum);
            });
    connect(session_.get(), &TRecorderSession::HistoryProgress, this,
            [this](int position, int maximum) {
                if (session_->HistoryDownloadRunning())
                    terminal_.Progress(QStringLiteral("Historia temperatury"), position, maximum);
            });
    connect(session_.get(), &TRecorderSession::FirmwareProgress, this, [this](int percent) {
        terminal_.Progress(QStringLiteral("Aktualizacja oprogramowania"), percent, 100);
    });
}

TCliSession::~TCliSession() {
    terminal_.EndProgress();
    // The port closes with the session; Ctrl+C is the system's again.
    session_.reset();
    if (InterruptPipe[0] >= 0) {
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
    }
}

void TCliSession::Open(bool logOn) {
    ports_.Refresh();
    const int number = options_.PortNumber();
    try {
        session_->OpenPort(number == 0 ? 1 : number, options_.Port);
    } catch (const ERsOpenError& error) {
        terminal_.Error(QStringLiteral("Port COM niedostępny"));
        // A path asked for is named as asked.
        const ERsOpenError named =
            number != 0 ? error
                        : ERsOpenError(QString::fromUtf8(error.what()), options_.Port, error.Path,
                                       error.SystemError, error.SystemMessage);
        terminal_.Error(ports_.OpenFailureDetail(named));
        throw TCliEnd{CliExit::PortUnavailable};
    }
    terminal_.Step(QStringLiteral("Otwarto port %1 (%2)").arg(options_.Port, session_->Device()));
    if (!logOn)
        return;
    session_->LogOn(options_.Password);
    if (!session_->IsLoggedOn()) {
        EndOnFailure();
        throw TCliEnd{CliExit::Failed};
    }
    terminal_.Step(QStringLiteral("Zalogowano: %1").arg(session_->State().FirmwareVersion));
}

void TCliSession::Close(bool logOut) {
    terminal_.EndProgress();
    if (!session_->Comm().IsOpen())
        return;
    if (logOut && session_->IsLoggedOn()) {
        session_->Disconnect();
        EndOnFailure();
        return;
    }
    // A restart or the end of a firmware update is the last request: it must leave before
    // the port closes, which drops what is still queued.
    const QDeadlineTimer limit(DrainLimitMs);
    WaitUntil([&] { return session_->Comm().OutQueue() == 0 || limit.hasExpired(); });
    session_->Comm().Close();
}

void TCliSession::WaitUntil(const std::function<bool()>& done) {
    while (!done())
        WaitForEvents();
}

StatusTexts TCliSession::NextStatus() {
    std::optional<StatusTexts> status;
    const QMetaObject::Connection received =
        connect(this, &TCliSession::StatusArrived, this,
                [&status](const StatusTexts& texts) { status = texts; });
    WaitUntil([&] { return status.has_value() || !session_->IsLoggedOn(); });
    disconnect(received);
    if (!status)
        EndWithoutStatus();
    return *status;
}

void TCliSession::EndWithoutStatus() const {
    EndOnFailure();
    const bool said = std::any_of(reports_.cbegin(), reports_.cend(), [](TSessionReport report) {
        return SessionReportText(report).Kind == TReportKind::Error;
    });
    if (!said)
        terminal_.Error(SessionReportText(TSessionReport::NoAnswer).Text);
    throw TCliEnd{CliExit::NoAnswer};
}

void TCliSession::EndOnFailure() const {
    if (failure_ != CliExit::Done)
        throw TCliEnd{failure_};
}

bool TCliSession::Reported(TSessionReport report) const {
    return reports_.contains(report);
}

void TCliSession::SetInterruptMode(TInterruptMode mode) {
    // A Ctrl+C that came while a blocking step ran belongs to the mode it came in.
    InterruptArrived();
    interruptMode_ = mode;
    RefuseInterrupts = mode == TInterruptMode::Refuse;
    interrupted_ = false;
}

void TCliSession::InterruptArrived() {
    char bytes[16];
    bool arrived = false;
    while (read(InterruptPipe[0], bytes, sizeof bytes) > 0)
        arrived = true;
    if (!arrived)
        return;
    switch (interruptMode_) {
    case TInterruptMode::Abort:
        aborted_ = true;
        break;
    case TInterruptMode::StopDownload:
        if (interrupted_) {
            aborted_ = true;
            break;
        }
        interrupted_ = true;
        terminal_.Message(QStringLiteral("Zatrzymuję pobieranie historii (Ctrl+C jeszcze raz "
                                         "kończy od razu)"));
        session_->RequestHistoryStop();
        break;
    case TInterruptMode::EndWatch:
        interrupted_ = true;
        break;
    case TInterruptMode::Refuse:
        break; // said by the signal handler
    }
}

// Ctrl+C that ends the command leaves through the wait it came in: the session's waits
// and steps are made to be left by an exception.
void TCliSession::ThrowIfAborted() const {
    if (aborted_)
        throw TCliEnd{CliExit::Interrupted};
}

void TCliSession::ProcessMessages() {
    SessionDesktop::ProcessMessages();
    ThrowIfAborted();
}

void TCliSession::WaitForEvents() {
    SessionDesktop::WaitForEvents();
    ThrowIfAborted();
}

QDateTime TCliSession::Now() {
    return clock_ ? *clock_ : SessionDesktop::Now();
}

void TCliSession::Fail(CliExit code) {
    if (failure_ == CliExit::Done)
        failure_ = code;
}

void TCliSession::Report(TSessionReport report) {
    const TSessionReportText text = SessionReportText(report);
    switch (report) {
    case TSessionReport::NoAnswer:
    case TSessionReport::ConfigReadNoAnswer:
    case TSessionReport::FirmwareNotAcknowledged:
        Fail(CliExit::NoAnswer);
        break;
    case TSessionReport::WrongPassword:
    case TSessionReport::PasswordTooLong:
        Fail(CliExit::PasswordRefused);
        break;
    default:
        break;
    }
    // The window says a failed read twice (the wait, then the read); one line says it here.
    const bool repeated = !reports_.isEmpty() && report == TSessionReport::ConfigReadNoAnswer &&
                          reports_.back() == TSessionReport::NoAnswer;
    reports_ << report;
    if (repeated)
        return;
    if (report == TSessionReport::LoggedOut)
        terminal_.Step(text.Text);
    else if (text.Kind == TReportKind::Error)
        terminal_.Error(text.Text);
    else
        terminal_.Message(text.Text);
}

void TCliSession::ReportRecordFault(RecordFault fault) {
    Fail(CliExit::FileRefused);
    terminal_.Error(RecordFaultMessage(fault));
}

void TCliSession::ReportArchiveProblem(const QString& text) {
    // Said also with --quiet: a nightly job's log is where it must show.
    terminal_.Error(text);
}

void TCliSession::HandleError(const std::exception& error) {
    lastError_ = QString::fromUtf8(error.what());
    terminal_.Step(lastError_);
    session_->HandleError(error);
}
