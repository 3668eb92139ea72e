// The session's request/response exchange: waits with re-sends, the 100 ms tick, the status
// poll and the dispatcher of answers.
#include "protocol/TRecorderSession.h"

#include "archive/HistoryArchive.h"

#include "core/Errors.h"
#include "core/Guarded.h"
#include "operations/StatusRendering.h"
#include "protocol/Commands.h"
#include "protocol/FirmwareVersion.h"
#include "serial/ERsCommError.h"
#include "serial/TRsComm.h"

#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTimer>

namespace {
constexpr int PollEveryTicks = 15;
constexpr int ResendsPerWait = 3;
constexpr int TickMs = 100;
const QByteArray StatusRequestPayload("G");
} // namespace

TRecorderSession::TRecorderSession(SessionDesktop& desktop, TSessionHost& host, QObject* parent)
    : QObject(parent), Archive_(std::make_unique<THistoryArchive>(THistoryArchive::DefaultPath())),
      desktop_(desktop), host_(host) {
    TraceClock.start();
    RsComm = new TRsComm(this);
    RsComm->setObjectName(QStringLiteral("RsComm"));
    RsComm->SetPortNum(1);
    RsComm->SetBaudrate(br4800);
    RsComm->SetParity(paNone);
    RsComm->SetDatabits(db8);
    RsComm->SetStopbits(sb1);
    RsComm->OnRxChar = [this](TRsCustomComm& sender, int count) {
        RunGuarded([&] { RsCommRxChar(sender, count); });
    };

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(TickMs);
    connect(Timer, &QTimer::timeout, this, Guarded(this, &TRecorderSession::TimerTimer));
    Timer->start();
}

TRecorderSession::~TRecorderSession() {
    // A download this end cuts off is ended, with its time: it reads as over everywhere, and
    // a company archive is sent it once rather than with every push after. Told to no one.
    const QSignalBlocker quiet(this);
    EndArchivedDownload(TDownloadEnd::CutOff);
}

void TRecorderSession::SetPortResolver(std::function<QString(const QString&)> resolver) {
    PortResolver = resolver;
    RsComm->SetPortResolver(std::move(resolver));
}

void TRecorderSession::SetTickIntervalForTests(int milliseconds) {
    Timer->setInterval(milliseconds);
}

bool TRecorderSession::WaitForResponse(std::uint16_t timeout, std::uint8_t expected) {
    ++WaitsInProgress;
    // Also when a re-send or a report raises: a wait left counted would hold the poll and
    // every configuration exchange back for the rest of the run.
    const auto ended = qScopeGuard([this] {
        --WaitsInProgress;
        ExchangeBusy = false;
        PollTickCounter = 0;
    });
    // The request this wait is for: the one sent last before it began. A request sent from
    // inside the wait (a history stop, a click) neither hides its answer nor is re-sent by it.
    const std::uint32_t ownRequest = RequestsSent;
    const QByteArray ownFrame = LastRequestFrame;
    const std::uint32_t ownSession = SessionGeneration;
    int resendsLeft = ResendsPerWait;
    TimeoutCounter = timeout;
    bool answered = false;
    for (;;) {
        // Sleeps until something happens; the tick guarantees an event every 100 ms.
        desk().WaitForEvents();
        ThrowIfSessionEnded(ownSession);
        const auto answer = LatestAnswers.constFind(expected);
        if (answer != LatestAnswers.cend() && answer->AfterRequest >= ownRequest) {
            // The awaited answer is the one callers read, whatever followed it.
            ResponseCode = expected;
            ResponsePayload = answer->Payload;
            answered = true;
            break;
        }
        if (TimeoutCounter != 0)
            continue;
        if (resendsLeft > 0) {
            --resendsLeft;
            TimeoutCounter = timeout;
            RsComm->WriteText(ownFrame);
            if (TraceSink_ != nullptr)
                TraceFrame(TraceEvent::Resent, ownFrame);
            desk().ProcessMessages();
            continue;
        }
        if (expected != Cmd::Status)
            host_.Report(TSessionReport::NoAnswer);
        desk().ProcessMessages();
        ThrowIfSessionEnded(ownSession);
        EndArchivedDownload(TDownloadEnd::NoAnswer);
        EnterLoggedOff();
        break;
    }
    return answered;
}

