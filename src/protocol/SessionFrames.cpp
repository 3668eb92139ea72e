// The session's frame layer: sending requests and turning received bytes into answers.
#include "protocol/TRecorderSession.h"

#include "core/Errors.h"
#include "protocol/Frame.h"
#include "serial/TRsComm.h"

#include <QScopeGuard>

void TRecorderSession::SendRequest(std::uint8_t code, const QByteArray& payload) {
    if (payload.size() > MaxRequestPayload)
        throw Exception(QStringLiteral("Request payload too long"));
    ExchangeBusy = true;
    // Also when the write raises (a full output queue): the poll must not stay held back.
    const auto sent = qScopeGuard([this] {
        ExchangeBusy = false;
        PollTickCounter = 0;
    });
    LastRequestFrame = BuildRequestFrame(code, payload);
    // Only an answer that arrives from now on may satisfy a wait.
    ResponseCode = 0;
    ResponsePayload.clear();
    ++RequestsSent;
    RsComm->WriteText(LastRequestFrame);
    if (TraceSink_ != nullptr)
        TraceFrame(TraceEvent::Sent, LastRequestFrame);
}

void TRecorderSession::TraceFrame(TraceEvent event, const QByteArray& frame) {
    TraceSink_->Traced({TraceClock.nsecsElapsed() / 1000, event,
                        static_cast<std::uint8_t>(frame[1]), frame.mid(3, frame.size() - 4),
                        DiscardReason::Noise});
}

void TRecorderSession::TraceReceived(const QByteArray& delivery,
                                     const std::vector<ResponseFrame>& frames,
                                     std::vector<DiscardedBytes>& discarded) {
    const qint64 micros = TraceClock.nsecsElapsed() / 1000;
    // A delivery of one byte that is no part of a frame: the boot loader's acknowledgement.
    if (delivery.size() == 1 && frames.empty() && discarded.size() == 1 &&
        discarded.front().Bytes == delivery) {
        TraceSink_->Traced({micros, TraceEvent::LoneByte, 0, delivery, DiscardReason::Noise});
        return;
    }
    auto run = discarded.begin();
    for (std::size_t i = 0; i <= frames.size(); ++i) {
        for (; run != discarded.end() && run->BeforeFrame == i; ++run)
            TraceSink_->Traced(
                {micros, TraceEvent::Discarded, 0, std::move(run->Bytes), run->Reason});
        if (i < frames.size())
            TraceSink_->Traced({micros, TraceEvent::Received, frames[i].Code, frames[i].Payload,
                                DiscardReason::Noise});
    }
}

void TRecorderSession::RsCommRxChar(TRsCustomComm& /*sender*/, int /*count*/) {
    // A poll started while this delivery is handled (say, under a message box a handler
    // opened) could not get its answer before the handling returns; hold it back.
    ++WaitsInProgress;
    const auto handled = qScopeGuard([this] { --WaitsInProgress; });

    HistorySilentTicks = 0;
    LastSingleRxByte = '/';
    const QByteArray received = RsComm->ReadText();
    if (received.size() == 1)
        LastSingleRxByte = static_cast<std::uint8_t>(received[0]);
    ExtractFrame(received);
}

void TRecorderSession::ExtractFrame(const QByteArray& delivery) {
    // The history lines of this delivery go out when it has been handled, also when a
    // handler raised an error.
    const auto flushed = qScopeGuard([this] { FlushHistoryLines(); });
    std::vector<DiscardedBytes> discarded;
    const std::vector<ResponseFrame> frames =
        Assembler.Feed(delivery, TraceSink_ != nullptr ? &discarded : nullptr);
    // Traced as assembled, before a handler may open a box or a wait of its own.
    if (TraceSink_ != nullptr)
        TraceReceived(delivery, frames, discarded);
    for (const ResponseFrame& frame : frames) {
        ResponsePayload = frame.Payload;
        ResponseCode = frame.Code;
        LatestAnswers.insert(frame.Code, TAnswer{frame.Payload, RequestsSent});
        DispatchResponse(frame.Code, frame.Payload);
    }
}
