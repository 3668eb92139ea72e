#include "FrameTrace.h"

#include "protocol/Commands.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tc8sim {

namespace {

constexpr int ShownPayloadBytes = 24;

const std::array<const char*, 9> GroupNames{"limits", "correction 1", "correction 2",
                                            "counts", "name",         "header 1",
                                            "type",   "header 2",     "header 3"};

std::string Format(const char* format, unsigned value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string FrameTrace::CommandName(std::uint8_t code) {
    if (code >= Cmd::FirstConfigRead && code <= Cmd::LastConfigRead + 1)
        return std::string(code % 2 == 0 ? "read " : "write ") +
               GroupNames[(code - Cmd::FirstConfigRead) / 2];
    switch (code) {
    case Cmd::Logon:
        return "logon";
    case Cmd::Logout:
        return "logout";
    case Cmd::ChangePassword:
        return "password";
    case Cmd::HistoryEnd:
        return "history end";
    case Cmd::HistoryRecord:
        return "history record";
    case Cmd::HistoryStart:
        return "history start";
    case Cmd::SetClock:
        return "set clock";
    case Cmd::HistoryStop:
        return "history stop";
    case Cmd::ClearHistory:
        return "clear history";
    case Cmd::Status:
        return "status";
    case Cmd::Restart:
        return "restart";
    case Cmd::FirmwareBlock:
        return "firmware block";
    case Cmd::FirmwareFinish:
        return "firmware finish";
    default:
        return "unknown";
    }
}

std::string FrameTrace::DescribePayload(const QByteArray& payload) {
    std::string text = Format("[%u]", static_cast<unsigned>(payload.size()));
    const qsizetype shown = std::min<qsizetype>(payload.size(), ShownPayloadBytes);
    for (qsizetype i = 0; i < shown; ++i)
        text += Format(" %02X", static_cast<std::uint8_t>(payload.at(i)));
    if (shown < payload.size())
        text += " ...";
    const bool printable =
        !payload.isEmpty() &&
        std::all_of(payload.begin(), payload.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (printable)
        text += " \"" + payload.toStdString() + "\"";
    return text;
}

void FrameTrace::Request(SimTime at, std::uint8_t code, const QByteArray& payload) const {
    Emit(at, "PC  -> TC8  N " + Format("0x%02X ", code) + CommandName(code) + "  " +
                 DescribePayload(payload));
}

void FrameTrace::Reply(SimTime at, const QByteArray& reply, const ReplyFate& fate,
                       const std::string& remark) const {
    std::string text = "TC8 -> PC   ";
    if (reply.size() == 1) {
        text += Format("single byte 0x%02X", static_cast<std::uint8_t>(reply.at(0)));
        if (reply.at(0) == Cmd::FirmwareAck)
            text += " \"!\" (block acknowledged)";
    } else {
        const std::uint8_t code = static_cast<std::uint8_t>(reply.at(1));
        text += "n " + Format("0x%02X ", code) + CommandName(code) + "  " +
                DescribePayload(reply.mid(3, reply.size() - 4));
    }
    std::string fates;
    auto add = [&fates](const std::string& what) { fates += (fates.empty() ? "" : ", ") + what; };
    if (!remark.empty())
        add(remark);
    if (fate.PrefixBytes > 0)
        add("after " + std::to_string(fate.PrefixBytes) + " extra bytes");
    if (fate.Dropped)
        add("dropped");
    if (fate.Corrupted)
        add("corrupted");
    if (fate.GluedToNext)
        add("glued to the next");
    if (fate.Pieces > 1)
        add("split in " + std::to_string(fate.Pieces));
    if (!fates.empty())
        text += " (" + fates + ")";
    Emit(at, text);
}

void FrameTrace::Raw(SimTime at, const QByteArray& bytes) const {
    Emit(at, "TC8 -> PC   raw bytes " + DescribePayload(bytes));
}

void FrameTrace::Note(SimTime at, const std::string& text) const {
    Emit(at, "** " + text);
}

void FrameTrace::Emit(SimTime at, const std::string& text) const {
    if (!sink_)
        return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8.3f  ", static_cast<double>(at.count()) / 1000.0);
    sink_(stamp + text);
}

} // namespace tc8sim
