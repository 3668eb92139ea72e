#pragma once

#include <QString>

// The recorder's configuration as the configurator holds it. The four temperature values
// keep the bytes that travel on the wire; the other fields keep the texts of their edit
// fields and are converted only when sent or saved. Defaults are the start-up values.
struct ConfigRecord {
    quint8 TempMin = 132;    // limit encoding, +4
    quint8 TempMax = 138;    // limit encoding, +10
    quint8 TempKorekta = 0;  // correction encoding, +0,0
    quint8 TempKorekta2 = 0; // correction encoding, +0,0
    QString TempZapisz = QStringLiteral("1");
    QString IleDruk = QStringLiteral("16");
    QString TC8name = QStringLiteral("Rejestrator nr.1");
    QString TC8Nazwa;
    QString TC8Typ;
    QString TC8Nazwa2;
    QString TC8Nazwa3;

    bool operator==(const ConfigRecord&) const = default;
};

// The record's fields, named after the edit fields that show them.
enum class ConfigField {
    TempMin,
    TempMax,
    TempKorekta,
    TempKorekta2,
    TempZapisz,
    IleDruk,
    TC8name,
    TC8Nazwa,
    TC8Typ,
    TC8Nazwa2,
    TC8Nazwa3
};

// Why a record cannot be sent or saved as it is.
enum class RecordFault {
    None,
    IleDrukNotWholeNumber,
    TempZapiszNotWholeNumber,
    TextTooLong // a text's Windows-1250 form is longer than the room for it
};

// The first fault of the record, checked in the order of the enumeration; texts are
// checked against maxTextBytes (MaxRequestPayload on the wire, 255 in a file).
RecordFault FindRecordFault(const ConfigRecord& record, int maxTextBytes);
// The fault of one field, as FindRecordFault judges it.
RecordFault FindFieldFault(const ConfigRecord& record, ConfigField field, int maxTextBytes);

// What the user is told about a fault (empty for None).
QString RecordFaultMessage(RecordFault fault);
