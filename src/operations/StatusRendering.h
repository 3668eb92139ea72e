#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The texts of the status group, rendered from the 14-byte payload of a status answer.
// Members are named after the fields that show them.
struct StatusTexts {
    QString Temp;          // temperature 1, "+21.5"
    QString Temp2;         // temperature 2
    QString Udc;           // supply voltage, "+12,5V"
    bool SupplyOk = false; // lime green background when set, red otherwise
    QString RUwe;          // raw supply reading, decimal
    QString Ruac;          // auxiliary raw reading, decimal
    QString Data;          // recorder date, "2026.12.07"
    QString czas;          // recorder time, "01:30:05"
    bool operator==(const StatusTexts&) const = default;
};

inline constexpr int StatusPayloadSize = 14;
inline constexpr int SupplyOkThreshold = 599;

// The rendered status, or nothing for a payload shorter than 14 bytes (bytes beyond 14 are
// ignored).
std::optional<StatusTexts> RenderStatus(const QByteArray& payload);

// The supply voltage of a raw reading: 17.25 mV per count plus 0.48 V, truncated to tenths,
// with "+" and a decimal comma: 700 gives "+12,5V".
QString SupplyVoltageText(quint16 raw);
