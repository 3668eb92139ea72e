// The session's configuration: the record, its nine-group exchange with the recorder, and
// the exchange held back while the line is busy.
#include "protocol/TRecorderSession.h"

#include "config/ConfigFields.h"
#include "config/ConfigGroups.h"
#include "core/Guarded.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <QScopeGuard>
#include <QTimer>

namespace {
const QByteArray ReadRequestPayload("G");
constexpr int ReadProgressMax = 20;
constexpr int WriteProgressMax = 100;
// Pending events handled before each read request, so that the line and the window settle.
constexpr int ReadSettlePasses = 251;
} // namespace

void TRecorderSession::SetConfigText(ConfigField field, const QString& text) {
    Config_.*RowOf(field).Text = text;
}

void TRecorderSession::SetConfigByte(ConfigField field, quint8 byte) {
    Config_.*RowOf(field).Byte = byte;
}

void TRecorderSession::ShowConfigProgress(int position) {
    emit ConfigProgress(ConfigProgressCaption, position, ConfigProgressMaximum);
}

void TRecorderSession::EnableConfigExchanges() {
    EnableDeviceControls();
    State_.ConfigIcons = true;
    Publish();
}

bool TRecorderSession::ConfigReadyToSend() {
    const RecordFault fault = FindRecordFault(Config_, MaxRequestPayload);
    if (fault == RecordFault::None)
        return true;
    host_.ReportRecordFault(fault);
    return false;
}

// The first steps of both exchanges: the icons off, the device controls off, the progress
// shown from 0.
void TRecorderSession::BeginConfigExchange(TOperation operation, const QString& caption,
                                           int maximum) {
    BeginOperation();
    State_.ConfigIcons = false;
    Publish();
    DisableDeviceControls();
    State_.ConfigProgress = true;
    State_.Operation = operation;
    Publish();
    ConfigProgressCaption = caption;
    ConfigProgressMaximum = maximum;
    ShowConfigProgress(0);
}

void TRecorderSession::ReadConfigFromRecorder() {
    // The read handles events between its groups too; "ROZŁĄCZ" there ends it as in a wait.
    const std::uint32_t session = SessionGeneration;
    BeginConfigExchange(TOperation::ConfigRead, QStringLiteral("Pobieram konfiguracje nadajnika"),
                        ReadProgressMax);
    // However the read ends, also by an error raised inside (a re-send that finds the output
    // queue full): a logged-on session gets its device controls and poll back.
    auto raised = qScopeGuard([this] {
        State_.ConfigProgress = false;
        SetOperation(TOperation::None);
        if (LoggedOn)
            EnableConfigExchanges();
    });

    for (const ConfigGroup& group : ConfigGroups()) {
        const std::uint8_t code = group.ReadCode;
        PollTickCounter = 0;
        for (int pass = 0; pass < ReadSettlePasses; ++pass)
            desk().ProcessMessages();
        ThrowIfSessionEnded(session);
        SendRequest(code, ReadRequestPayload);
        // ConfigReceived applies the answer while the wait handles events.
        if (!WaitForResponse(Cmd::ShortTimeout, code)) {
            host_.Report(TSessionReport::ConfigReadNoAnswer);
            ShowConfigProgress(code);
            break;
        }
        ShowConfigProgress(code);
        if (code == Cmd::LastConfigRead) {
            ConfigOnRecorder = Config_;
            EnableConfigExchanges();
            break;
        }
        desk().ProcessMessages();
    }
    raised.dismiss();
    State_.ConfigProgress = false;
    SetOperation(TOperation::None);
}

