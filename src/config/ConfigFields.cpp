#include "config/ConfigFields.h"

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
