#include "config/ConfigGroups.h"

#include "config/WholeNumber.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"

namespace {

enum class FieldKind { RawByte, Count, Text };

FieldKind KindOf(ConfigField field) {
    switch (field) {
    case ConfigField::TempMin:
    case ConfigField::TempMax:
    case ConfigField::TempKorekta:
    case ConfigField::TempKorekta2:
        return FieldKind::RawByte;
    case ConfigField::TempZapisz:
    case ConfigField::IleDruk:
        return FieldKind::Count;
    default:
        return FieldKind::Text;
    }
}

// The raw byte of a RawByte field, for const and non-const records alike.
template <typename Record> auto& RawByteOf(Record& record, ConfigField field) {
    switch (field) {
    case ConfigField::TempMin:
        return record.TempMin;
    case ConfigField::TempMax:
        return record.TempMax;
    case ConfigField::TempKorekta:
        return record.TempKorekta;
    default:
        return record.TempKorekta2;
    }
}

// The text of a Count or Text field.
template <typename Record> auto& TextOf(Record& record, ConfigField field) {
    switch (field) {
    case ConfigField::TempZapisz:
        return record.TempZapisz;
    case ConfigField::IleDruk:
        return record.IleDruk;
    case ConfigField::TC8name:
        return record.TC8name;
    case ConfigField::TC8Nazwa:
        return record.TC8Nazwa;
    case ConfigField::TC8Typ:
        return record.TC8Typ;
    case ConfigField::TC8Nazwa2:
        return record.TC8Nazwa2;
    default:
        return record.TC8Nazwa3;
    }
}

} // namespace

const std::array<ConfigGroup, 9>& ConfigGroups() {
    using F = ConfigField;
    static const std::array<ConfigGroup, 9> groups{{
        {Cmd::ReadLimits, Cmd::WriteLimits, 10, {F::TempMin, F::TempMax}},
        {Cmd::ReadCorrection1, Cmd::WriteCorrection1, 20, {F::TempKorekta}},
        {Cmd::ReadCorrection2, Cmd::WriteCorrection2, 40, {F::TempKorekta2}},
        {Cmd::ReadCounts, Cmd::WriteCounts, 50, {F::TempZapisz, F::IleDruk}},
        {Cmd::ReadName, Cmd::WriteName, 60, {F::TC8name}},
        {Cmd::ReadHeader1, Cmd::WriteHeader1, 70, {F::TC8Nazwa}},
        {Cmd::ReadType, Cmd::WriteType, 80, {F::TC8Typ}},
        {Cmd::ReadHeader2, Cmd::WriteHeader2, 90, {F::TC8Nazwa2}},
        {Cmd::ReadHeader3, Cmd::WriteHeader3, 100, {F::TC8Nazwa3}},
    }};
    return groups;
}

const ConfigGroup* ConfigGroupForReadCode(quint8 code) {
    for (const ConfigGroup& group : ConfigGroups()) {
        if (group.ReadCode == code)
            return &group;
    }
    return nullptr;
}

RecordFault FindGroupFault(const ConfigGroup& group, const ConfigRecord& record, int maxTextBytes) {
    RecordFault first = RecordFault::None;
    for (const ConfigField field : group.Fields) {
        const RecordFault fault = FindFieldFault(record, field, maxTextBytes);
        if (fault != RecordFault::None && (first == RecordFault::None || fault < first))
            first = fault;
    }
    return first;
}

QByteArray ConfigGroupPayload(const ConfigGroup& group, const ConfigRecord& record) {
    QByteArray payload;
    for (const ConfigField field : group.Fields) {
        switch (KindOf(field)) {
        case FieldKind::RawByte:
            payload.append(static_cast<char>(RawByteOf(record, field)));
            break;
        case FieldKind::Count:
            payload.append(static_cast<char>(RequireWholeNumberLowByte(TextOf(record, field))));
            break;
        case FieldKind::Text:
            payload.append(ToAnsi(TextOf(record, field)));
            break;
        }
    }
    return payload;
}

bool ApplyConfigGroupPayload(const ConfigGroup& group, const QByteArray& payload,
                             ConfigRecord& record) {
    const ConfigField first = group.Fields.front();
    if (KindOf(first) == FieldKind::Text) {
        const qsizetype end = payload.indexOf('\0');
        TextOf(record, first) = FromAnsi(end < 0 ? payload : payload.left(end));
        return true;
    }
    if (payload.size() < group.Fields.size())
        return false;
    for (qsizetype i = 0; i < group.Fields.size(); ++i) {
        const ConfigField field = group.Fields[i];
        const auto byte = static_cast<quint8>(payload[i]);
        if (KindOf(field) == FieldKind::RawByte)
            RawByteOf(record, field) = byte;
        else
            TextOf(record, field) = QString::number(byte);
    }
    return true;
}
