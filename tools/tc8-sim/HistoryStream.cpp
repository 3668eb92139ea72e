#include "HistoryStream.h"

#include "HistoryLog.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

namespace tc8sim {

void HistoryStream::Start() {
    active_ = true;
    next_ = 0;
}

std::optional<QByteArray> HistoryStream::NextFrame(const HistoryLog& log) {
    if (!active_)
        return std::nullopt;
    if (next_ < log.Records().size())
        return BuildResponseFrame(Cmd::HistoryRecord, log.Records()[next_++]);
    active_ = false;
    return BuildResponseFrame(Cmd::HistoryEnd, {});
}

} // namespace tc8sim
