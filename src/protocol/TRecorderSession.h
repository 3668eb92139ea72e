#pragma once

#include "config/ConfigRecord.h"
#include "firmware/FirmwareBlocks.h"
#include "monitor/LineTrace.h"
#include "operations/ArchivedHistory.h"
#include "protocol/FrameAssembler.h"
#include "protocol/SessionDesktop.h"
#include "protocol/TSessionHost.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class THistoryArchive;
class TRsComm;
class TRsCustomComm;
struct StatusTexts;
enum class ConfigField;

// What the port and the logon are, as a person sees them.
enum class TConnection {
    Disconnected, // port closed, or "ROZŁĄCZ" under way
    Connected,    // port open, logged off
    LoggedOn,
};

// The operation in progress.
enum class TOperation {
    None,
    ConfigRead,
    ConfigWrite,
    HistoryDownload, // from START until the end marker or the stop acknowledgement
    Command,         // a command's wait: clearing the history, changing the password
    Firmware,
};

// The state the session's steps have left, from which a front end enables its controls. The
// flags follow the steps of switching the device controls and of each operation one by
// one, so that, for example, the password field stays editable after an operation while
// logged on, and a status answer or STOP gives the configuration icons back.
struct TSessionState {
    TConnection Connection = TConnection::Disconnected;
    TOperation Operation = TOperation::None;
    bool DeviceControls = false;   // on from EnableDeviceControls to DisableDeviceControls
    bool ConfigIcons = false;      // the configuration icons' own switch
    bool ConfigHeldBack = false;   // a configuration exchange waits for the line
    bool PasswordEditable = true;  // off from a logon until the device controls go off
    bool ConfigProgress = false;   // a configuration exchange shows its progress
    bool HistoryStreaming = false; // a download runs; STOP may be pressed
    QString FirmwareVersion;       // "TC-8 v 1.5" from the logon answer; empty: not known

    bool operator==(const TSessionState&) const = default;
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

    const TSessionState& State() const { return State_; }
    bool IsLoggedOn() const { return LoggedOn; }
    // A download runs from its start until its end marker or stop acknowledgement.
    bool HistoryDownloadRunning() const { return LoggedOn && State_.HistoryStreaming; }
    // Called as any operation on the recorder begins; a held-back configuration exchange is
    // dropped then.
    void BeginOperation();

    // ---- Connection and logon (SessionConnection.cpp) ----
    // Opens COM<portNumber> unless a port is open, and logs on with the password.
    void Connect(int portNumber, const QString& password);
    // Opens COM<portNumber> unless a port is open, without logging on; true when it is open.
    // A port that cannot be opened raises ERsOpenError. The archive names the port by
    // `label` ("COM3" when empty).
    bool OpenPort(int portNumber, const QString& label = {});
    // The device of the open port, as the system names it after any link ("/dev/ttyUSB0").
    const QString& Device() const { return DevicePath; }
    // Logs on to the recorder on the open port.
    void LogOn(const QString& password);
    // Logs off and closes the port.
    void Disconnect();
    void EnterLoggedOn();
    void EnterLoggedOff();
    // The state halves of the window's switches of the device controls: the poll and the
    // download's stop request.
    void EnableDeviceControls();
    void DisableDeviceControls();
    void StopStatusPoll() { PollEnabled = false; }

    // ---- Configuration (SessionConfig.cpp) ----
    // The configuration as the session holds it: what a read brought, what a front end has
    // edited, what a write sends.
    const ConfigRecord& Config() const { return Config_; }
    void SetConfigText(ConfigField field, const QString& text);
    void SetConfigByte(ConfigField field, quint8 byte);
    // The image of the configuration or firmware file saved or read last, tag to check
    // byte; never more than FileBufferSize (16,384) bytes.
    const QByteArray& FileBuffer() const { return FileBuffer_; }
    void SetFileBuffer(const QByteArray& image) { FileBuffer_ = image; }
    // Read or write the whole configuration; started when the line is free (at once, or
    // when the wait that holds it has ended), once per call.
    void ReadConfig();
    void WriteConfig();

    // ---- History and commands (SessionHistory.cpp, SessionCommands.cpp) ----
    // Every download goes into this archive as it arrives (THistoryArchive::DefaultPath()
    // unless set); null keeps none.
    void SetArchive(std::unique_ptr<THistoryArchive> archive);
    THistoryArchive* Archive() const { return Archive_.get(); }
    // The download being written into the archive now, if any, by its identity in every
    // archive.
    std::optional<QUuid> ArchivedDownloadUuid() const {
        return ArchivedDownload ? std::optional(ArchivedUuid) : std::nullopt;
    }
    // What was known of the last download when it started (also with no archive): where and
    // when it came from, for a report of it.
    const std::optional<TDownloadStart>& LastDownloadStart() const { return LastDownloadStart_; }
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
    // The whole update: logged off, the warning, the restart into the boot loader, its
    // pauses, the blocks with FirmwareProgress after each, and the finish when every block
    // was acknowledged. True then.
    bool UpdateFirmware(const QList<FirmwareBlock>& blocks);

    // The session's part of the program-wide error handler: a device that went away under a
    // running download ends it.
    void HandleError(const std::exception& error);

    // ---- The exchange (SessionFrames.cpp, SessionExchange.cpp) ----
    void SendRequest(std::uint8_t code, const QByteArray& payload);
    bool WaitForResponse(std::uint16_t timeout, std::uint8_t expected);
    bool SendWithRetry(std::uint8_t code, const QByteArray& payload, std::uint16_t timeout);

