#pragma once

#include <QByteArray>
#include <cstddef>
#include <optional>

namespace tc8sim {

class HistoryLog;

// A running history download: after its start answer the recorder sends every record as an
// unsolicited frame (code 0x47), then the end marker (code 0x46), unless it is stopped.
class HistoryStream {
public:
    void Start();
    void Stop() { active_ = false; }
    bool Active() const { return active_; }

    // The next frame of the stream (a record, or the end marker that finishes it); nothing
    // when no stream runs.
    std::optional<QByteArray> NextFrame(const HistoryLog& log);

private:
    bool active_ = false;
    std::size_t next_ = 0;
};

} // namespace tc8sim
