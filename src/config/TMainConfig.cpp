// The main window's configuration: the record as the edit fields show it, its sync marks,
// and its nine-group exchange with the recorder.
#include "ui/TMain.h"

#include "app/Guarded.h"
#include "config/ConfigGroups.h"
#include "config/ConfigRecord.h"
#include "config/Encodings.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>

namespace {

const QByteArray ReadRequestPayload("G");
constexpr int ReadProgressMax = 20;
constexpr int WriteProgressMax = 100;
// Pending events handled before each read request, so that the line and the window settle.
constexpr int ReadSettlePasses = 251;

} // namespace

void TMain::SetConfigStartupValues() {
    TempMinByte = 132;
    TempMaxByte = 138;
    TempKorektaByte = 0;
    TempKorekta2Byte = 0;
    ShowTempMax();
    ShowTempMin();
    ShowCorrections();
    for (TEdit* field : {TempKorekta, TempKorekta2, TempMin, TempMax, TempZapisz, TC8name, TC8Typ,
                         TC8Nazwa, TC8Nazwa2, TC8Nazwa3, IleDruk})
        field->SetColor(Colors::InStep);
}

ConfigRecord TMain::CurrentConfig() const {
    ConfigRecord record;
    record.TempMin = TempMinByte;
    record.TempMax = TempMaxByte;
    record.TempKorekta = TempKorektaByte;
    record.TempKorekta2 = TempKorekta2Byte;
    record.TempZapisz = TempZapisz->text();
    record.IleDruk = IleDruk->text();
    record.TC8name = TC8name->text();
    record.TC8Nazwa = TC8Nazwa->text();
    record.TC8Typ = TC8Typ->text();
    record.TC8Nazwa2 = TC8Nazwa2->text();
    record.TC8Nazwa3 = TC8Nazwa3->text();
    return record;
}

TEdit* TMain::ConfigEdit(ConfigField field) const {
    switch (field) {
    case ConfigField::TempMin:
        return TempMin;
    case ConfigField::TempMax:
        return TempMax;
    case ConfigField::TempKorekta:
        return TempKorekta;
    case ConfigField::TempKorekta2:
        return TempKorekta2;
    case ConfigField::TempZapisz:
        return TempZapisz;
    case ConfigField::IleDruk:
        return IleDruk;
    case ConfigField::TC8name:
        return TC8name;
    case ConfigField::TC8Nazwa:
        return TC8Nazwa;
    case ConfigField::TC8Typ:
        return TC8Typ;
    case ConfigField::TC8Nazwa2:
        return TC8Nazwa2;
    case ConfigField::TC8Nazwa3:
        return TC8Nazwa3;
    }
    return nullptr;
}

// Takes one field from the record into the window; a changed text marks the field edited
// through its change handler.
void TMain::ShowConfigField(ConfigField field, const ConfigRecord& record) {
    switch (field) {
    case ConfigField::TempMin:
        TempMinByte = record.TempMin;
        ShowTempMin();
        return;
    case ConfigField::TempMax:
        TempMaxByte = record.TempMax;
        ShowTempMax();
        return;
    case ConfigField::TempKorekta:
        TempKorektaByte = record.TempKorekta;
        ShowCorrections();
        return;
    case ConfigField::TempKorekta2:
        TempKorekta2Byte = record.TempKorekta2;
        ShowCorrections();
        return;
    case ConfigField::TempZapisz:
        TempZapisz->setText(record.TempZapisz);
        return;
    case ConfigField::IleDruk:
        IleDruk->setText(record.IleDruk);
        return;
    case ConfigField::TC8name:
        TC8name->setText(record.TC8name);
        return;
    case ConfigField::TC8Nazwa:
        TC8Nazwa->setText(record.TC8Nazwa);
        return;
    case ConfigField::TC8Typ:
        TC8Typ->setText(record.TC8Typ);
        return;
    case ConfigField::TC8Nazwa2:
        TC8Nazwa2->setText(record.TC8Nazwa2);
        return;
    case ConfigField::TC8Nazwa3:
        TC8Nazwa3->setText(record.TC8Nazwa3);
        return;
    }
}

void TMain::MarkInStep(ConfigField field) {
    ConfigEdit(field)->SetColor(Colors::InStep);
}

void TMain::ShowTempMin() {
    TempMin->setText(LimitText(TempMinByte));
}

void TMain::ShowTempMax() {
    TempMax->setText(LimitText(TempMaxByte));
}

void TMain::ShowCorrections() {
    TempKorekta->setText(CorrectionText(TempKorektaByte));
    TempKorekta2->setText(CorrectionText(TempKorekta2Byte));
}

void TMain::SetConfigIconsEnabled(bool enabled) {
    Icon_get->setEnabled(enabled);
    Icon_put->setEnabled(enabled);
}

void TMain::EnableConfigExchanges() {
    EnableDeviceControls();
    SetConfigIconsEnabled(true);
}

