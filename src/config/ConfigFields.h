#pragma once

#include "config/ConfigRecord.h"

#include <QByteArray>
#include <array>
#include <cstddef>

// How a field of the configuration is held and travels.
enum class FieldKind {
    RawByte, // the byte as it travels on the wire (the temperatures)
    Count,   // a text holding a whole number, sent and saved as its low byte
    Text     // a text, sent and saved as its Windows-1250 bytes
};

// One field of the configuration: its kind and where ConfigRecord keeps it.
struct ConfigFieldRow {
    ConfigField Field;
    FieldKind Kind;
    quint8 ConfigRecord::*Byte = nullptr;  // RawByte fields
    QString ConfigRecord::*Text = nullptr; // Count and Text fields
    // Count fields: the fault of a text that is not a whole number.
    RecordFault NotWholeNumber = RecordFault::None;
};

inline constexpr std::size_t ConfigFieldCount = 11;
using ConfigFieldOrder = std::array<ConfigField, ConfigFieldCount>;

// Every field, in the order of the enumeration.
const std::array<ConfigFieldRow, ConfigFieldCount>& ConfigFieldRows();
const ConfigFieldRow& RowOf(ConfigField field);

// The order of the fields in a configuration file, after the password; a loaded file fills
// the window in the same order.
extern const ConfigFieldOrder ConfigFileOrder;
// The order in which start-up marks every field in step.
extern const ConfigFieldOrder StartupMarkOrder;

// The field's name as the program and its files call it: "TempMin", "TC8Nazwa".
QString ConfigFieldName(ConfigField field);
// The field's value as the window's field shows it: a limit "-2", a correction "+0,5", a text.
QString ConfigFieldText(const ConfigRecord& record, ConfigField field);

// The bytes of one field as a write request or a file carries them: a raw byte as it is, a
// count as the low byte of its whole number, a text as its Windows-1250 bytes. Throws
// EConvertError when a count is not a whole number; FindRecordFault tells beforehand.
QByteArray FieldBytes(const ConfigRecord& record, ConfigField field);
