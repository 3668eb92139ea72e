#pragma once

#include "BootLoader.h"
#include "ConfigStore.h"
#include "HistoryLog.h"
#include "HistoryStream.h"
#include "RecorderClock.h"
#include "RecorderOptions.h"
#include "RecorderState.h"
#include "RequestLog.h"
#include "SensorSimulator.h"
#include "SimTime.h"
#include "protocol/FrameAssembler.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tc8sim {

// One request the recorder understood, and what it sent back for it (each reply one
// ResponseFrame, or the boot loader's single byte "!"). Silence is an empty list.
struct HandledRequest {
    std::uint8_t Code = 0;
    QByteArray Payload;
    std::vector<QByteArray> Replies;
};

// The TC-8 recorder as seen from its serial line: bytes in, bytes out, and its own state.
// No I/O, no threads, no clock of its own; callers pass the time in.
class RecorderModel {
public:
    explicit RecorderModel(const RecorderOptions& options = {});

    // Takes received bytes (any split) and handles every complete request frame in them.
    std::vector<HandledRequest> Receive(const QByteArray& bytes, SimTime now);
    // Handles one request frame; returns its replies.
    std::vector<QByteArray> Handle(std::uint8_t code, const QByteArray& payload, SimTime now);
    // The next unsolicited frame of a running history download, if any.
    std::optional<QByteArray> NextStreamFrame();
    // Lets time pass: the boot loader gives up when its silence is over.
    void Advance(SimTime now);
    // When Advance next has something to do.
    std::optional<SimTime> NextDeadline() const { return bootLoader_.Deadline(); }
    // Readable remarks on changes of state since the last call, for the trace.
    std::vector<std::string> TakeNotes();

    RecorderState Snapshot(SimTime now) const;

    void SetRefusePasswords(bool refuse) { refusePasswords_ = refuse; }
    void SetPassword(const QByteArray& password) { password_ = password; }
    void SetVersionChar(std::uint8_t version) { versionChar_ = version; }
    void SetRestartSilence(SimTime silence) { bootLoader_.SetSilence(silence); }
    // Replaces the stored history by `count` records, the last one taken now.
    void RefillHistory(int count, SimTime now);
    bool LoggedOn() const { return loggedOn_; }
    bool Streaming() const { return stream_.Active(); }

private:
    std::vector<QByteArray> HandleBootLoader(std::uint8_t code, const QByteArray& payload,
                                             SimTime now);
    std::vector<QByteArray> HandleLogon(const QByteArray& payload);
    std::vector<QByteArray> HandleLoggedOn(std::uint8_t code, const QByteArray& payload,
                                           SimTime now);
    QByteArray StatusPayload(SimTime now) const;
    void Note(std::string text) { notes_.push_back(std::move(text)); }

    QByteArray password_;
    std::uint8_t versionChar_;
    bool refusePasswords_ = false;
    bool loggedOn_ = false;
    FrameAssembler requests_;
    RecorderClock clock_;
    SensorSimulator sensors_;
    ConfigStore config_;
    HistoryLog history_;
    HistoryStream stream_;
    BootLoader bootLoader_;
    RequestLog requestLog_;
    std::vector<std::string> notes_;
};

} // namespace tc8sim
