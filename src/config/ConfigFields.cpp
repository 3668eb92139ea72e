#include "config/ConfigFields.h"

#include "config/Encodings.h"
#include "config/WholeNumber.h"
#include "protocol/AnsiCodec.h"

namespace {
using F = ConfigField;
using R = ConfigRecord;
} // namespace

const std::array<ConfigFieldRow, ConfigFieldCount>& ConfigFieldRows() {
    static const std::array<ConfigFieldRow, ConfigFieldCount> rows{{
        {F::TempMin, FieldKind::RawByte, &R::TempMin},
        {F::TempMax, FieldKind::RawByte, &R::TempMax},
        {F::TempKorekta, FieldKind::RawByte, &R::TempKorekta},
        {F::TempKorekta2, FieldKind::RawByte, &R::TempKorekta2},
        {F::TempZapisz, FieldKind::Count, nullptr, &R::TempZapisz,
         RecordFault::TempZapiszNotWholeNumber},
        {F::IleDruk, FieldKind::Count, nullptr, &R::IleDruk, RecordFault::IleDrukNotWholeNumber},
        {F::TC8name, FieldKind::Text, nullptr, &R::TC8name},
        {F::TC8Nazwa, FieldKind::Text, nullptr, &R::TC8Nazwa},
        {F::TC8Typ, FieldKind::Text, nullptr, &R::TC8Typ},
        {F::TC8Nazwa2, FieldKind::Text, nullptr, &R::TC8Nazwa2},
        {F::TC8Nazwa3, FieldKind::Text, nullptr, &R::TC8Nazwa3},
    }};
    return rows;
}

const ConfigFieldRow& RowOf(ConfigField field) {
    return ConfigFieldRows()[static_cast<std::size_t>(field)];
}

const ConfigFieldOrder ConfigFileOrder{F::TC8Nazwa,     F::TC8Nazwa2,  F::TC8Nazwa3, F::TC8name,
                                       F::TC8Typ,       F::TempMin,    F::TempMax,   F::TempKorekta,
                                       F::TempKorekta2, F::TempZapisz, F::IleDruk};

const ConfigFieldOrder StartupMarkOrder{F::TempKorekta, F::TempKorekta2, F::TempMin, F::TempMax,
                                        F::TempZapisz,  F::TC8name,      F::TC8Typ,  F::TC8Nazwa,
                                        F::TC8Nazwa2,   F::TC8Nazwa3,    F::IleDruk};

QByteArray FieldBytes(const ConfigRecord& record, ConfigField field) {
    const ConfigFieldRow& row = RowOf(field);
    switch (row.Kind) {
    case FieldKind::RawByte:
        return QByteArray(1, static_cast<char>(record.*row.Byte));
    case FieldKind::Count:
        return QByteArray(1, static_cast<char>(RequireWholeNumberLowByte(record.*row.Text)));
    case FieldKind::Text:
        return ToAnsi(record.*row.Text);
    }
    return {};
}

QString ConfigFieldName(ConfigField field) {
    switch (field) {
    case ConfigField::TempMin:
        return QStringLiteral("TempMin");
    case ConfigField::TempMax:
        return QStringLiteral("TempMax");
    case ConfigField::TempKorekta:
        return QStringLiteral("TempKorekta");
    case ConfigField::TempKorekta2:
        return QStringLiteral("TempKorekta2");
    case ConfigField::TempZapisz:
        return QStringLiteral("TempZapisz");
    case ConfigField::IleDruk:
        return QStringLiteral("IleDruk");
    case ConfigField::TC8name:
        return QStringLiteral("TC8name");
    case ConfigField::TC8Nazwa:
        return QStringLiteral("TC8Nazwa");
    case ConfigField::TC8Typ:
        return QStringLiteral("TC8Typ");
    case ConfigField::TC8Nazwa2:
        return QStringLiteral("TC8Nazwa2");
    case ConfigField::TC8Nazwa3:
        return QStringLiteral("TC8Nazwa3");
    }
    return {};
}

QString ConfigFieldText(const ConfigRecord& record, ConfigField field) {
    const ConfigFieldRow& row = RowOf(field);
    if (row.Kind != FieldKind::RawByte)
        return record.*row.Text;
    const quint8 byte = record.*row.Byte;
    const bool limit = field == ConfigField::TempMin || field == ConfigField::TempMax;
    return limit ? LimitText(byte) : CorrectionText(byte);
}
