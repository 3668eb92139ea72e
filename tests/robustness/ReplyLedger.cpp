#include "ReplyLedger.h"

#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <regex>

namespace {

// "PC  -> TC8  N 0x50 status  [1] 47 "G""
const std::regex RequestLine(R"(PC  -> TC8  N 0x([0-9A-F]{2}) )");
// "TC8 -> PC   n 0x47 history record  [10] 1A 0C ... (corrupted, split in 2)"
const std::regex
    ReplyLine(R"(TC8 -> PC   n 0x([0-9A-F]{2}) .*?  \[(\d+)\]((?: [0-9A-F]{2})*)( \.\.\.)?(.*)$)");
// "TC8 -> PC   raw bytes [14] 6E 47 ..."
const std::regex RawLine(R"(TC8 -> PC   raw bytes \[(\d+)\])");
// The fates at the end of a reply line, behind the payload and its text.
const std::regex Fates(R"re( \(([^()"]*)\)$)re");

constexpr int FalseStartReach = 4 + MaxResponsePayload;

} // namespace

tc8sim::FrameTrace::Sink ReplyLedger::Sink() {
    return [this](const std::string& line) { Read(line); };
}

int ReplyLedger::Requests(std::uint8_t code) const {
    return requestCounts_[code].load();
}

ReplyLedger::Tally ReplyLedger::Totals() const {
    const std::lock_guard lock(mutex_);
    return tally_;
}

std::vector<QByteArray> ReplyLedger::TakeSafeRecords() {
    const std::lock_guard lock(mutex_);
    std::vector<QByteArray> records;
    records.swap(safeRecords_);
    return records;
}

void ReplyLedger::Read(const std::string& line) {
    std::smatch match;
    if (std::regex_search(line, match, RequestLine)) {
        ++requestCounts_[std::stoi(match[1].str(), nullptr, 16)];
        return;
    }
    const std::lock_guard lock(mutex_);
    if (std::regex_search(line, match, RawLine)) {
        riskBytesLeft_ = std::max(0, riskBytesLeft_ - std::stoi(match[1].str()));
        return;
    }
    if (line.find("TC8 -> PC   single byte") != std::string::npos)
        return;
    if (!std::regex_search(line, match, ReplyLine)) {
        if (line.find("TC8 -> PC") != std::string::npos)
            ++tally_.UnreadableLines;
        return;
    }
    const auto code = static_cast<std::uint8_t>(std::stoi(match[1].str(), nullptr, 16));
    const int length = std::stoi(match[2].str());
    QByteArray payload = QByteArray::fromHex(QByteArray::fromStdString(match[3].str()));
    const bool payloadKnown = !match[4].matched && payload.size() == length;
    payload.resize(length);

    std::string fates;
    const std::string rest = match[5].str();
    if (std::smatch fate; std::regex_search(rest, fate, Fates))
        fates = fate[1].str();
    Reply(BuildResponseFrame(code, payload), fates.find("dropped") != std::string::npos,
          fates.find("corrupted") != std::string::npos, payloadKnown);
}

void ReplyLedger::Reply(const QByteArray& frame, bool dropped, bool corrupted, bool payloadKnown) {
    ++tally_.Replies;
    if (dropped) {
        ++tally_.Dropped;
        return;
    }
    const bool atRisk = riskBytesLeft_ > 0;
    riskBytesLeft_ = std::max<int>(0, riskBytesLeft_ - static_cast<int>(frame.size()));
    if (corrupted) {
        ++tally_.Corrupted;
        if (!payloadKnown || frame.indexOf(ResponseMarker, 1) >= 0)
            riskBytesLeft_ = FalseStartReach;
        return;
    }
    if (static_cast<std::uint8_t>(frame[1]) != Cmd::HistoryRecord)
        return;
    ++tally_.RecordsSent;
    if (atRisk)
        ++tally_.RecordsAtRisk;
    else
        safeRecords_.push_back(frame.sliced(3, frame.size() - 4));
}
