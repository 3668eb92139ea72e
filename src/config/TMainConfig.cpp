// The main window's configuration: the record as the edit fields show it, its sync marks,
// and its nine-group exchange with the recorder.
#include "ui/TMain.h"

#include "config/ConfigFields.h"
#include "config/ConfigGroups.h"
#include "config/ConfigRecord.h"
#include "config/Encodings.h"
#include "core/Guarded.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/TRecorderSession.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/Texts.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>
#include <array>

namespace {

const QByteArray ReadRequestPayload("G");
constexpr int ReadProgressMax = 20;
constexpr int WriteProgressMax = 100;
// Pending events handled before each read request, so that the line and the window settle.
constexpr int ReadSettlePasses = 251;

} // namespace

const TMain::ConfigFieldControl& TMain::ControlOf(ConfigField field) {
    using F = ConfigField;
    using C = TMainControls;
    // In the order of the enumeration.
    static const std::array<ConfigFieldControl, ConfigFieldCount> controls{{
        {F::TempMin, &C::TempMin, &TMain::TempMinChange, &TMain::TempMinByte, &TMain::ShowTempMin},
        {F::TempMax, &C::TempMax, &TMain::TempMaxChange, &TMain::TempMaxByte, &TMain::ShowTempMax},
        {F::TempKorekta, &C::TempKorekta, &TMain::TempKorektaChange, &TMain::TempKorektaByte,
         &TMain::ShowCorrections},
        {F::TempKorekta2, &C::TempKorekta2, &TMain::TempKorektaChange, &TMain::TempKorekta2Byte,
         &TMain::ShowCorrections},
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
        const ConfigFieldControl& control = ControlOf(row.Field);
        if (row.Kind == FieldKind::RawByte)
            this->*control.Byte = defaults.*row.Byte;
        else
            (this->*control.Edit)->setText(defaults.*row.Text);
    }
    ShowTempMax();
    ShowTempMin();
    ShowCorrections();
    for (const ConfigField field : StartupMarkOrder)
        MarkInStep(field);
}

ConfigRecord TMain::CurrentConfig() const {
    ConfigRecord record;
    for (const ConfigFieldRow& row : ConfigFieldRows()) {
        const ConfigFieldControl& control = ControlOf(row.Field);
        if (row.Kind == FieldKind::RawByte)
            record.*row.Byte = this->*control.Byte;
        else
            record.*row.Text = (this->*control.Edit)->text();
    }
    return record;
}

TEdit* TMain::ConfigEdit(ConfigField field) const {
    return this->*ControlOf(field).Edit;
}

// Takes one field from the record into the window; a changed text marks the field edited
// through its change handler.
void TMain::ShowConfigField(ConfigField field, const ConfigRecord& record) {
    const ConfigFieldRow& row = RowOf(field);
    const ConfigFieldControl& control = ControlOf(field);
    if (row.Kind == FieldKind::RawByte) {
        this->*control.Byte = record.*row.Byte;
        (this->*control.Show)();
    } else {
        ConfigEdit(field)->setText(record.*row.Text);
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
    Icon_get->setEnabled(enabled && HeldBackExchange == nullptr);
    Icon_put->setEnabled(enabled && HeldBackExchange == nullptr);
}

void TMain::SetConfigMenuEnabled(bool enabled) {
    Pobierz1->setEnabled(enabled && HeldBackExchange == nullptr);
    Zapisz1->setEnabled(enabled && HeldBackExchange == nullptr);
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
    // The read handles events between its groups too; "ROZŁĄCZ" there ends it as in a wait.
    const std::uint32_t session = Session->CurrentSession();
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
        if (Session->IsLoggedOn())
            EnableConfigExchanges();
    });

    for (const ConfigGroup& group : ConfigGroups()) {
        const std::uint8_t code = group.ReadCode;
        Session->RestartPollCount();
        for (int pass = 0; pass < ReadSettlePasses; ++pass)
            desk().ProcessMessages();
        Session->ThrowIfSessionEnded(session);
        Session->SendRequest(code, ReadRequestPayload);
        // ConfigReceived applies the answer while the wait handles events.
        if (!Session->WaitForResponse(Cmd::ShortTimeout, code)) {
            desk().ShowMessage(MessageKind::Error, Texts::NoAnswer);
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
    const std::uint32_t session = Session->CurrentSession();
    SetConfigIconsEnabled(false);
    DisableDeviceControls();
    Panel_bar->show();
    Label_Bar->setText(QStringLiteral("Wysyłam konfiguracje do nadajnika"));
    Bar->SetPosition(0);
    Bar->SetMax(WriteProgressMax);
    // However the write ends, also by an error raised inside.
    const auto ended = qScopeGuard([this] {
        Panel_bar->hide();
        if (Session->IsLoggedOn())
            EnableConfigExchanges();
    });
    desk().ProcessMessages();
    Session->ThrowIfSessionEnded(session);

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
        if (!Session->SendWithRetry(group.WriteCode, payload, Cmd::ShortTimeout))
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
// still logged on. One click is one exchange: while it waits, the icons and the two "Dane"
// items are off, as the exchange itself will leave them.
void TMain::StartConfigExchange(void (TMain::*exchange)()) {
    if (HeldBackExchange != nullptr)
        return;
    if (Session->Waits() == 0) {
        (this->*exchange)();
        return;
    }
    HeldBackExchange = exchange;
    SetConfigIconsEnabled(false);
    SetConfigMenuEnabled(false);
    if (HeldBackRetry == nullptr) {
        HeldBackRetry = new QTimer(this);
        HeldBackRetry->setSingleShot(true);
        connect(HeldBackRetry, &QTimer::timeout, this, Guarded(this, &TMain::RunHeldBackExchange));
    }
    HeldBackRetry->start(Session->TickInterval());
}

void TMain::RunHeldBackExchange() {
    if (HeldBackExchange == nullptr)
        return;
    if (Session->Waits() > 0) {
        HeldBackRetry->start(Session->TickInterval());
        return;
    }
    const auto exchange = HeldBackExchange;
    DropHeldBackExchange();
    (this->*exchange)();
}

// The controls go back to what they were when the click came (the icons were on, the menu
// items only in the logged-on state without an operation); whatever drops the exchange (a
// logoff, another operation) then sets them as it needs.
void TMain::DropHeldBackExchange() {
    if (HeldBackExchange == nullptr)
        return;
    HeldBackExchange = nullptr;
    HeldBackRetry->stop();
    SetConfigIconsEnabled(true);
    SetConfigMenuEnabled(Session->IsLoggedOn() && Session->IsPollEnabled());
}

void TMain::BeginOperation() {
    DropHeldBackExchange();
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
