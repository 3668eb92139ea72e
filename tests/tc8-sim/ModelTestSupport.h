#pragma once

#include "RecorderModel.h"
#include "protocol/Frame.h"
#include "protocol/FrameAssembler.h"

#include <QDate>
#include <chrono>
#include <vector>

namespace tc8sim::testing {

using namespace std::chrono_literals;

inline const QDateTime FixedClock(QDate(2026, 12, 7), QTime(1, 30, 5), Qt::UTC);

inline RecorderOptions FixedOptions() {
    RecorderOptions options;
    options.StartClock = FixedClock;
    options.HistoryRecords = 5;
    options.RestartSilence = 3000ms;
    return options;
}

// Sends one request frame as the PC builds it and returns the recorder's replies as frames.
inline std::vector<ResponseFrame> Exchange(RecorderModel& model, std::uint8_t code,
                                           const QByteArray& payload, SimTime now = 0ms) {
    QByteArray replies;
    for (const HandledRequest& handled : model.Receive(BuildRequestFrame(code, payload), now))
        for (const QByteArray& reply : handled.Replies)
            replies.append(reply);
    FrameAssembler assembler;
    return assembler.Feed(replies);
}

inline void LogOn(RecorderModel& model) {
    Exchange(model, 0x01, "0157");
}

} // namespace tc8sim::testing
