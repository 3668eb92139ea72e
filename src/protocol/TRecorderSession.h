#pragma once

#include "protocol/FrameAssembler.h"
#include "protocol/SessionDesktop.h"
#include "protocol/TSessionHost.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <functional>

class QTimer;
class TRsComm;
class TRsCustomComm;
struct StatusTexts;

// What the port and the logon are, as a person sees them.
enum class TConnection {
    Disconnected, // port closed, or "ROZŁĄCZ" under way
    Connected,    // port open, logged off
    LoggedOn,
};

// The session with one recorder for the whole run of a front end: the serial component,
// the receive side, the 100 ms tick with the waits and the status poll, the dispatcher of
// answers, the logon, the history download and the recorder commands. It runs on one
// thread under any QCoreApplication; what it must tell a person goes to its host, what
// changed goes out as signals, delivered at once on that thread.
class TRecorderSession : public QObject {
    Q_OBJECT
public:
    TRecorderSession(SessionDesktop& desktop, TSessionHost& host, QObject* parent = nullptr);
    ~TRecorderSession() override;

    SessionDesktop& desk() const { return desktop_; }
    TRsComm& Comm() const { return *RsComm; }
    // Maps a port name ("COM3") to its device; without one the platform's own mapping holds.
    void SetPortResolver(std::function<QString(const QString&)> resolver);

    TConnection Connection() const { return Connection_; }
    bool IsLoggedOn() const { return LoggedOn; }
    bool IsPollEnabled() const { return PollEnabled; }
    // A download runs from its start until its end marker or stop acknowledgement.
    bool HistoryDownloadRunning() const { return LoggedOn && HistoryStreaming; }

    // ---- Connection and logon (SessionConnection.cpp) ----
    // Opens COM<portNumber> unless a port is open, and logs on with the password.
    void Connect(int portNumber, const QString& password);
    // Logs off and closes the port.
    void Disconnect();
    void EnterLoggedOn();
    void EnterLoggedOff();
    // The state halves of the window's switches of the device controls: the poll and the
    // download's stop request.
    void EnableDeviceControls();
    void DisableDeviceControls();
    void StopStatusPoll() { PollEnabled = false; }

    // ---- History and commands (SessionHistory.cpp, SessionCommands.cpp) ----
    void StartHistoryDownload();
    void RequestHistoryStop();
    // Gives out the history lines collected from the delivery being handled.
    void FlushHistoryLines();
    void SetClock();
    void Restart();
    void ClearHistory();
    // False when no answer came (the wait has then reported it and logged off).
    bool ChangePassword(const QByteArray& password);

    // ---- Firmware (SessionFirmware.cpp) ----
    void RestartIntoBootLoader();
    // Sends a block and waits for the boot loader's "!", sending it again while the
    // transfer's shared repeatsLeft allows; false after the report.
    bool SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft);
    void FinishFirmwareUpdate();

    // The session's part of the program-wide error handler: a device that went away under a
    // running download ends it.
    void HandleError(const std::exception& error);

    // ---- The exchange (SessionFrames.cpp, SessionExchange.cpp) ----
    void SendRequest(std::uint8_t code, const QByteArray& payload);
    bool WaitForResponse(std::uint16_t timeout, std::uint8_t expected);
    bool SendWithRetry(std::uint8_t code, const QByteArray& payload, std::uint16_t timeout);
    // Throws EWaitAbandoned when the session `session` (a SessionGeneration) has ended.
    void ThrowIfSessionEnded(std::uint32_t session) const;
    std::uint32_t CurrentSession() const { return SessionGeneration; }
    // Waits (and received-bytes handling) in progress: the status poll starts only at zero.
    int Waits() const { return WaitsInProgress; }
    void RestartPollCount() { PollTickCounter = 0; }
    const QByteArray& Answer() const { return ResponsePayload; }
    int TickInterval() const;

