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
    for (const ResponseFrame& frame : Assembler.Feed(delivery)) {
        ResponsePayload = frame.Payload;
        ResponseCode = frame.Code;
        LatestAnswers.insert(frame.Code, TAnswer{frame.Payload, RequestsSent});
        DispatchResponse(frame.Code, frame.Payload);
    }
}
