#include "config/ConfigRecord.h"

#include "config/ConfigFields.h"
#include "config/WholeNumber.h"
#include "protocol/AnsiCodec.h"

namespace {

bool TextTooLong(const QString& text, int maxTextBytes) {
    return ToAnsi(text).size() > maxTextBytes;
}

} // namespace

RecordFault FindFieldFault(const ConfigRecord& record, ConfigField field, int maxTextBytes) {
    const ConfigFieldRow& row = RowOf(field);
    switch (row.Kind) {
    case FieldKind::RawByte:
        return RecordFault::None;
    case FieldKind::Count:
        return WholeNumberLowByte(record.*row.Text) ? RecordFault::None : row.NotWholeNumber;
    case FieldKind::Text:
        return TextTooLong(record.*row.Text, maxTextBytes) ? RecordFault::TextTooLong
                                                           : RecordFault::None;
    }
    return RecordFault::None;
}

RecordFault FindRecordFault(const ConfigRecord& record, int maxTextBytes) {
    RecordFault first = RecordFault::None;
    for (const ConfigFieldRow& row : ConfigFieldRows()) {
        const RecordFault fault = FindFieldFault(record, row.Field, maxTextBytes);
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
