#pragma once

#include "serial/ERsCommError.h"
#include "serial/RsTypes.h"
#include "serial/TRsBuffers.h"
#include "serial/TRsEventChars.h"
#include "serial/TRsFlowControl.h"
#include "serial/TRsHandOff.h"
#include "serial/TRsLineSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class TRsCommWriteThread;
class TRsDevice;
class TRsOwnerThreadCall;
class TRsReceiveWatch;
struct TRsWaitResult;

// Makes the device object of each Open.
using TRsDeviceFactory = std::function<std::unique_ptr<TRsDevice>()>;
// The device path a port name ("COM1") stands for; empty when it stands for nothing.
using TRsPortResolver = std::function<QString(const QString& portName)>;

// The serial-port component: properties, the device's receive watch (TRsReceiveWatch: on
// Linux the owner thread's event loop itself watches the device), the write queue and its
// thread. All public operations are called on the thread that owns the object (the
// user-interface thread); received-bytes events are delivered there.
//
// Property changes: the line settings (speed, framing, options, flow control, characters)
// are applied at once while the port is open; PortNum, DeviceName, DirectWrite, UpdateDCB,
// MonitorEvents and the buffer sizes are refused while it is open. A refused or failed
// change keeps the old value.
//
// When the device goes away (an adapter unplugged, the other end of a pseudo-terminal
// closed) the component stops watching it and raises ERsCommError on the owner thread from
// a queued call, so it reaches the program-wide handler; the port stays open until Close,
// sends nothing, reads nothing, and can be opened again after Close. Any other write
// failure is raised the same way, once for a run of failures, while the write thread keeps
// the bytes and tries them again.
class TRsCustomComm : public QObject {
    Q_OBJECT
public:
    explicit TRsCustomComm(QObject* owner = nullptr);
    ~TRsCustomComm() override;

    int PortNum() const { return portNum_; }
    void SetPortNum(int value);
    // A format with one "%d" that takes PortNum.
    QString DeviceName() const { return deviceName_; }
    void SetDeviceName(const QString& value);
    TRsBaudrate Baudrate() const { return baudrate_; }
    // Anything but brUser also sets UserBaudrate to 0.
    void SetBaudrate(TRsBaudrate value);
    int UserBaudrate() const { return userBaudrate_; }
    // A new value also sets Baudrate to brUser.
    void SetUserBaudrate(int bitsPerSecond);
    TRsParity Parity() const { return parity_; }
    void SetParity(TRsParity value);
    bool ParityCheck() const { return parityCheck_; }
    void SetParityCheck(bool value);
    TRsDatabits Databits() const { return databits_; }
    void SetDatabits(TRsDatabits value);
    TRsStopbits Stopbits() const { return stopbits_; }
    void SetStopbits(TRsStopbits value);
    TRsCommOptions Options() const { return options_; }
    void SetOptions(TRsCommOptions value);
    // The groups notify the port of every change made through their setters.
    TRsFlowControl& FlowControl() { return flowControl_; }
    void SetFlowControl(const TRsFlowControl& value) { flowControl_.Assign(value); }
    TRsEventChars& EventChars() { return eventChars_; }
    void SetEventChars(const TRsEventChars& value) { eventChars_.Assign(value); }
    TRsBuffers& Buffers() { return buffers_; }
    void SetBuffers(const TRsBuffers& value) { buffers_.Assign(value); }
    TRsCommEvents MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TRsCommEvents value);
    TRsThreadPriority EventPriority() const { return eventPriority_; }
    void SetEventPriority(TRsThreadPriority value);
    TRsThreadPriority WritePriority() const { return writePriority_; }
    void SetWritePriority(TRsThreadPriority value);
    bool DirectWrite() const { return directWrite_; }
    void SetDirectWrite(bool value);
    bool UpdateDCB() const { return updateDCB_; }
    void SetUpdateDCB(bool value);
    // The platform's device unless set; taken at the next Open. Tests put a device of their
    // own between the component and the platform's.
    void SetDeviceFactory(TRsDeviceFactory factory) { deviceFactory_ = std::move(factory); }
    // How Open finds the device of DeviceName and PortNum; by default the entry of that name
    // in the ports folder, else the name's own device (ResolvePortPath).
    void SetPortResolver(TRsPortResolver resolver) { portResolver_ = std::move(resolver); }

    // Opens the device named by DeviceName and PortNum. A device that cannot be opened
    // (missing, not a terminal, in use, no access) raises ERsOpenError, a conversion error;
    // later failures close it again and raise ERsCommError.
    void Open();
    // Stops watching and writing and closes the device; bytes still queued for writing are
    // dropped.
    void Close();
    bool IsOpen() const { return device_ != nullptr; }
    // The open device has gone away (unplugged, its other end closed); it stays open, doing
    // nothing, until closed.
    bool IsDeviceGone() const { return IsOpen() && deviceGone_; }
    // Writes the line settings to the open device (nothing when closed or UpdateDCB is off).
    void ApplyLineSettings();

    // Queues the bytes for the write thread (or, with DirectWrite, writes them at once).
    // Returns the count accepted: 0 on a closed port.
    int WriteBuf(const char* data, int count);
    bool WriteText(const QByteArray& text);
    int ReadBuf(char* buffer, int count);
    // Every byte waiting now (inside OnRxChar: those of the call, which were read from the
    // device before it); empty when none waits or the port is closed.
    QByteArray ReadText();
    // Received bytes waiting; 0 when the port is closed.
    int InQueue();
    // Bytes written that have not yet gone to the device; 0 when the port is closed. A
    // program that closes the port after its last request waits for this to reach 0.
    int OutQueue();
    void SetDTR(bool on);
    void SetRTS(bool on);

    // Raised on the owner's thread when bytes are waiting (Sender, Count), one call at a
    // time, also while the handler pumps events: bytes that arrive during a call come with
    // the next one.
    std::function<void(TRsCustomComm& sender, int count)> OnRxChar;