// A wait goes on only while the session it began in lasts. Without this, an answer that
// came after "ROZŁĄCZ" (say, to the last group of a read) would still be taken, and its
// caller would log the window on or hand it the device controls while it is disconnected.
void TRecorderSession::ThrowIfSessionEnded(std::uint32_t session) const {
    if (session != SessionGeneration)
        throw EWaitAbandoned();
}

void TRecorderSession::BeginNewSession() {
    ++SessionGeneration;
    DropHeldBackExchange();
}

bool TRecorderSession::SendWithRetry(std::uint8_t code, const QByteArray& payload,
                                     std::uint16_t timeout) {
    SendRequest(code, payload);
    // Unlike a plain request, this one keeps the poll off until its wait is over.
    ExchangeBusy = true;
    const bool answered = WaitForResponse(timeout, code);
    desk().Sleep(10);
    return answered;
}

void TRecorderSession::TimerTimer() {
    if (TimeoutCounter > 0)
        --TimeoutCounter;
    // The records come unasked, so no wait notices a line that went quiet under a running
    // download (a pulled cable); STOP would wait for the next record too. After as long as
    // the start request may wait for its answer, the download ends with the report.
    if (HistoryDownloadRunning() && WaitsInProgress == 0 &&
        ++HistorySilentTicks == Cmd::LongTimeout)
        QMetaObject::invokeMethod(this, Guarded(this, &TRecorderSession::HistoryLineLost),
                                  Qt::QueuedConnection);
    if (++PollTickCounter == PollEveryTicks) {
        PollTickCounter = 0;
        // Qt does not deliver a timer's next tick while its handler still runs, and the
        // poll's wait lives on ticks: the poll runs right after this handler instead.
        if (PollMayStart())
            QMetaObject::invokeMethod(this, Guarded(this, &TRecorderSession::RunStatusPoll),
                                      Qt::QueuedConnection);
    }
}

bool TRecorderSession::PollMayStart() const {
    return LoggedOn && !ExchangeBusy && PollEnabled && WaitsInProgress == 0;
}

void TRecorderSession::RunStatusPoll() {
    if (PollMayStart())
        SendWithRetry(Cmd::Status, StatusRequestPayload, Cmd::ShortTimeout);
}

void TRecorderSession::DispatchResponse(std::uint8_t code, const QByteArray& payload) {
    desk().ProcessMessages();
    switch (code) {
    case Cmd::Logon:
        // A late answer to a logon that "ROZŁĄCZ" has ended since does not show a version
        // beside the disconnected state.
        if (LogonSession == SessionGeneration) {
            if (const auto caption = FirmwareVersionCaption(payload)) {
                State_.FirmwareVersion = *caption;
                Publish();
            }
        }
        break;
    case Cmd::HistoryEnd:
        HistoryEndReceived();
        break;
    case Cmd::HistoryRecord:
        HistoryRecordReceived(payload);
        break;
    case Cmd::HistoryStart:
        HistoryLengthReceived(payload);
        break;
    case Cmd::SetClock:
        ClockSetAcknowledged();
        break;
    case Cmd::HistoryStop:
        HistoryStopAcknowledged();
        break;
    case Cmd::Status:
        // A short answer is dropped whole rather than shown in part.
        if (const std::optional<StatusTexts> status = RenderStatus(payload)) {
            emit StatusReceived(*status);
            State_.ConfigIcons = true;
            Publish();
        }
        break;
    case Cmd::ReadLimits:
    case Cmd::ReadCorrection1:
    case Cmd::ReadCorrection2:
    case Cmd::ReadCounts:
    case Cmd::ReadName:
    case Cmd::ReadHeader1:
    case Cmd::ReadType:
    case Cmd::ReadHeader2:
    case Cmd::ReadHeader3:
        ConfigReceived(code, payload);
        break;
    default:
        // No handler: the stored code may still end a wait.
        break;
    }
}

void TRecorderSession::HandleError(const std::exception& error) {
    // History records come unasked, so no wait would notice that the device went away
    // under a running download. Any other serial error leaves the download alone.
    if (dynamic_cast<const ERsCommError*>(&error) != nullptr && RsComm->IsDeviceGone() &&
        HistoryDownloadRunning() && WaitsInProgress == 0)
        HistoryLineLost();
}
