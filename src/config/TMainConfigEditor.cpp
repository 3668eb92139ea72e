// The configuration editor: spin buttons that step the numeric settings, the sync marks of
// changed fields, and the rules of the typed count of reports.
#include "ui/TMain.h"

#include "config/ConfigFields.h"
#include "config/Stepping.h"
#include "core/Guarded.h"
#include "protocol/TRecorderSession.h"
#include "ui/Colors.h"
#include "ui/TEdit.h"
#include "ui/TSpinButton.h"

#include <QAction>
#include <QToolButton>
#include <utility>

void TMain::ConnectConfigHandlers() {
    const std::pair<TSpinButton*, std::pair<void (TMain::*)(), void (TMain::*)()>> spins[] = {
        {SpinButton3, {&TMain::SpinButton3UpClick, &TMain::SpinButton3DownClick}},
        {SpinButton2, {&TMain::SpinButton2UpClick, &TMain::SpinButton2DownClick}},
        {SpinButton1, {&TMain::SpinButton1UpClick, &TMain::SpinButton1DownClick}},
        {SpinButton5, {&TMain::SpinButton5UpClick, &TMain::SpinButton5DownClick}},
        {SpinButton4, {&TMain::SpinButton4UpClick, &TMain::SpinButton4DownClick}},
    };
    for (const auto& [spin, handlers] : spins) {
        connect(spin, &TSpinButton::UpClick, this, Guarded(this, handlers.first));
        connect(spin, &TSpinButton::DownClick, this, Guarded(this, handlers.second));
    }

    for (const ConfigFieldRow& row : ConfigFieldRows()) {
        TEdit* edit = ConfigEdit(row.Field);
        // What a field holds as text is the session's value; the temperatures' texts only
        // show the bytes the session holds.
        if (row.Kind != FieldKind::RawByte)
            connect(edit, &QLineEdit::textChanged, this,
                    [this, field = row.Field](const QString& text) {
                        Session->SetConfigText(field, text);
                    });
        connect(edit, &QLineEdit::textChanged, this, Guarded(this, ControlOf(row.Field).Changed));
    }

    IleDruk->OnKeyPress = Guarded(this, &TMain::IleDrukKeyPress);
    IleDruk->OnExit = Guarded(this, &TMain::IleDrukExit);

    connect(Icon_get, &QToolButton::clicked, this, Guarded(this, &TMain::SpeedButton3Click));
    connect(Icon_put, &QToolButton::clicked, this, Guarded(this, &TMain::Icon_putClick));
    connect(Pobierz1, &QAction::triggered, this, Guarded(this, &TMain::Pobierz1Click));
    connect(Zapisz1, &QAction::triggered, this, Guarded(this, &TMain::Zapisz1Click));
    connect(Odczyt1, &QAction::triggered, this, Guarded(this, &TMain::Odczyt1Click));
    connect(Zapis1, &QAction::triggered, this, Guarded(this, &TMain::Zapis1Click));
}

void TMain::MarkEdited(TEdit* field) {
    field->SetColor(Colors::Red);
}

void TMain::TempMinChange() {
    MarkEdited(TempMin);
}

void TMain::TempMaxChange() {
    MarkEdited(TempMax);
}

void TMain::TempZapiszChange() {
    MarkEdited(TempZapisz);
}

void TMain::IleDrukChange() {
    MarkEdited(IleDruk);
}

void TMain::TC8TypChange() {
    MarkEdited(TC8Typ);
}

void TMain::TC8nameChange() {
    MarkEdited(TC8name);
}

void TMain::TC8NazwaChange() {
    MarkEdited(TC8Nazwa);
}

void TMain::TC8Nazwa2Change() {
    MarkEdited(TC8Nazwa2);
}

void TMain::TC8Nazwa3Change() {
    MarkEdited(TC8Nazwa3);
}

void TMain::TempKorektaChange() {
    // A correction's text changes only with its value, which its spin button has marked.
}

// Limits: the mark comes from the text change, so a click at a bound leaves it as it was.
void TMain::SpinButton3UpClick() {
    Session->SetConfigByte(ConfigField::TempMin, LimitUp(CurrentConfig().TempMin));
    ShowTempMin();
}

void TMain::SpinButton3DownClick() {
    Session->SetConfigByte(ConfigField::TempMin, LimitDown(CurrentConfig().TempMin));
    ShowTempMin();
}

void TMain::SpinButton2UpClick() {
    Session->SetConfigByte(ConfigField::TempMax, LimitUp(CurrentConfig().TempMax));
    ShowTempMax();
}

void TMain::SpinButton2DownClick() {
    Session->SetConfigByte(ConfigField::TempMax, LimitDown(CurrentConfig().TempMax));
    ShowTempMax();
}

// Corrections: every click marks the field, also when the value stays at a bound.
void TMain::SpinButton1UpClick() {
    TempKorekta->SetColor(Colors::Red);
    Session->SetConfigByte(ConfigField::TempKorekta, CorrectionUp(CurrentConfig().TempKorekta));
    ShowCorrections();
}

void TMain::SpinButton1DownClick() {
    TempKorekta->SetColor(Colors::Red);
    Session->SetConfigByte(ConfigField::TempKorekta, CorrectionDown(CurrentConfig().TempKorekta));
    ShowCorrections();
}

void TMain::SpinButton5UpClick() {
    TempKorekta2->SetColor(Colors::Red);
    Session->SetConfigByte(ConfigField::TempKorekta2, CorrectionUp(CurrentConfig().TempKorekta2));
    ShowCorrections();
}

void TMain::SpinButton5DownClick() {
    TempKorekta2->SetColor(Colors::Red);
    Session->SetConfigByte(ConfigField::TempKorekta2, CorrectionDown(CurrentConfig().TempKorekta2));
    ShowCorrections();
}

// The interval: marked on every click, also at a bound.
void TMain::SpinButton4UpClick() {
    TempZapisz->setText(IntervalUp(TempZapisz->text()));
    TempZapisz->SetColor(Colors::Red);
}

void TMain::SpinButton4DownClick() {
    TempZapisz->setText(IntervalDown(TempZapisz->text()));
    TempZapisz->SetColor(Colors::Red);
}

void TMain::IleDrukKeyPress(QChar& key) {
    const char16_t c = key.unicode();
    const bool allowed = c == u'\r' || c == u'\b' || c == u'+' || (c >= u'0' && c <= u'9');
    if (!allowed)
        key = QChar(0);
}

void TMain::IleDrukExit() {
    if (IleDruk->text().isEmpty())
        IleDruk->setText(ConfigRecord{}.IleDruk);
}
