#pragma once

#include "FaultInjector.h"
#include "SimTime.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <string>

namespace tc8sim {

// Readable lines about the frames in both directions and the recorder's changes of state,
// for example:
//    0.682  PC  -> TC8  N 0x01 logon  [4] 30 31 35 37 "0157"
//    0.682  ** logged on
//    0.682  TC8 -> PC   n 0x01 logon  [2] 54 35 "T5" (split in 2)
class FrameTrace {
public:
    using Sink = std::function<void(const std::string& line)>;

    // Without a sink nothing is traced.
    explicit FrameTrace(Sink sink = {}) : sink_(std::move(sink)) {}

    void Request(SimTime at, std::uint8_t code, const QByteArray& payload) const;
    void Reply(SimTime at, const QByteArray& reply, const ReplyFate& fate,
               const std::string& remark = {}) const;
    void Raw(SimTime at, const QByteArray& bytes) const;
    void Note(SimTime at, const std::string& text) const;

    // The name of a command code ("status", "read limits" ...).
    static std::string CommandName(std::uint8_t code);
    // Payload bytes in hex, with the text in quotes when every byte is printable ASCII.
    static std::string DescribePayload(const QByteArray& payload);

private:
    void Emit(SimTime at, const std::string& text) const;

    Sink sink_;
};

} // namespace tc8sim
