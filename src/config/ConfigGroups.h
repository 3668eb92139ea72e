#pragma once

#include "config/ConfigRecord.h"

#include <QByteArray>
#include <QList>
#include <array>

// The record travels in nine groups, each read with its even code and written with the next
// odd one. A read answer carries exactly what the group's write request carries: one byte
// per numeric field, or the whole payload for a text.
struct ConfigGroup {
    quint8 ReadCode;
    quint8 WriteCode;
    int WriteProgress; // the write gauge after the group has been acknowledged
    QList<ConfigField> Fields;
};

// The groups in the order in which they are read and written.
const std::array<ConfigGroup, 9>& ConfigGroups();

// The group read with this code, or nullptr.
const ConfigGroup* ConfigGroupForReadCode(quint8 code);

// The first fault among the group's own fields, as FindRecordFault judges it.
RecordFault FindGroupFault(const ConfigGroup& group, const ConfigRecord& record, int maxTextBytes);

// The payload of the group's write request, from the record as it is now. Texts go as their
// Windows-1250 bytes, the counts as the low bytes of their whole numbers. Throws
// EConvertError when a count is not a whole number; FindRecordFault tells beforehand.
QByteArray ConfigGroupPayload(const ConfigGroup& group, const ConfigRecord& record);

// Takes the group's fields from a read answer. A text ends at the first zero byte, if any.
// An answer shorter than the group's layout changes nothing and gives false.
bool ApplyConfigGroupPayload(const ConfigGroup& group, const QByteArray& payload,
                             ConfigRecord& record);
