#pragma once

#include <QString>

// Text forms of the configuration's raw bytes, as the editor fields show them.

// Limit encoding (TempMin, TempMax), excess-128 whole degrees: 128..255 show "+0".."+127",
// 0..127 show "-128".."-1".
QString LimitText(quint8 byte);

// Correction encoding (TempKorekta, TempKorekta2), sign in bit 7 and tenths of a degree in
// bits 0-6: "+12,7", "-0,1". Byte 128, a minus zero, shows "+0,0".
QString CorrectionText(quint8 byte);
