#pragma once

#include "config/ConfigRecord.h"
#include "protocol/TRecorderSession.h"
#include "serial/TRsComm.h"
#include "ui/TMain.h"

#include <memory>

// The tests' and benchmarks' one way into the private state of the main window and of its
// recorder session: the flags and buffers they watch, and the handlers they call directly.
//   Inside(window).LoggedOn, Inside(window).ExtractFrame(bytes)
class TMainTestAccess {
public:
    explicit TMainTestAccess(TMain& window)
        : LoggedOn(session(window).LoggedOn), PollEnabled(session(window).PollEnabled),
          ExchangeBusy(session(window).ExchangeBusy),
          WaitsInProgress(session(window).WaitsInProgress),
          HistoryStopRequested(session(window).HistoryStopRequested),
          HistoryStreaming(session(window).State_.HistoryStreaming), State(session(window).State_),
          LastRequestFrame(session(window).LastRequestFrame),
          ResponseCode(session(window).ResponseCode),
          ResponsePayload(session(window).ResponsePayload),
          LastSingleRxByte(session(window).LastSingleRxByte),
          TempMinByte(session(window).Config_.TempMin),
          TempKorektaByte(session(window).Config_.TempKorekta),
          TempKorekta2Byte(session(window).Config_.TempKorekta2),
          FileBuffer(session(window).FileBuffer_), Timer(session(window).Timer),
          RsComm(session(window).RsComm), window_(window), session_(session(window)) {}

    bool& LoggedOn;
    bool& PollEnabled;
    bool& ExchangeBusy;
    int& WaitsInProgress;
    bool& HistoryStopRequested;
    bool& HistoryStreaming;
    TSessionState& State;
    QByteArray& LastRequestFrame;
    std::uint8_t& ResponseCode;
    QByteArray& ResponsePayload;
    std::uint8_t& LastSingleRxByte;
    std::uint8_t& TempMinByte;
    std::uint8_t& TempKorektaByte;
    std::uint8_t& TempKorekta2Byte;
    QByteArray& FileBuffer;
    QTimer*& Timer;
    TRsComm*& RsComm;

    void SetTickIntervalForTests(int milliseconds) {
        session_.SetTickIntervalForTests(milliseconds);
    }
    ConfigRecord CurrentConfig() const { return window_.CurrentConfig(); }
    void SendRequest(std::uint8_t code, const QByteArray& payload) {
        session_.SendRequest(code, payload);
    }
    bool WaitForResponse(std::uint16_t timeout, std::uint8_t expected) {
        return session_.WaitForResponse(timeout, expected);
    }
    void ExtractFrame(const QByteArray& delivery) { session_.ExtractFrame(delivery); }
    TRecorderSession& Session() { return session_; }
    void TimerTimer() { session_.TimerTimer(); }
    void Edit_hasloExit() { window_.Edit_hasloExit(); }
    void ShowSessionState() { window_.ShowSessionState(); }
    void EnterLoggedOn() { window_.EnterLoggedOn(); }
    void DisableDeviceControls() { window_.DisableDeviceControls(); }
    bool SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) {
        return session_.SendFirmwareBlock(payload, repeatsLeft);
    }
    bool WaitForBlockAcknowledgement() { return session_.WaitForBlockAcknowledgement(); }

    void TempMinChange() { window_.TempMinChange(); }
    void TempMaxChange() { window_.TempMaxChange(); }
    void TempZapiszChange() { window_.TempZapiszChange(); }
    void IleDrukChange() { window_.IleDrukChange(); }
    void TC8TypChange() { window_.TC8TypChange(); }
    void TC8nameChange() { window_.TC8nameChange(); }
    void TC8NazwaChange() { window_.TC8NazwaChange(); }
    void TC8Nazwa2Change() { window_.TC8Nazwa2Change(); }
    void TC8Nazwa3Change() { window_.TC8Nazwa3Change(); }
    void TempKorektaChange() { window_.TempKorektaChange(); }

private:
    static TRecorderSession& session(TMain& window) { return *window.Session; }

    TMain& window_;
    TRecorderSession& session_;
};

inline TMainTestAccess Inside(TMain& window) {
    return TMainTestAccess(window);
}
inline TMainTestAccess Inside(TMain* window) {
    return TMainTestAccess(*window);
}
inline TMainTestAccess Inside(const std::unique_ptr<TMain>& window) {
    return TMainTestAccess(*window);
}
