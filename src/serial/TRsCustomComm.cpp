#include "serial/TRsCustomComm.h"

#include "serial/PortNames.h"
#include "serial/TRsCommWriteThread.h"
#include "serial/TRsDevice.h"
#include "serial/TRsOwnerThreadCall.h"

#include <QDeadlineTimer>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

constexpr int kBitsPerSecond[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                  14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

} // namespace

TRsCustomComm::TRsCustomComm(QObject* owner)
    : QObject(owner), serviceCall_(new TRsOwnerThreadCall([this] { ServiceHandOff(); }, this)) {
    flowControl_.OnChange = [this] { ApplyLineSettings(); };
    eventChars_.OnChange = [this] { ApplyLineSettings(); };
    buffers_.OnChange = [this] { RefuseWhileOpen(); };
}

TRsCustomComm::~TRsCustomComm() {
    Close();
}

void TRsCustomComm::RefuseWhileOpen() const {
    if (IsOpen())
        throw ERsCommError(QStringLiteral("Can't perform this operation while port is open"));
}

void TRsCustomComm::RaiseError(const char* format, int error) const {
    throw ERsCommError(
        QString::asprintf(format, error, qUtf8Printable(device_->SystemMessage(error))));
}

template <typename T> void TRsCustomComm::ChangeLineSetting(T& field, T value) {
    const T old = field;
    field = value;
    auto restore = qScopeGuard([&] { field = old; });
    ApplyLineSettings();
    restore.dismiss();
}

void TRsCustomComm::SetPortNum(int value) {
    RefuseWhileOpen();
    portNum_ = value;
}

void TRsCustomComm::SetDeviceName(const QString& value) {
    RefuseWhileOpen();
    deviceName_ = value;
}

void TRsCustomComm::SetBaudrate(TRsBaudrate value) {
    const int oldUser = userBaudrate_;
    if (value != brUser)
        userBaudrate_ = 0;
    auto restore = qScopeGuard([&] { userBaudrate_ = oldUser; });
    ChangeLineSetting(baudrate_, value);
    restore.dismiss();
}

void TRsCustomComm::SetUserBaudrate(int bitsPerSecond) {
    if (bitsPerSecond == userBaudrate_)
        return;
    const TRsBaudrate oldBaudrate = baudrate_;
    baudrate_ = brUser;
    auto restore = qScopeGuard([&] { baudrate_ = oldBaudrate; });
    ChangeLineSetting(userBaudrate_, bitsPerSecond);
    restore.dismiss();
}

void TRsCustomComm::SetParity(TRsParity value) {
    ChangeLineSetting(parity_, value);
}
void TRsCustomComm::SetParityCheck(bool value) {
    ChangeLineSetting(parityCheck_, value);
}
void TRsCustomComm::SetDatabits(TRsDatabits value) {
    ChangeLineSetting(databits_, value);
}
void TRsCustomComm::SetStopbits(TRsStopbits value) {
    ChangeLineSetting(stopbits_, value);
}
void TRsCustomComm::SetOptions(TRsCommOptions value) {
    ChangeLineSetting(options_, value);
}

void TRsCustomComm::SetMonitorEvents(TRsCommEvents value) {
    RefuseWhileOpen();
    monitorEvents_ = value;
}

void TRsCustomComm::SetEventPriority(TRsThreadPriority value) {
    eventPriority_ = value;
    if (receiveWatch_)
        receiveWatch_->SetPriority(value);
}

void TRsCustomComm::SetWritePriority(TRsThreadPriority value) {
    writePriority_ = value;
    if (writeThread_)
        writeThread_->SetPriority(value);
}

void TRsCustomComm::SetDirectWrite(bool value) {
    RefuseWhileOpen();
    directWrite_ = value;
}

void TRsCustomComm::SetUpdateDCB(bool value) {
    RefuseWhileOpen();
    updateDCB_ = value;
}

TRsLineSettings TRsCustomComm::LineSettings() const {
    TRsLineSettings s;
    s.BitsPerSecond = baudrate_ == brUser ? userBaudrate_ : kBitsPerSecond[baudrate_];
    s.DataBits = 4 + static_cast<int>(databits_);
    s.Parity = parity_;
    s.StopBits = stopbits_;
    s.ParityCheck = parityCheck_;
    s.ReplaceErrors = options_.contains(coErrorChar);
    s.NullStrip = options_.contains(coNullStrip);
    s.OutCtsFlow = flowControl_.OutCtsFlow();
    s.OutDsrFlow = flowControl_.OutDsrFlow();
    s.ControlDtr = flowControl_.ControlDtr();
    s.ControlRts = flowControl_.ControlRts();
    s.XonXoffOut = flowControl_.XonXoffOut();
    s.XonXoffIn = flowControl_.XonXoffIn();
    s.DsrSensitivity = flowControl_.DsrSensitivity();
    s.TxContinueOnXoff = flowControl_.TxContinueOnXoff();
    s.XonChar = eventChars_.XonChar();
    s.XoffChar = eventChars_.XoffChar();
    s.ErrorChar = eventChars_.ErrorChar();
    return s;
}