// Said as the conversion error it stands in for is said: with the default beep.
void TMain::ReportRecordFault(RecordFault fault) {
    desk().Beep();
    desk().ShowMessage(MessageKind::Error, RecordFaultMessage(fault));
}

// A record that cannot be sent whole is refused before anything goes out, so the recorder
// is never left half-written by it.
bool TMain::ConfigReadyToSend() {
    const RecordFault fault = FindRecordFault(CurrentConfig(), MaxRequestPayload);
    if (fault == RecordFault::None)
        return true;
    ReportRecordFault(fault);
    return false;
}

void TMain::ReadConfigFromRecorder() {
    SetConfigIconsEnabled(false);
    DisableDeviceControls();
    Panel_bar->show();
    Label_Bar->setText(QStringLiteral("Pobieram konfiguracje nadajnika"));
    Bar->SetPosition(0);
    Bar->SetMax(ReadProgressMax);
    // An error raised inside (a re-send that finds the output queue full) must not leave
    // a logged-on window with its device controls and poll switched off.
    auto raised = qScopeGuard([this] {
        Panel_bar->hide();
        if (LoggedOn)
            EnableConfigExchanges();
    });

    for (const ConfigGroup& group : ConfigGroups()) {
        const std::uint8_t code = group.ReadCode;
        PollTickCounter = 0;
        for (int pass = 0; pass < ReadSettlePasses; ++pass)
            desk().ProcessMessages();
        SendRequest(code, ReadRequestPayload);
        // ConfigReceived applies the answer while the wait handles events.
        if (!WaitForResponse(Cmd::ShortTimeout, code)) {
            desk().ShowMessage(MessageKind::Error,
                               QStringLiteral("Brak odpowiedzi z rejestratora TC-8"));
            Bar->SetPosition(code);
            break;
        }
        Bar->SetPosition(code);
        if (code == Cmd::LastConfigRead) {
            EnableConfigExchanges();
            break;
        }
        desk().ProcessMessages();
    }
    raised.dismiss();
    Panel_bar->hide();
}

void TMain::WriteConfigToRecorder() {
    if (!ConfigReadyToSend())
        return;
    SetConfigIconsEnabled(false);
    DisableDeviceControls();
    Panel_bar->show();
    Label_Bar->setText(QStringLiteral("Wysyłam konfiguracje do nadajnika"));
    Bar->SetPosition(0);
    Bar->SetMax(WriteProgressMax);
    // However the write ends, also by an error raised inside.
    const auto ended = qScopeGuard([this] {
        Panel_bar->hide();
        if (LoggedOn)
            EnableConfigExchanges();
    });
    desk().ProcessMessages();

    for (const ConfigGroup& group : ConfigGroups()) {
        // The fields stay editable while the write waits; each group goes as it is now, and
        // only its own values can stop it.
        const ConfigRecord record = CurrentConfig();
        if (const RecordFault fault = FindGroupFault(group, record, MaxRequestPayload);
            fault != RecordFault::None) {
            ReportRecordFault(fault);
            break;
        }
        const QByteArray payload = ConfigGroupPayload(group, record);
        if (!SendWithRetry(group.WriteCode, payload, Cmd::ShortTimeout))
            break; // reported, and logged off, by the wait
        Bar->SetPosition(group.WriteProgress);
        for (const ConfigField field : group.Fields)
            MarkInStep(field);
    }
}

void TMain::ConfigReceived(std::uint8_t code, const QByteArray& payload) {
    const ConfigGroup* group = ConfigGroupForReadCode(code);
    if (group == nullptr)
        return;
    ConfigRecord record = CurrentConfig();
    // An answer too short for its group carries nothing the window could trust.
    if (!ApplyConfigGroupPayload(*group, payload, record))
        return;
    for (const ConfigField field : group->Fields) {
        ShowConfigField(field, record);
        MarkInStep(field);
    }
}

// The buttons stay enabled while the status poll waits for its answer, and while history
// records are being handled after STOP. An operation started inside either would take the
// line from under it: the poll's wait would then never see its answer and log the window
// off. So the operation waits for the line to be free, and starts then if the window is
// still logged on; a click is never lost.
void TMain::StartConfigExchange(void (TMain::*exchange)()) {
    if (WaitsInProgress == 0) {
        (this->*exchange)();
        return;
    }
    QTimer::singleShot(Timer->interval(), this, Guarded([this, exchange] {
                           if (LoggedOn)
                               StartConfigExchange(exchange);
                       }));
}

void TMain::SpeedButton3Click() {
    StartConfigExchange(&TMain::ReadConfigFromRecorder);
}

void TMain::Pobierz1Click() {
    StartConfigExchange(&TMain::ReadConfigFromRecorder);
}

void TMain::Icon_putClick() {
    StartConfigExchange(&TMain::WriteConfigToRecorder);
}

void TMain::Zapisz1Click() {
    StartConfigExchange(&TMain::WriteConfigToRecorder);
}