private:
    // Run on the owner thread when the write thread posts: takes the work it left in the
    // hand-off.
    void ServiceHandOff();
    // The receive watch's report; the watch stays disarmed until it has been handled.
    void ReceiveReported(const TRsWaitResult& result);
    // Reads what the device holds (one read, as much as the read buffer has room for) into
    // received_; finds a device that has gone.
    void TakeReceived();
    // Arms the receive watch again, unless the device has gone, the port is closed, or the
    // read buffer is full: then the device is left alone until the program reads.
    void WatchAgain();
    // Raises OnRxChar for received_, unless a call is running.
    void CallRxChar();
    int ReadDevice(char* buffer, int count);
    void RefuseWhileOpen() const;
    // Stores a line setting and applies it; a failure restores the old value.
    template <typename T> void ChangeLineSetting(T& field, T value);
    TRsLineSettings LineSettings() const;
    void StartWatchAndWriter();
    void StopWatchAndWriter();
    int WriteDirect(const char* data, int count);
    [[noreturn]] void DeviceGone(const TRsGone& gone);
    [[noreturn]] void RaiseError(const char* format, int error) const;

    int portNum_ = 0;
    QString deviceName_ = QStringLiteral("COM%d");
    TRsBaudrate baudrate_ = br1200;
    int userBaudrate_ = 0;
    TRsParity parity_ = paNone;
    bool parityCheck_ = false;
    TRsDatabits databits_ = db8;
    TRsStopbits stopbits_ = sb1;
    TRsCommOptions options_;
    TRsFlowControl flowControl_;
    TRsEventChars eventChars_;
    TRsBuffers buffers_;
    TRsCommEvents monitorEvents_{ceError, ceRxChar, ceTxEmpty};
    TRsThreadPriority eventPriority_ = tpNormal;
    TRsThreadPriority writePriority_ = tpHighest;
    bool directWrite_ = false;
    bool updateDCB_ = true;

    TRsDeviceFactory deviceFactory_;
    TRsPortResolver portResolver_;
    std::unique_ptr<TRsDevice> device_;
    bool deviceGone_ = false;
    // Bytes the receive watch's report took from the device that no handler has read yet:
    // they come before the device's in every read.
    QByteArray received_;
    bool handlingRx_ = false;
    bool receiveParked_ = false; // the read buffer was full: the watch is not armed
    std::shared_ptr<TRsHandOff> handOff_;
    TRsOwnerThreadCall* serviceCall_; // a child object
    std::unique_ptr<TRsReceiveWatch> receiveWatch_;
    std::unique_ptr<TRsCommWriteThread> writeThread_;
};