signals:
    // The session ended (a logoff, a new logon): what waited for it is dropped.
    void SessionEnded();
    // The port's side of the connection area changed: open, or closed (also as "ROZŁĄCZ"
    // begins).
    void ConnectionShown(bool open);
    void LoggedOnEntered();
    void LoggedOffEntered();
    void DeviceControlsEnabled();
    void DeviceControlsDisabled();
    // The firmware version of a logon answer, "TC-8 v 1.5".
    void VersionReceived(const QString& caption);
    void StatusReceived(const StatusTexts& status);
    // A configuration answer (codes 4 to 20, even), whether or not a read runs.
    void ConfigAnswerReceived(std::uint8_t code, const QByteArray& payload);
    // A download started: the history so far is gone, STOP may be pressed.
    void HistoryStarted();
    // History lines of one delivery, in order; "Koniec historii" ends a download.
    void HistoryLines(const QStringList& lines);
    void HistoryProgress(int position, int maximum);
    // The download ended by its end marker or its stop acknowledgement.
    void HistoryStopped();

private:
    friend class TMainTestAccess;
    friend class TSessionTestAccess;

    // Shortens the 100 ms tick; tests use it to keep the suite quick.
    void SetTickIntervalForTests(int milliseconds);

    // Frames (SessionFrames.cpp)
    FrameAssembler Assembler;
    std::uint8_t ResponseCode = 0;       // code of the last valid answer; 0 after a new request
    QByteArray ResponsePayload;          // payload of that answer
    QByteArray LastRequestFrame;         // re-sent unchanged by the waits
    std::uint8_t LastSingleRxByte = '/'; // the byte of a one-byte delivery, else "/"
    // Requests sent so far, and the latest answer of each code with the count in force when
    // it arrived. A wait takes any answer with its code that came after its own request,
    // even when other frames followed it or another request went out meanwhile.
    std::uint32_t RequestsSent = 0;
    struct TAnswer {
        QByteArray Payload;
        std::uint32_t AfterRequest = 0;
    };
    QHash<std::uint8_t, TAnswer> LatestAnswers;
    void RsCommRxChar(TRsCustomComm& sender, int count);
    void ExtractFrame(const QByteArray& delivery);

    // Exchange (SessionExchange.cpp)
    QTimer* Timer = nullptr;
    TRsComm* RsComm = nullptr;
    std::uint16_t TimeoutCounter = 0; // ticks left in the current wait attempt
    std::uint8_t PollTickCounter = 0; // ticks since the last exchange
    bool ExchangeBusy = false;
    bool PollEnabled = false;
    int WaitsInProgress = 0;
    // Each logon, logoff and closing of the port ends a session; a wait belongs to the
    // session it began in and is abandoned (EWaitAbandoned) when that one has ended.
    std::uint32_t SessionGeneration = 0;
    // The session in which the last logon request went out.
    std::uint32_t LogonSession = 0;
    void BeginNewSession();
    void TimerTimer();
    bool PollMayStart() const;
    void RunStatusPoll();
    void DispatchResponse(std::uint8_t code, const QByteArray& payload);
    // One attempt's wait for a lone "!": true when it came before TimeoutCounter ran out.
    bool WaitForBlockAcknowledgement();

    // Connection (SessionConnection.cpp)
    TConnection Connection_ = TConnection::Disconnected;
    bool LoggedOn = false;
    void ShowConnection(TConnection connection);

    // History (SessionHistory.cpp)
    bool HistoryStopRequested = false;
    bool HistoryStreaming = false;
    // Ticks since bytes last came in while a download runs and no wait is in progress.
    int HistorySilentTicks = 0;
    int HistoryPosition = 0;
    int HistoryMaximum = 100;
    // Lines of the delivery being handled, given out together when it has been handled.
    QStringList PendingHistoryLines;
    void SetHistoryProgress(int position);
    void HistoryLengthReceived(const QByteArray& payload);
    void HistoryRecordReceived(const QByteArray& payload);
    void HistoryEndReceived();
    void HistoryStopAcknowledged();
    void HistoryLineLost();

    SessionDesktop& desktop_;
    TSessionHost& host_;
};
