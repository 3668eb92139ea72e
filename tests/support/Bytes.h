#pragma once

#include <QByteArray>
#include <initializer_list>

// Bytes from their values: Bytes({0x01, 0xFF}).
inline QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (const int value : values)
        result.append(static_cast<char>(value));
    return result;
}
