#pragma once

#include "config/ConfigRecord.h"
#include "ui/TMain.h"

#include <memory>

// The tests' and benchmarks' one way into the main window's private state: the flags and
// buffers they watch, and the handlers they call directly.
//   Inside(window).LoggedOn, Inside(window).ExtractFrame(bytes)
class TMainTestAccess {
public:
    explicit TMainTestAccess(TMain& window)
        : LoggedOn(window.LoggedOn), PollEnabled(window.PollEnabled),
          ExchangeBusy(window.ExchangeBusy), WaitsInProgress(window.WaitsInProgress),
          HistoryStopRequested(window.HistoryStopRequested),
          LastRequestFrame(window.LastRequestFrame), ResponseCode(window.ResponseCode),
          ResponsePayload(window.ResponsePayload), LastSingleRxByte(window.LastSingleRxByte),
          TempMinByte(window.TempMinByte), TempKorektaByte(window.TempKorektaByte),
          TempKorekta2Byte(window.TempKorekta2Byte), FileBuffer(window.FileBuffer),
          Timer(window.Timer), RsComm(window.RsComm), window_(window) {}

    bool& LoggedOn;
    bool& PollEnabled;
    bool& ExchangeBusy;
    int& WaitsInProgress;
    bool& HistoryStopRequested;
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
        window_.SetTickIntervalForTests(milliseconds);
    }
    ConfigRecord CurrentConfig() const { return window_.CurrentConfig(); }
    void SendRequest(std::uint8_t code, const QByteArray& payload) {
        window_.SendRequest(code, payload);
    }
    bool WaitForResponse(std::uint16_t timeout, std::uint8_t expected) {
        return window_.WaitForResponse(timeout, expected);
    }
    void ExtractFrame(const QByteArray& delivery) { window_.ExtractFrame(delivery); }
    void TimerTimer() { window_.TimerTimer(); }
    void Edit_hasloExit() { window_.Edit_hasloExit(); }
    void EnterLoggedOn() { window_.EnterLoggedOn(); }
    void DisableDeviceControls() { window_.DisableDeviceControls(); }
    bool SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) {
        return window_.SendFirmwareBlock(payload, repeatsLeft);
    }
    bool WaitForBlockAcknowledgement() { return window_.WaitForBlockAcknowledgement(); }

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
    TMain& window_;
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
