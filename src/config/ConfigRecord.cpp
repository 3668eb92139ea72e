#include "config/ConfigRecord.h"

#include "config/WholeNumber.h"
#include "protocol/AnsiCodec.h"

RecordFault FindRecordFault(const ConfigRecord& record, int maxTextBytes) {
    if (!WholeNumberLowByte(record.IleDruk))
        return RecordFault::IleDrukNotWholeNumber;
    if (!WholeNumberLowByte(record.TempZapisz))
        return RecordFault::TempZapiszNotWholeNumber;
    for (const QString* text : {&record.TC8name, &record.TC8Nazwa, &record.TC8Typ,
                                &record.TC8Nazwa2, &record.TC8Nazwa3}) {
        if (ToAnsi(*text).size() > maxTextBytes)
            return RecordFault::TextTooLong;
    }
    return RecordFault::None;
}
