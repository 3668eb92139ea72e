#include "FuzzChecks.h"

#include "protocol/Frame.h"
#include "protocol/FrameAssembler.h"

#include <optional>
#include <vector>

namespace {

struct Side {
    char Marker;
    int MaxPayload;
};

// The complete, valid frame that starts at `at`, if there is one.
std::optional<ResponseFrame> ValidFrameAt(const QByteArray& stream, qsizetype at, Side side) {
    if (at + 3 > stream.size() || stream[at] != side.Marker)
        return std::nullopt;
    const int length = static_cast<std::uint8_t>(stream[at + 2]);
    const qsizetype checksumAt = at + 3 + length;
    if (length > side.MaxPayload || checksumAt >= stream.size())
        return std::nullopt;
    if (FrameChecksum(stream.mid(at, 3 + length)) != static_cast<std::uint8_t>(stream[checksumAt]))
        return std::nullopt;
    return ResponseFrame{static_cast<std::uint8_t>(stream[at + 1]), stream.mid(at + 3, length)};
}

QByteArray FrameBytes(const ResponseFrame& frame, Side side) {
    QByteArray bytes(1, side.Marker);
    bytes.append(static_cast<char>(frame.Code));
    bytes.append(static_cast<char>(frame.Payload.size()));
    bytes.append(frame.Payload);
    bytes.append(static_cast<char>(FrameChecksum(bytes)));
    return bytes;
}

using Frames = std::vector<ResponseFrame>;

// Feeds the deliveries in turn; checks the leftover buffer after each one.
Frames FeedAll(const std::vector<QByteArray>& deliveries, Side side, std::string& problem) {
    FrameAssembler assembler(side.Marker, side.MaxPayload);
    Frames frames;
    for (const QByteArray& delivery : deliveries) {
        for (ResponseFrame& frame : assembler.Feed(delivery))
            frames.push_back(std::move(frame));
        const QByteArray& left = assembler.ReceiveBuffer();
        // What stays is the beginning of one frame: its marker, and less than a whole frame.
        if (!left.isEmpty() && (left[0] != side.Marker || left.size() > 3 + side.MaxPayload))
            problem = "the receive buffer holds more than one incomplete frame";
    }
    return frames;
}

// Every frame has a payload within the limit and a right checksum, the frames stand in
// the stream in order, and none starting right behind the previous one was passed over.
std::string CheckAgainstStream(const Frames& frames, const QByteArray& stream, Side side) {
    qsizetype end = 0;
    for (const ResponseFrame& frame : frames) {
        if (frame.Payload.size() > side.MaxPayload)
            return "a frame with a payload over the limit";
        const std::optional<ResponseFrame> next = ValidFrameAt(stream, end, side);
        const qsizetype at = stream.indexOf(FrameBytes(frame, side), end);
        if (at < 0)
            return "a frame that is not in the stream with its checksum, in order";
        if (next && (at != end || !(*next == frame)))
            return "a valid frame right behind the previous one was passed over";
        end = at + 4 + frame.Payload.size();
    }
    if (ValidFrameAt(stream, end, side))
        return "a valid frame at the end of the stream was not taken";
    return {};
}

} // namespace

std::string CheckFrameAssembly(const QByteArray& input) {
    if (input.isEmpty())
        return {};
    const Side side = (input[0] & 1) ? Side{RequestMarker, MaxRequestPayload}
                                     : Side{ResponseMarker, MaxResponsePayload};
    std::vector<QByteArray> deliveries;
    QByteArray stream;
    for (qsizetype at = 1; at < input.size();) {
        const int length = static_cast<std::uint8_t>(input[at++]);
        deliveries.push_back(input.mid(at, length));
        stream.append(deliveries.back());
        at += length;
    }

    std::string problem;
    const Frames frames = FeedAll(deliveries, side, problem);
    if (!problem.empty())
        return problem;
    if (std::string wrong = CheckAgainstStream(frames, stream, side); !wrong.empty())
        return wrong;

    std::vector<QByteArray> bytewise;
    for (const char byte : stream)
        bytewise.emplace_back(1, byte);
    if (FeedAll({stream}, side, problem) != frames || FeedAll(bytewise, side, problem) != frames)
        return "the frames depend on how the stream was cut into deliveries";
    return problem;
}
