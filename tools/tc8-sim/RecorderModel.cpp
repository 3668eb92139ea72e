#include "RecorderModel.h"

#include "WireFormat.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <cstdio>

namespace tc8sim {

namespace {

QDateTime StartClock(const RecorderOptions& options) {
    if (options.StartClock.isValid())
        return options.StartClock;
    return QDateTime::currentDateTime();
}

std::string Hex(std::uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string VersionText(std::uint8_t versionChar) {
    return std::string("'") + static_cast<char>(versionChar) + "' (" + Hex(versionChar) + ")";
}

} // namespace

RecorderModel::RecorderModel(const RecorderOptions& options)
    : password_(options.Password), versionChar_(options.VersionChar),
      requests_(RequestMarker, MaxRequestPayload), clock_(StartClock(options)),
      sensors_(options.Seed), bootLoader_(options.RestartSilence) {
    RefillHistory(options.HistoryRecords, SimTime{0});
}

void RecorderModel::RefillHistory(int count, SimTime now) {
    QDateTime last = clock_.Now(now);
    last.setTime(QTime(last.time().hour(), last.time().minute()));
    history_.Fill(count, last, config_.LoggingIntervalMinutes(), now, sensors_);
}

std::vector<HandledRequest> RecorderModel::Receive(const QByteArray& bytes, SimTime now) {
    std::vector<HandledRequest> handled;
    for (const ResponseFrame& frame : requests_.Feed(bytes))
        handled.push_back({frame.Code, frame.Payload, Handle(frame.Code, frame.Payload, now)});
    return handled;
}

std::vector<QByteArray> RecorderModel::Handle(std::uint8_t code, const QByteArray& payload,
                                              SimTime now) {
    Advance(now);
    requestLog_.Record(code, payload);
    if (bootLoader_.ActiveAt(now))
        return HandleBootLoader(code, payload, now);
    if (code == Cmd::Restart) {
        // A restart works whether or not anybody is logged on: it is also the first step
        // of a firmware update, which needs no logon.
        stream_.Stop();
        loggedOn_ = false;
        bootLoader_.Enter(now);
        Note("restart: boot loader runs, logged off");
        return {};
    }
    if (code == Cmd::Logon)
        return HandleLogon(payload);
    if (!loggedOn_) {
        Note("not logged on: request " + Hex(code) + " ignored");
        return {};
    }
    return HandleLoggedOn(code, payload, now);
}

std::vector<QByteArray> RecorderModel::HandleBootLoader(std::uint8_t code,
                                                        const QByteArray& payload, SimTime now) {
    if (code == Cmd::FirmwareBlock) {
        if (bootLoader_.TakeBlock(payload, now))
            return {QByteArray(1, static_cast<char>(Cmd::FirmwareAck))};
        Note("boot loader: block of " + std::to_string(payload.size()) + " bytes ignored");
        return {};
    }
    if (code == Cmd::FirmwareFinish) {
        const int blocks = static_cast<int>(bootLoader_.ReceivedBlocks().size());
        if (bootLoader_.Finish()) {
            if (versionChar_ < 0xFF)
                ++versionChar_;
            Note("boot loader: image of " + std::to_string(bootLoader_.Image().size()) +
                 " bytes accepted; recorder running again with version " +
                 VersionText(versionChar_) + ", logged off");
        } else {
            Note("boot loader: image refused (" + std::to_string(blocks) +
                 " blocks, numbers missing); recorder running again, logged off");
        }
        return {};
    }
    Note("boot loader: request " + Hex(code) + " ignored");
    return {};
}

std::vector<QByteArray> RecorderModel::HandleLogon(const QByteArray& payload) {
    loggedOn_ = !refusePasswords_ && payload == password_;
    Note(loggedOn_ ? "logged on" : "password refused");
    const char verdict = loggedOn_ ? 'T' : 'N';
    return {
        BuildResponseFrame(Cmd::Logon, QByteArray(1, verdict) + static_cast<char>(versionChar_))};
}

std::vector<QByteArray> RecorderModel::HandleLoggedOn(std::uint8_t code, const QByteArray& payload,
                                                      SimTime now) {
    if (ConfigStore::IsRead(code))
        return {BuildResponseFrame(code, config_.Group(code).left(MaxResponsePayload))};
    if (ConfigStore::IsWrite(code)) {
        config_.Store(code, payload);
        return {BuildResponseFrame(code, {})};
    }
    switch (code) {
    case Cmd::Logout:
        loggedOn_ = false;
        stream_.Stop();
        Note("logged off");
        return {BuildResponseFrame(code, {})};
    case Cmd::ChangePassword:
        password_ = payload;
        Note("password changed to \"" + payload.toStdString() + "\"");
        return {BuildResponseFrame(code, {})};
    case Cmd::Status:
        return {BuildResponseFrame(code, StatusPayload(now))};
    case Cmd::SetClock:
        if (const auto value = WireFormat::ParseDateTime(payload)) {
            clock_.Set(*value, now);
            Note("clock set to " + value->toString(Qt::ISODate).toStdString());
            return {BuildResponseFrame(code, {})};
        }
        Note("clock not set: no valid date and time");
        return {};
    case Cmd::HistoryStart:
        stream_.Start();
        Note("history download of " + std::to_string(history_.Records().size()) + " records");
        return {BuildResponseFrame(code, history_.LengthPayload())};
    case Cmd::HistoryStop:
        if (stream_.Active())
            Note("history download stopped");
        stream_.Stop();
        return {BuildResponseFrame(code, {})};
    case Cmd::ClearHistory:
        history_.Clear();
        Note("history cleared");
        return {BuildResponseFrame(code, {})};
    default:
        Note("unknown request " + Hex(code) + " ignored");
        return {};
    }
}

QByteArray RecorderModel::StatusPayload(SimTime now) const {
    QByteArray payload = WireFormat::Temperature(sensors_.Temperature1(now));
    payload.append(WireFormat::LittleEndian16(sensors_.SupplyRaw(now)));
    payload.append(WireFormat::Temperature(sensors_.Temperature2(now)));
    payload.append(WireFormat::DateTime(clock_.Now(now)));
    payload.append(WireFormat::LittleEndian16(sensors_.AuxiliaryRaw(now)));
    return payload;
}

std::optional<QByteArray> RecorderModel::NextStreamFrame() {
    std::optional<QByteArray> frame = stream_.NextFrame(history_);
    if (frame && !stream_.Active())
        Note("history download finished");
    return frame;
}

void RecorderModel::Advance(SimTime now) {
    if (bootLoader_.Expire(now))
        Note("boot loader gave up waiting; recorder running again, logged off");
}

std::vector<std::string> RecorderModel::TakeNotes() {
    std::vector<std::string> notes;
    notes.swap(notes_);
    return notes;
}

RecorderState RecorderModel::Snapshot(SimTime now) const {
    RecorderState state;
    state.Password = password_;
    state.VersionChar = versionChar_;
    state.LoggedOn = loggedOn_;
    state.InBootLoader = bootLoader_.ActiveAt(now);
    state.HistoryStreaming = stream_.Active();
    state.ConfigGroups = config_.Groups();
    state.Clock = clock_.Now(now);
    state.HistoryRecords = history_.Records();
    state.Requests = requestLog_.ByCode();
    state.FirmwareBlocks = bootLoader_.ReceivedBlocks();
    state.FirmwareImage = bootLoader_.Image();
    state.FirmwareAccepted = bootLoader_.LastImageAccepted();
    return state;
}

} // namespace tc8sim