void TRsCustomComm::Open() {
    RefuseWhileOpen();
    const QString name = FormatDeviceName(deviceName_, portNum_);
    const QString path = portResolver_ ? portResolver_(name) : ResolvePortPath(name, PortsFolder());
    std::unique_ptr<TRsDevice> device = deviceFactory_ ? deviceFactory_() : CreatePlatformDevice();
    if (const int error = path.isEmpty() ? ENOENT : device->Open(path)) {
        const QString message = device->SystemMessage(error);
        throw ERsOpenError(QStringLiteral("Cannot open %1 (%2): %3").arg(name, path, message), name,
                           path, error, message);
    }
    device_ = std::move(device);
    deviceGone_ = false;
    auto closeAgain = qScopeGuard([this] {
        StopWatchAndWriter();
        device_->Close();
        device_.reset();
    });
    ApplyLineSettings();
    StartWatchAndWriter();
    closeAgain.dismiss();
}

void TRsCustomComm::StartWatchAndWriter() {
    handOff_ = std::make_shared<TRsHandOff>();
    TRsOwnerThreadCall* const serviceCall = serviceCall_;
    auto post = [serviceCall] { serviceCall->Post(); };
    // The component watches for received bytes and, with either event, for the device going
    // away; the other line events are not used by the program.
    const bool watchRx = monitorEvents_.contains(ceRxChar);
    if (watchRx || monitorEvents_.contains(ceError)) {
        receiveWatch_ = device_->CreateReceiveWatch(
            watchRx ? TRsWaitFor::Readable : TRsWaitFor::Hangup, eventPriority_,
            [this](const TRsWaitResult& result) { ReceiveReported(result); });
    }
    if (!directWrite_) {
        writeThread_ = std::make_unique<TRsCommWriteThread>(
            *device_, *handOff_, buffers_.WriteSize(), writePriority_, post);
    }
}

void TRsCustomComm::StopWatchAndWriter() {
    if (handOff_)
        handOff_->Release();
    receiveWatch_.reset();
    writeThread_.reset();
    handOff_.reset();
}

void TRsCustomComm::Close() {
    if (!IsOpen())
        return;
    StopWatchAndWriter();
    device_->Close();
    device_.reset();
    received_.clear();
    receiveParked_ = false;
}

void TRsCustomComm::ApplyLineSettings() {
    if (!IsOpen() || !updateDCB_)
        return;
    if (const int error = device_->ApplyLineSettings(LineSettings()))
        RaiseError("Error writing dcb (%d), %s", error);
}

void TRsCustomComm::ReceiveReported(const TRsWaitResult& result) {
    if (deviceGone_)
        return; // already reported; the watch stays quiet
    if (result.kind == TRsWaitResult::Gone)
        DeviceGone({result.error, false});
    // However the handling ends, the device is watched again. A port the handler opened
    // again has a fresh watch, armed already, to which arming does nothing.
    const auto handled = qScopeGuard([this] { WatchAgain(); });
    TakeReceived();
    CallRxChar();
}

void TRsCustomComm::WatchAgain() {
    receiveParked_ = received_.size() >= buffers_.ReadSize();
    if (receiveWatch_ && !deviceGone_ && !receiveParked_)
        receiveWatch_->Arm();
}

void TRsCustomComm::TakeReceived() {
    char chunk[4096];
    const int room = std::min(static_cast<int>(sizeof chunk),
                              buffers_.ReadSize() - static_cast<int>(received_.size()));
    if (room <= 0)
        return;
    const int read = ReadDevice(chunk, room);
    if (read > 0) {
        received_.append(chunk, read);
        return;
    }
    // Nothing to read: the watch may have woken for a hang-up that only a wait shows.
    const TRsWaitResult now = device_->Wait(TRsWaitFor::Readable, nullptr, 0);
    if (now.kind == TRsWaitResult::Gone)
        DeviceGone({now.error, false});
}

void TRsCustomComm::CallRxChar() {
    if (received_.isEmpty() || !OnRxChar || handlingRx_)
        return;
    handlingRx_ = true;
    const auto done = qScopeGuard([this] {
        handlingRx_ = false;
        // Bytes the handler left come with another call, as new bytes would.
        if (!received_.isEmpty())
            serviceCall_->Post();
    });
    OnRxChar(*this, static_cast<int>(received_.size()));
}

void TRsCustomComm::ServiceHandOff() {
    const std::shared_ptr<TRsHandOff> handOff = handOff_;
    if (!handOff)
        return;
    CallRxChar();
    if (handOff_ != handOff)
        return; // the handler closed the port
    const TRsGone gone = handOff->TakeGone();
    if (gone.error != 0 && !deviceGone_)
        DeviceGone(gone);
    // The write thread goes on trying the bytes; the failure is only reported.
    const int lineError = handOff->TakeLineError();
    if (lineError != 0 && !deviceGone_)
        RaiseError("Write error (%d), %s", lineError);
}