    // ---- The line trace (SessionFrames.cpp) ----
    // From now on every frame sent, re-sent and received, every lone byte and every run of
    // dropped bytes goes to `sink`; null stops it. Nothing is traced while none is set.
    void SetTraceSink(TLineTraceSink* sink) { TraceSink_ = sink; }
    TLineTraceSink* TraceSink() const { return TraceSink_; }

signals:
    // State() changed.
    void StateChanged();
    // The device controls went off: the live readings are no longer current.
    void StatusCleared();
    void StatusReceived(const StatusTexts& status);
    // A field took the value of a configuration answer (whether or not a read runs), or
    // was written and acknowledged: it is in step with the recorder.
    void ConfigFieldReceived(ConfigField field);
    void ConfigFieldWritten(ConfigField field);
    void ConfigProgress(const QString& caption, int position, int maximum);
    // A download started: the history so far is gone.
    void HistoryStarted();
    // History lines of one delivery, in order; "Koniec historii" ends a download.
    void HistoryLines(const QStringList& lines);
    void HistoryProgress(int position, int maximum);
    // A download has ended and is in the archive whole, ready to be sent on.
    void DownloadArchived();
    // The firmware update has sent this much of the file, in per cent.
    void FirmwareProgress(int percent);

private:
    friend class TMainTestAccess;
    friend class TSessionTestAccess;

    // Shortens the 100 ms tick; tests use it to keep the suite quick.
    void SetTickIntervalForTests(int milliseconds);

    // Frames (SessionFrames.cpp)
    FrameAssembler Assembler;
    TLineTraceSink* TraceSink_ = nullptr;
    QElapsedTimer TraceClock; // the trace's time stamps, from the session's start
    void TraceFrame(TraceEvent event, const QByteArray& frame);
    void TraceReceived(const QByteArray& delivery, const std::vector<ResponseFrame>& frames,
                       std::vector<DiscardedBytes>& discarded);
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
    // Each logon and each logoff begins a session; a wait belongs to the session it began in
    // and is abandoned (EWaitAbandoned) when that one has ended.
    std::uint32_t SessionGeneration = 0;
    // The session in which the last logon request went out.
    std::uint32_t LogonSession = 0;
    void BeginNewSession();
    // Throws EWaitAbandoned when the session `session` (a SessionGeneration) has ended.
    void ThrowIfSessionEnded(std::uint32_t session) const;
    void TimerTimer();
    bool PollMayStart() const;
    void RunStatusPoll();
    void DispatchResponse(std::uint8_t code, const QByteArray& payload);
    // Sends a block and waits for the boot loader's "!", sending it again while the
    // transfer's shared repeatsLeft allows; false after the report.
    bool SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft);
    // One attempt's wait for a lone "!": true when it came before TimeoutCounter ran out.
    bool WaitForBlockAcknowledgement();

    // State (SessionConnection.cpp)
    TSessionState State_;
    TSessionState Published_;
    bool LoggedOn = false;
    bool PortShown = false;
    // Gives out the state when a step has changed it.
    void Publish();
    void ShowConnection(bool open);
    void SwitchDeviceControls(bool on);
    void SetOperation(TOperation operation);

    // Configuration (SessionConfig.cpp)
    ConfigRecord Config_;
    // The configuration the recorder holds as far as this logon knows it: after a whole read
    // or write; nothing before one.
    std::optional<ConfigRecord> ConfigOnRecorder;
    QByteArray FileBuffer_;
    enum class TExchange { None, Read, Write };
    TExchange HeldBackExchange = TExchange::None;
    QTimer* HeldBackRetry = nullptr;
    void StartConfigExchange(TExchange exchange);
    void BeginConfigExchange(TOperation operation, const QString& caption, int maximum);
    void RunHeldBackExchange();
    void DropHeldBackExchange();
    void ReadConfigFromRecorder();
    void WriteConfigToRecorder();
    void ConfigReceived(std::uint8_t code, const QByteArray& payload);
    void ShowConfigProgress(int position);
    QString ConfigProgressCaption;
    int ConfigProgressMaximum = 0;
    // The end of a configuration exchange that leaves the session logged on.
    void EnableConfigExchanges();
    // A record that cannot be sent whole is refused before anything goes out.
    bool ConfigReadyToSend();

    // History (SessionHistory.cpp)
    bool HistoryStopRequested = false;
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

    // Archive (SessionArchive.cpp)
    std::unique_ptr<THistoryArchive> Archive_;
    std::optional<qint64> ArchivedDownload;
    QUuid ArchivedUuid;                               // of ArchivedDownload
    std::optional<TDownloadStart> LastDownloadStart_; // the download being archived
    QList<QByteArray> PendingHistoryRecords;          // of the delivery being handled
    std::optional<int> PendingAnnouncedLength;
    QString PortLabel;
    QString DevicePath;
    std::function<QString(const QString&)> PortResolver;
    void BeginArchivedDownload();
    // Writes the records of the delivery being handled.
    void ArchiveDelivery();
    // Ends the archived download, if one runs, with the records still pending.
    void EndArchivedDownload(TDownloadEnd end);
    // Says the problem when the event loop comes next, never inside a delivery's handling.
    void ArchiveFailed();

    // Commands (SessionCommands.cpp)
    void ClockSetAcknowledged();

    SessionDesktop& desktop_;
    TSessionHost& host_;
};
