// Placeholder until the component lands: a port that never opens.
#include "serial/TRsCustomComm.h"

TRsCustomComm::TRsCustomComm(QObject* owner) : QObject(owner) {}
TRsCustomComm::~TRsCustomComm() = default;
int TRsCustomComm::PortNum() const { return 0; }
void TRsCustomComm::SetPortNum(int) {}
TRsBaudrate TRsCustomComm::Baudrate() const { return br1200; }
void TRsCustomComm::SetBaudrate(TRsBaudrate) {}
TRsParity TRsCustomComm::Parity() const { return paNone; }
void TRsCustomComm::SetParity(TRsParity) {}
TRsDatabits TRsCustomComm::Databits() const { return db8; }
void TRsCustomComm::SetDatabits(TRsDatabits) {}
TRsStopbits TRsCustomComm::Stopbits() const { return sb1; }
void TRsCustomComm::SetStopbits(TRsStopbits) {}
void TRsCustomComm::Open() { throw EConvertError(QStringLiteral("not available")); }
void TRsCustomComm::Close() {}
bool TRsCustomComm::IsOpen() const { return false; }
bool TRsCustomComm::WriteText(const QByteArray&) { return false; }
QByteArray TRsCustomComm::ReadText() { return {}; }
void TRsCustomComm::SetDTR(bool) {}
void TRsCustomComm::SetRTS(bool) {}