void TRsCustomComm::DeviceGone(const TRsGone& gone) {
    deviceGone_ = true;
    handOff_->MarkGone();
    RaiseError(gone.whileWriting ? "Write error (%d), %s" : "Read error (%d), %s", gone.error);
}

int TRsCustomComm::InQueue() {
    if (!IsOpen() || deviceGone_)
        return 0;
    const TRsTransfer waiting = device_->InQueue();
    // A device that has gone can fail here before the receive watch reports it: reported
    // once, as the read that found it gone.
    if (waiting.gone)
        DeviceGone({waiting.error, false});
    if (waiting.error != 0)
        RaiseError("Error retrieving statistics (%d), %s", waiting.error);
    return static_cast<int>(received_.size()) + waiting.count;
}

int TRsCustomComm::OutQueue() {
    return IsOpen() && writeThread_ ? writeThread_->Queued() : 0;
}

int TRsCustomComm::ReadBuf(char* buffer, int count) {
    if (!IsOpen() || deviceGone_ || count <= 0)
        return 0;
    const int taken = std::min(count, static_cast<int>(received_.size()));
    std::copy_n(received_.constData(), taken, buffer);
    received_.remove(0, taken);
    if (receiveParked_)
        WatchAgain();
    return taken + (taken < count ? ReadDevice(buffer + taken, count - taken) : 0);
}

int TRsCustomComm::ReadDevice(char* buffer, int count) {
    const TRsTransfer read = device_->Read(buffer, count);
    if (read.gone)
        DeviceGone({read.error, false});
    if (read.error != 0)
        RaiseError("Read error (%d), %s", read.error);
    return read.count;
}

QByteArray TRsCustomComm::ReadText() {
    if (!IsOpen() || deviceGone_)
        return {};
    // In a handler: what the watch's report read, with no call into the system. Bytes that
    // reached the device since come with the next call.
    if (!received_.isEmpty()) {
        QByteArray bytes = std::exchange(received_, {});
        if (receiveParked_)
            WatchAgain();
        return bytes;
    }
    // Without asking for the count first: a read that does not fill the chunk has taken
    // everything waiting.
    char chunk[4096];
    QByteArray bytes;
    int read;
    do {
        read = ReadDevice(chunk, sizeof chunk);
        bytes.append(chunk, read);
    } while (read == static_cast<int>(sizeof chunk));
    return bytes;
}

int TRsCustomComm::WriteBuf(const char* data, int count) {
    if (!IsOpen() || deviceGone_ || count <= 0)
        return 0;
    if (directWrite_)
        return WriteDirect(data, count);
    switch (writeThread_->Offer(data, count, buffers_.WriteTimeout())) {
    case TRsCommWriteThread::TOffer::Accepted:
        return count;
    case TRsCommWriteThread::TOffer::Ended:
        return 0;
    case TRsCommWriteThread::TOffer::NoRoom:
        break;
    }
    throw ERsCommError(QStringLiteral("Output buffer is full. Please check comm status."));
}

int TRsCustomComm::WriteDirect(const char* data, int count) {
    const QDeadlineTimer deadline(buffers_.WriteTimeout());
    int written = 0;
    while (written < count) {
        const TRsTransfer sent = device_->Write(data + written, count - written);
        written += sent.count;
        if (sent.gone)
            DeviceGone({sent.error, true});
        if (sent.error != 0)
            RaiseError("Write error (%d), %s", sent.error);
        if (sent.count > 0)
            continue;
        const TRsWaitResult room = device_->Wait(TRsWaitFor::Writable, nullptr,
                                                 static_cast<int>(deadline.remainingTime()));
        if (room.kind == TRsWaitResult::Gone)
            DeviceGone({room.error, true});
        if (room.kind == TRsWaitResult::TimedOut)
            break;
    }
    return written;
}

bool TRsCustomComm::WriteText(const QByteArray& text) {
    if (!IsOpen() || deviceGone_)
        return false;
    return WriteBuf(text.constData(), static_cast<int>(text.size())) == text.size();
}

void TRsCustomComm::SetDTR(bool on) {
    if (flowControl_.ControlDtr() == dtrHandshake) {
        throw ERsCommError(
            QStringLiteral("DTR line updates not allowed when flowcontrol is set to Handshake."));
    }
    if (!IsOpen())
        return;
    if (const int error = device_->SetDtr(on))
        RaiseError("Error calling comm function (%d), %s", error);
}

void TRsCustomComm::SetRTS(bool on) {
    const TRsControlRts control = flowControl_.ControlRts();
    if (control == rtsHandshake || control == rtsToggle) {
        throw ERsCommError(QStringLiteral(
            "RTS line updates not allowed when flowcontrol is set to Handshake or Toggle."));
    }
    if (!IsOpen())
        return;
    if (const int error = device_->SetRts(on))
        RaiseError("Error calling comm function (%d), %s", error);
}
