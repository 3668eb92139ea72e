#pragma once

#include "config/ConfigRecord.h"

#include <QByteArray>
#include <optional>

// The configuration file (tag "rcf"): the logon password and the ConfigRecord. After the
// tag come six texts, each a length byte and its Windows-1250 bytes (password, TC8Nazwa,
// TC8Nazwa2, TC8Nazwa3, TC8name, TC8Typ), then TempMin, TempMax, TempKorekta, TempKorekta2,
// the low bytes of TempZapisz and IleDruk, and the check byte.

struct ConfigFileContents {
    QString Password;
    ConfigRecord Record;
    bool operator==(const ConfigFileContents&) const = default;
};

// The image of a file, or the reason it cannot be built: a count that is not a whole
// number, or a text (the password included) longer than the 255 bytes a length byte can
// count. Image is empty whenever Fault is not None.
struct ConfigFileImage {
    QByteArray Image;
    RecordFault Fault = RecordFault::None;
};

inline constexpr int MaxConfigFileText = 255;

ConfigFileImage BuildConfigFile(const QString& password, const ConfigRecord& record);

// The contents of a file image whose container has been checked already. Nothing when the
// body is shorter than its length bytes require; bytes between IleDruk and the check byte
// are ignored. The counts become the decimal texts of their bytes, and each text becomes
// FileTextForField of its bytes.
std::optional<ConfigFileContents> ParseConfigFile(const QByteArray& image);

// A text of a file as a field takes it: it ends at its first zero byte, as the recorder's
// texts do, and characters that no one can type into a field (control characters) are left
// out. Otherwise a hand-made file could put into a field, and send to the recorder, what
// reading it back would not give.
QString FileTextForField(const QByteArray& bytes);
