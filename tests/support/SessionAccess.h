#pragma once

#include "protocol/TRecorderSession.h"
#include "serial/TRsComm.h"

// The tests' one way into the recorder session's private state: the flags and buffers they
// watch, and the steps they call directly.
//   Inside(session).LoggedOn, Inside(session).ExtractFrame(bytes)
class TSessionTestAccess {
public:
    explicit TSessionTestAccess(TRecorderSession& session)
        : LoggedOn(session.LoggedOn), PollEnabled(session.PollEnabled),
          ExchangeBusy(session.ExchangeBusy), WaitsInProgress(session.WaitsInProgress),
          LastRequestFrame(session.LastRequestFrame), ResponseCode(session.ResponseCode),
          ResponsePayload(session.ResponsePayload), LastSingleRxByte(session.LastSingleRxByte),
          HistoryStopRequested(session.HistoryStopRequested), Timer(session.Timer),
          RsComm(session.RsComm), session_(session) {}

    static void SetTickInterval(TRecorderSession& session, int milliseconds) {
        session.SetTickIntervalForTests(milliseconds);
    }

    bool& LoggedOn;
    bool& PollEnabled;
    bool& ExchangeBusy;
    int& WaitsInProgress;
    QByteArray& LastRequestFrame;
    std::uint8_t& ResponseCode;
    QByteArray& ResponsePayload;
    std::uint8_t& LastSingleRxByte;
    bool& HistoryStopRequested;
    QTimer*& Timer;
    TRsComm*& RsComm;

    void ExtractFrame(const QByteArray& delivery) { session_.ExtractFrame(delivery); }
    void TimerTimer() { session_.TimerTimer(); }
    bool SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) {
        return session_.SendFirmwareBlock(payload, repeatsLeft);
    }
    bool WaitForBlockAcknowledgement() { return session_.WaitForBlockAcknowledgement(); }

private:
    TRecorderSession& session_;
};

inline TSessionTestAccess Inside(TRecorderSession& session) {
    return TSessionTestAccess(session);
}
inline TSessionTestAccess Inside(const std::unique_ptr<TRecorderSession>& session) {
    return TSessionTestAccess(*session);
}
