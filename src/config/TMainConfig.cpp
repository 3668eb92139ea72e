// The main window's configuration: the session's record as the edit fields show it, its
// sync marks, the progress of an exchange, and the clicks that start one.
#include "ui/TMain.h"

#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"
#include "config/Encodings.h"
#include "protocol/TRecorderSession.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"

#include <QLabel>
#include <array>

const TMain::ConfigFieldControl& TMain::ControlOf(ConfigField field) {
    using F = ConfigField;
    using C = TMainControls;
    // In the order of the enumeration.
    static const std::array<ConfigFieldControl, ConfigFieldCount> controls{{
        {F::TempMin, &C::TempMin, &TMain::TempMinChange, &TMain::ShowTempMin},
        {F::TempMax, &C::TempMax, &TMain::TempMaxChange, &TMain::ShowTempMax},
        {F::TempKorekta, &C::TempKorekta, &TMain::TempKorektaChange, &TMain::ShowCorrections},
        {F::TempKorekta2, &C::TempKorekta2, &TMain::TempKorektaChange, &TMain::ShowCorrections},
        {F::TempZapisz, &C::TempZapisz, &TMain::TempZapiszChange},
        {F::IleDruk, &C::IleDruk, &TMain::IleDrukChange},
        {F::TC8name, &C::TC8name, &TMain::TC8nameChange},
        {F::TC8Nazwa, &C::TC8Nazwa, &TMain::TC8NazwaChange},
        {F::TC8Typ, &C::TC8Typ, &TMain::TC8TypChange},
        {F::TC8Nazwa2, &C::TC8Nazwa2, &TMain::TC8Nazwa2Change},
        {F::TC8Nazwa3, &C::TC8Nazwa3, &TMain::TC8Nazwa3Change},
    }};
    return controls[static_cast<std::size_t>(field)];
}

void TMain::SetConfigStartupValues() {
    const ConfigRecord defaults;
    for (const ConfigFieldRow& row : ConfigFieldRows()) {
        if (row.Kind == FieldKind::RawByte)
            Session->SetConfigByte(row.Field, defaults.*row.Byte);
        else
            ConfigEdit(row.Field)->setText(defaults.*row.Text);
    }
    ShowTempMax();
    ShowTempMin();
    ShowCorrections();
    for (const ConfigField field : StartupMarkOrder)
        MarkInStep(field);
}

const ConfigRecord& TMain::CurrentConfig() const {
    return Session->Config();
}

TEdit* TMain::ConfigEdit(ConfigField field) const {
    return this->*ControlOf(field).Edit;
}

// Takes one field from the record into the session and the window; a changed text marks
// the field edited through its change handler.
void TMain::ShowConfigField(ConfigField field, const ConfigRecord& record) {
    const ConfigFieldRow& row = RowOf(field);
    if (row.Kind == FieldKind::RawByte) {
        Session->SetConfigByte(field, record.*row.Byte);
        (this->*ControlOf(field).Show)();
    } else {
        ConfigEdit(field)->setText(record.*row.Text);
    }
}

void TMain::MarkInStep(ConfigField field) {
    ConfigEdit(field)->SetColor(Colors::InStep);
}

void TMain::ShowTempMin() {
    TempMin->setText(LimitText(CurrentConfig().TempMin));
}

void TMain::ShowTempMax() {
    TempMax->setText(LimitText(CurrentConfig().TempMax));
}

void TMain::ShowCorrections() {
    TempKorekta->setText(CorrectionText(CurrentConfig().TempKorekta));
    TempKorekta2->setText(CorrectionText(CurrentConfig().TempKorekta2));
}

void TMain::ReportRecordFault(RecordFault fault) {
    // Said as the conversion error it stands in for is said: with the default beep.
    desk().Beep();
    desk().ShowMessage(MessageKind::Error, RecordFaultMessage(fault));
}

// An answer's values are in the session already: the field shows them, then is in step.
void TMain::ConfigFieldReceived(ConfigField field) {
    ShowConfigField(field, CurrentConfig());
    MarkInStep(field);
}

void TMain::ShowConfigProgress(const QString& caption, int position, int maximum) {
    Label_Bar->setText(caption);
    Bar->SetPosition(position);
    Bar->SetMax(maximum);
}

void TMain::SpeedButton3Click() {
    Session->ReadConfig();
}

void TMain::Pobierz1Click() {
    Session->ReadConfig();
}

void TMain::Icon_putClick() {
    Session->WriteConfig();
}

void TMain::Zapisz1Click() {
    Session->WriteConfig();
}
