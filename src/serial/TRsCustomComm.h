#pragma once

#include "serial/ERsCommError.h"
#include "serial/RsTypes.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

// The serial-port component: properties, the write queue and the two background threads
// (event thread and write thread). All public operations are called on the thread that
// owns the object (the user-interface thread); received-bytes events are delivered there.
class TRsCustomComm : public QObject {
    Q_OBJECT
public:
    explicit TRsCustomComm(QObject* owner = nullptr);
    ~TRsCustomComm() override;

    // Published properties (a subset shown here; see the implementation for all of them).
    int PortNum() const;
    void SetPortNum(int value);
    TRsBaudrate Baudrate() const;
    void SetBaudrate(TRsBaudrate value);
    TRsParity Parity() const;
    void SetParity(TRsParity value);
    TRsDatabits Databits() const;
    void SetDatabits(TRsDatabits value);
    TRsStopbits Stopbits() const;
    void SetStopbits(TRsStopbits value);

    void Open();
    void Close();
    bool IsOpen() const;
    bool WriteText(const QByteArray& text);
    QByteArray ReadText();
    void SetDTR(bool on);
    void SetRTS(bool on);

    // Raised on the owner's thread when bytes are waiting (Sender, Count).
    std::function<void(TRsCustomComm& sender, int count)> OnRxChar;
};
