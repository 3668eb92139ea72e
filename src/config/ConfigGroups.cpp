#include "config/ConfigGroups.h"

#include "config/ConfigFields.h"
#include "protocol/AnsiCodec.h"
#include "protocol/Commands.h"

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
    for (const ConfigField field : group.Fields)
        payload.append(FieldBytes(record, field));
    return payload;
}

bool ApplyConfigGroupPayload(const ConfigGroup& group, const QByteArray& payload,
                             ConfigRecord& record) {
    const ConfigFieldRow& first = RowOf(group.Fields.front());
    if (first.Kind == FieldKind::Text) {
        const qsizetype end = payload.indexOf('\0');
        record.*first.Text = FromAnsi(end < 0 ? payload : payload.left(end));
        return true;
    }
    if (payload.size() < group.Fields.size())
        return false;
    for (qsizetype i = 0; i < group.Fields.size(); ++i) {
        const ConfigFieldRow& row = RowOf(group.Fields[i]);
        const auto byte = static_cast<quint8>(payload[i]);
        if (row.Kind == FieldKind::RawByte)
            record.*row.Byte = byte;
        else
            record.*row.Text = QString::number(byte);
    }
    return true;
}
