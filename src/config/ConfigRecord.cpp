#include "config/ConfigRecord.h"

#include "config/WholeNumber.h"
#include "protocol/AnsiCodec.h"

namespace {

bool TextTooLong(const QString& text, int maxTextBytes) {
    return ToAnsi(text).size() > maxTextBytes;
}

} // namespace

RecordFault FindFieldFault(const ConfigRecord& record, ConfigField field, int maxTextBytes) {
    bool tooLong = false;
    switch (field) {
    case ConfigField::TempMin:
    case ConfigField::TempMax:
    case ConfigField::TempKorekta:
    case ConfigField::TempKorekta2:
        return RecordFault::None;
    case ConfigField::IleDruk:
        return WholeNumberLowByte(record.IleDruk) ? RecordFault::None
                                                  : RecordFault::IleDrukNotWholeNumber;
    case ConfigField::TempZapisz:
        return WholeNumberLowByte(record.TempZapisz) ? RecordFault::None
                                                     : RecordFault::TempZapiszNotWholeNumber;
    case ConfigField::TC8name:
        tooLong = TextTooLong(record.TC8name, maxTextBytes);
        break;
    case ConfigField::TC8Nazwa:
        tooLong = TextTooLong(record.TC8Nazwa, maxTextBytes);
        break;
    case ConfigField::TC8Typ:
        tooLong = TextTooLong(record.TC8Typ, maxTextBytes);
        break;
    case ConfigField::TC8Nazwa2:
        tooLong = TextTooLong(record.TC8Nazwa2, maxTextBytes);
        break;
    case ConfigField::TC8Nazwa3:
        tooLong = TextTooLong(record.TC8Nazwa3, maxTextBytes);
        break;
    }
    return tooLong ? RecordFault::TextTooLong : RecordFault::None;
}

RecordFault FindRecordFault(const ConfigRecord& record, int maxTextBytes) {
    using F = ConfigField;
    RecordFault first = RecordFault::None;
    for (const ConfigField field :
         {F::TempMin, F::TempMax, F::TempKorekta, F::TempKorekta2, F::TempZapisz, F::IleDruk,
          F::TC8name, F::TC8Nazwa, F::TC8Typ, F::TC8Nazwa2, F::TC8Nazwa3}) {
        const RecordFault fault = FindFieldFault(record, field, maxTextBytes);
        if (fault != RecordFault::None && (first == RecordFault::None || fault < first))
            first = fault;
    }
    return first;
}

QString RecordFaultMessage(RecordFault fault) {
    switch (fault) {
    case RecordFault::IleDrukNotWholeNumber:
        return QStringLiteral("Nieprawidłowa liczba raportów do wydruku");
    case RecordFault::TempZapiszNotWholeNumber:
        return QStringLiteral("Nieprawidłowy odstęp zapisu temperatury");
    case RecordFault::TextTooLong:
        return QStringLiteral("Tekst konfiguracji jest za długi");
    case RecordFault::None:
        break;
    }
    return {};
}