void TRecorderSession::WriteConfigToRecorder() {
    if (!ConfigReadyToSend())
        return;
    const std::uint32_t session = SessionGeneration;
    BeginConfigExchange(TOperation::ConfigWrite,
                        QStringLiteral("Wysyłam konfiguracje do nadajnika"), WriteProgressMax);
    // However the write ends, also by an error raised inside.
    const auto ended = qScopeGuard([this] {
        State_.ConfigProgress = false;
        SetOperation(TOperation::None);
        if (LoggedOn)
            EnableConfigExchanges();
    });
    desk().ProcessMessages();
    ThrowIfSessionEnded(session);

    // What the recorder holds afterwards: each group as it was sent.
    ConfigRecord written = Config_;
    for (const ConfigGroup& group : ConfigGroups()) {
        // The fields stay editable while the write waits; each group goes as it is now, and
        // only its own values can stop it.
        if (const RecordFault fault = FindGroupFault(group, Config_, MaxRequestPayload);
            fault != RecordFault::None) {
            host_.ReportRecordFault(fault);
            return;
        }
        const QByteArray payload = ConfigGroupPayload(group, Config_);
        for (const ConfigField field : group.Fields) {
            const ConfigFieldRow& row = RowOf(field);
            if (row.Kind == FieldKind::RawByte)
                written.*row.Byte = Config_.*row.Byte;
            else
                written.*row.Text = Config_.*row.Text;
        }
        if (!SendWithRetry(group.WriteCode, payload, Cmd::ShortTimeout))
            return; // reported, and logged off, by the wait
        ShowConfigProgress(group.WriteProgress);
        for (const ConfigField field : group.Fields)
            emit ConfigFieldWritten(field);
    }
    ConfigOnRecorder = written;
}

void TRecorderSession::ConfigReceived(std::uint8_t code, const QByteArray& payload) {
    const ConfigGroup* group = ConfigGroupForReadCode(code);
    if (group == nullptr)
        return;
    // An answer too short for its group carries nothing the session could trust.
    if (!ApplyConfigGroupPayload(*group, payload, Config_))
        return;
    for (const ConfigField field : group->Fields)
        emit ConfigFieldReceived(field);
}

void TRecorderSession::ReadConfig() {
    StartConfigExchange(TExchange::Read);
}

void TRecorderSession::WriteConfig() {
    StartConfigExchange(TExchange::Write);
}

// The icons stay enabled while the status poll waits for its answer, and while history
// records are being handled after STOP. An exchange started inside either would take the
// line from under it: the poll's wait would then never see its answer and log off. So the
// exchange waits for the line to be free, and starts then if the session is still logged
// on. One call is one exchange: while it waits, the icons and the two "Dane" items are
// off, as the exchange itself will leave them.
void TRecorderSession::StartConfigExchange(TExchange exchange) {
    if (HeldBackExchange != TExchange::None)
        return;
    if (WaitsInProgress == 0) {
        if (exchange == TExchange::Read)
            ReadConfigFromRecorder();
        else
            WriteConfigToRecorder();
        return;
    }
    HeldBackExchange = exchange;
    State_.ConfigHeldBack = true;
    Publish();
    if (HeldBackRetry == nullptr) {
        HeldBackRetry = new QTimer(this);
        HeldBackRetry->setSingleShot(true);
        connect(HeldBackRetry, &QTimer::timeout, this,
                Guarded(this, &TRecorderSession::RunHeldBackExchange));
    }
    HeldBackRetry->start(Timer->interval());
}

void TRecorderSession::RunHeldBackExchange() {
    if (HeldBackExchange == TExchange::None)
        return;
    if (WaitsInProgress > 0) {
        HeldBackRetry->start(Timer->interval());
        return;
    }
    const TExchange exchange = HeldBackExchange;
    DropHeldBackExchange();
    StartConfigExchange(exchange);
}

// The icons go back to what they were when the call came; whatever drops the exchange (a
// logoff, another operation) then switches them as it needs.
void TRecorderSession::DropHeldBackExchange() {
    if (HeldBackExchange == TExchange::None)
        return;
    HeldBackExchange = TExchange::None;
    HeldBackRetry->stop();
    State_.ConfigHeldBack = false;
    State_.ConfigIcons = true;
    Publish();
}

void TRecorderSession::BeginOperation() {
    DropHeldBackExchange();
}
