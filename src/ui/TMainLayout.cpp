// The main window's containers and controls: names, captions, hints, limits, colours,
// positions and start states. The handlers live with their subsystems.
#include "ui/Colors.h"
#include "ui/ControlBuilders.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"
#include "ui/TGauge.h"
#include "ui/TMain.h"
#include "ui/TSpinButton.h"
#include "ui/Texts.h"
#include "ui/VisibilityWatcher.h"
#include "ui/WindowFont.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>

namespace {

const QString ConfigurationFilter = QStringLiteral("TC-8 konfiguracja|*.rcf");

constexpr int FieldHeight = 21;
constexpr int ButtonHeight = 25;
constexpr int LabelHeight = 15;
// A label sits level with the text of the field beside it.
constexpr int LabelDrop = 3;

// A label level with a field whose top is at fieldTop.
QLabel* addFieldLabel(QWidget* parent, const QString& name, const QString& text, int left,
                      int fieldTop, int width) {
    return addLabel(parent, name, text, QRect(left, fieldTop + LabelDrop, width, LabelHeight));
}

TEdit* addEdit(QWidget* parent, const QString& name, const QRect& place, const QString& text = {}) {
    auto* edit = named(new TEdit(parent), name);
    edit->setGeometry(place);
    edit->setText(text);
    return edit;
}

TEdit* addReadOnlyEdit(QWidget* parent, const QString& name, const QRect& place,
                       const QString& text = {}) {
    TEdit* edit = addEdit(parent, name, place, text);
    edit->setReadOnly(true);
    return edit;
}

TSpinButton* addSpinButton(QWidget* parent, const QString& name, const TEdit* field) {
    auto* spin = named(new TSpinButton(parent), name);
    spin->setGeometry(field->geometry().right() + 2, field->y(), 16, field->height());
    return spin;
}

QGroupBox* addGroupBox(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& place) {
    auto* group = named(new QGroupBox(caption, parent), name);
    group->setGeometry(place);
    return group;
}

QFrame* addPanel(QWidget* parent, const QString& name, const QRect& place) {
    auto* panel = named(new QFrame(parent), name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(place);
    return panel;
}

// The configuration picture buttons: a sheet of settings and the recorder, with an arrow
// from the recorder to the sheet (read) or from the sheet to the recorder (write).
QIcon configurationIcon(bool toRecorder) {
    constexpr int Size = 32;
    QPixmap picture(Size, Size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 2.5, 11, 15));
    painter.setPen(QPen(QColor(90, 90, 160), 1));
    for (int line = 0; line < 4; ++line)
        painter.drawLine(QPointF(4.5, 6.5 + 3 * line), QPointF(11.5, 6.5 + 3 * line));

    painter.setPen(QPen(QColor(30, 30, 40), 1));
    painter.setBrush(QColor(70, 80, 100));
    painter.drawRoundedRect(QRectF(17.5, 1.5, 12, 18), 2, 2);
    painter.setBrush(QColor(170, 230, 150));
    painter.drawRect(QRectF(19.5, 4.5, 8, 5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 60, 40));
    painter.drawEllipse(QRectF(20, 12, 3, 3));
    painter.setBrush(QColor(240, 240, 240));
    painter.drawEllipse(QRectF(24.5, 12, 3, 3));

    const QColor arrowColor = toRecorder ? QColor(200, 30, 30) : QColor(20, 140, 40);
    const qreal tip = toRecorder ? 30 : 2;
    const qreal tail = toRecorder ? 4 : 28;
    const qreal headBase = toRecorder ? tip - 7 : tip + 7;
    painter.setPen(QPen(arrowColor, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(tail, 26), QPointF(headBase, 26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(arrowColor);
    QPainterPath head;
    head.moveTo(tip, 26);
    head.lineTo(headBase, 21);
    head.lineTo(headBase, 31);
    head.closeSubpath();
    painter.drawPath(head);
    painter.end();
    return QIcon(picture);
}

QToolButton* addPictureButton(QWidget* parent, const QString& name, const QString& hint,
                              bool toRecorder, const QRect& place) {
    auto* button = named(new QToolButton(parent), name);
    button->setIcon(configurationIcon(toRecorder));
    button->setIconSize(QSize(32, 32));
    button->setToolTip(hint);
    button->setGeometry(place);
    button->setEnabled(false);
    return button;
}

QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption, bool enabled) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setEnabled(enabled);
    return item;
}

QMenu* addMenu(QMenuBar* bar, const QString& name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->setAccessibleName(caption);
    menu->setFont(bar->font());
    return menu;
}

// Keyboard and assistive access. Tab walks the window in reading order: the connection row,
// then the groups of the left column from top to bottom, then those of the right column.
// Read-only fields are stops too, so that their values can be reached and read out. Each
// field is heard by the label beside it. The spin buttons take no focus: the keys of their
// fields step them, and their halves are named so that assistive tools can press them.
void setKeyboardAccess(TMain& w) {
    QWidget* const order[] = {w.Combo_Port,
                              w.Edit_haslo,
                              w.Button_polacz,
                              w.Button_rozlacz,
                              w.Icon_get,
                              w.Icon_put,
                              w.Edit_status,
                              w.Edit_logon,
                              w.ButtonRestart,
                              w.ButtonFirmware,
                              w.Button_zmiana_hasla,
                              w.ButtonKasuj,
                              w.TempKorekta,
                              w.TempKorekta2,
                              w.TempMin,
                              w.TempMax,
                              w.TempZapisz,
                              w.Temp,
                              w.Temp2,
                              w.Udc,
                              w.Data,
                              w.czas,
                              w.ButtonCzas,
                              w.TC8Nazwa,
                              w.TC8Nazwa2,
                              w.TC8Nazwa3,
                              w.TC8Typ,
                              w.TC8name,
                              w.IleDruk,
                              w.ButtonPobierz,
                              w.ButtonSTOP,
                              w.ButtonZapisz,
                              w.trm};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // Tab leaves the history box instead of typing into it.
    w.trm->setTabChangesFocus(true);

    const std::pair<QLabel*, QWidget*> labelled[] = {{w.Label_Port, w.Combo_Port},
                                                     {w.Label_haslo, w.Edit_haslo},
                                                     {w.Label_Korekta1, w.TempKorekta},
                                                     {w.Label_Korekta2, w.TempKorekta2},
                                                     {w.Label_Min, w.TempMin},
                                                     {w.Label_Max, w.TempMax},
                                                     {w.Label_Zapisz, w.TempZapisz},
                                                     {w.Label_Temp, w.Temp},
                                                     {w.Label_Temp2, w.Temp2},
                                                     {w.Label_Udc, w.Udc},
                                                     {w.Label_Data, w.Data},
                                                     {w.Label_czas, w.czas},
                                                     {w.Label_Naglowek1, w.TC8Nazwa},
                                                     {w.Label_Naglowek2, w.TC8Nazwa2},
                                                     {w.Label_Naglowek3, w.TC8Nazwa3},
                                                     {w.Label_TypNazwa, w.TC8Typ},
                                                     {w.Label_IleDruk, w.IleDruk}};
    for (const auto& [label, field] : labelled)
        labelField(label, field);
    // One label stands for two fields, and some controls have no label of their own.
    const std::pair<QWidget*, QString> unlabelled[] = {
        {w.TC8Typ, QStringLiteral("Typ")},
        {w.TC8name, QStringLiteral("Nazwa")},
        {w.Edit_status, QStringLiteral("Stan portu")},
        {w.Edit_logon, QStringLiteral("Stan logowania")},
        {w.Icon_get, w.Icon_get->toolTip()},
        {w.Icon_put, w.Icon_put->toolTip()},
        {w.trm, QStringLiteral("Historia temperatury")},
        {w.TempBar, QStringLiteral("Postęp historii")},
        {w.Bar, QStringLiteral("Postęp konfiguracji")},
        {w.PanelKomunikacji, QStringLiteral("Połączenie")}};
    for (const auto& [control, name] : unlabelled)
        control->setAccessibleName(name);

    const std::pair<TSpinButton*, QLabel*> spins[] = {{w.SpinButton1, w.Label_Korekta1},
                                                      {w.SpinButton5, w.Label_Korekta2},
                                                      {w.SpinButton3, w.Label_Min},
                                                      {w.SpinButton2, w.Label_Max},
                                                      {w.SpinButton4, w.Label_Zapisz}};
    for (const auto& [spin, label] : spins) {
        spin->StepWithKeysOf(label->buddy());
        const QString setting = label->text().simplified();
        spin->UpButton()->setAccessibleName(setting + QStringLiteral(": w górę"));
        spin->DownButton()->setAccessibleName(setting + QStringLiteral(": w dół"));
    }
}

} // namespace

void TMain::CreateControls() {
    setWindowTitle(Texts::ProgramName);
    setFont(WindowFont());

    MainMenu = named(new QMenuBar(this), QStringLiteral("MainMenu"));
    setMenuBar(MainMenu);
    Plik1 = addMenu(MainMenu, QStringLiteral("Plik1"), QStringLiteral("Plik"));
    Odczyt1 = addMenuItem(Plik1, QStringLiteral("Odczyt1"), QStringLiteral("Odczyt"), true);
    Zapis1 = addMenuItem(Plik1, QStringLiteral("Zapis1"), QStringLiteral("Zapis"), true);
    Odczyt1->setShortcut(QKeySequence::Open);
    Zapis1->setShortcut(QKeySequence::Save);
    Dane1 = addMenu(MainMenu, QStringLiteral("Dane1"), QStringLiteral("Dane"));
    Pobierz1 = addMenuItem(Dane1, QStringLiteral("Pobierz1"), QStringLiteral("Odczyt"), false);
    Zapisz1 = addMenuItem(Dane1, QStringLiteral("Zapisz1"), QStringLiteral("Zapisz"), false);
    Historia1 = addMenu(MainMenu, QStringLiteral("Historia1"), QStringLiteral("Historia"));
    WykresTemperatur1 = addMenuItem(Historia1, QStringLiteral("WykresTemperatur1"),
                                    QStringLiteral("Wykres temperatur…"), true);
    EksportCsv1 = addMenuItem(Historia1, QStringLiteral("EksportCsv1"),
                              QStringLiteral("Eksport do CSV…"), true);
    RaportPdf1 =
        addMenuItem(Historia1, QStringLiteral("RaportPdf1"), QStringLiteral("Raport PDF…"), true);
    DrukujRaport1 = addMenuItem(Historia1, QStringLiteral("DrukujRaport1"),
                                QStringLiteral("Drukuj raport…"), true);
    TabelaOdczytow1 = addMenuItem(Historia1, QStringLiteral("TabelaOdczytow1"),
                                  QStringLiteral("Raport z tabelą odczytów"), true);
    TabelaOdczytow1->setCheckable(true);
    TabelaOdczytow1->setToolTip(QStringLiteral("Dołącz do raportu tabelę wszystkich odczytów"));
    Historia1->addSeparator();
    OtworzHistorie1 = addMenuItem(Historia1, QStringLiteral("OtworzHistorie1"),
                                  QStringLiteral("Otwórz plik historii…"), true);
    ArchiwumPobran1 = addMenuItem(Historia1, QStringLiteral("ArchiwumPobran1"),
                                  QStringLiteral("Archiwum pobrań…"), true);
    ArchiwumFirmy1 = addMenuItem(Historia1, QStringLiteral("ArchiwumFirmy1"),
                                 QStringLiteral("Archiwum firmy…"), true);
    ArchiwumFirmy1->setToolTip(
        QStringLiteral("Baza PostgreSQL firmy, do której idzie każde pobranie z tego komputera"));
    Narzedzia1 = addMenu(MainMenu, QStringLiteral("Narzedzia1"), QStringLiteral("Narzędzia"));
    MonitorLacza1 = addMenuItem(Narzedzia1, QStringLiteral("MonitorLacza1"),
                                QStringLiteral("Monitor łącza…"), true);
    MonitorLacza1->setToolTip(
        QStringLiteral("Pokaż każdą ramkę wysłaną do rejestratora i odebraną od niego"));
    Info1 = addMenu(MainMenu, QStringLiteral("Info1"), QStringLiteral("Info"));
    Oprogramie1 =
        addMenuItem(Info1, QStringLiteral("Oprogramie1"), QStringLiteral("O programie"), true);

    // F10 opens the first menu, as on the desktops the program runs on.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, MainMenu,
            [this] { MainMenu->setActiveAction(Plik1->menuAction()); });

    auto* area = named(new QWidget(this), QStringLiteral("MainArea"));
    setCentralWidget(area);
    // The area's first child, so that it is gone before the containers are destroyed.
    auto* watcher = new VisibilityWatcher([this] { FitToContents(); }, area);

    // ---- Connection ----
    PanelKomunikacji = addPanel(area, QStringLiteral("PanelKomunikacji"), {0, 0, 529, 65});
    QWidget* panel = PanelKomunikacji;
    Combo_Port = named(new TComboBox(panel), QStringLiteral("Combo_Port"));
    Combo_Port->setGeometry(50, 10, 68, FieldHeight);
    for (int port = 1; port <= 8; ++port)
        Combo_Port->addItem(QStringLiteral("COM%1").arg(port));
    Combo_Port->setCurrentIndex(0);
    Label_Port =
        addFieldLabel(panel, QStringLiteral("Label_Port"), QStringLiteral("PORT :"), 10, 10, 38);
    Label_haslo =
        addFieldLabel(panel, QStringLiteral("Label_haslo"), QStringLiteral("HASŁO"), 130, 10, 38);
    Edit_haslo = addEdit(panel, QStringLiteral("Edit_haslo"), {170, 10, 40, FieldHeight},
                         QStringLiteral("0157"));
    Edit_haslo->SetMaxTypedLength(4);
    Edit_haslo->setToolTip(QStringLiteral("Hasło dostępu (4 cyfry)"));
    Button_polacz =
        addButton(panel, QStringLiteral("Button_polacz"), QStringLiteral("POŁĄCZ"),
                  {224, 8, 90, ButtonHeight}, true, QStringLiteral("Połącz do sterownika KVAM"));
    Button_rozlacz =
        addButton(panel, QStringLiteral("Button_rozlacz"), QStringLiteral("ROZŁĄCZ"),
                  {320, 8, 90, ButtonHeight}, false, QStringLiteral("Rozłącz od sterownika  KVAM"));
    TextWersja = addLabel(panel, QStringLiteral("TextWersja"), QStringLiteral("TC-8 v ..."),
                          {10, 40, 200, LabelHeight});
    QFont underlined = TextWersja->font();
    underlined.setUnderline(true);
    TextWersja->setFont(underlined);
    QPalette grey = TextWersja->palette();
    grey.setColor(QPalette::WindowText, Colors::Gray);
    TextWersja->setPalette(grey);
    TextWersja->setToolTip(QStringLiteral("Wersja frimware w sterowniku KVAM"));
    Edit_status = addReadOnlyEdit(panel, QStringLiteral("Edit_status"), {224, 37, 90, FieldHeight},
                                  QStringLiteral("ROZŁĄCZONY"));
    Edit_status->SetColor(Colors::Red);
    Edit_logon = addReadOnlyEdit(panel, QStringLiteral("Edit_logon"), {320, 37, 90, FieldHeight},
                                 QStringLiteral("WYLOGOWANY"));
    Edit_logon->SetColor(Colors::Red);
    Icon_get =
        addPictureButton(panel, QStringLiteral("Icon_get"),
                         QStringLiteral("Odczytaj konfiguracje z KVAM"), false, {430, 10, 44, 44});
    Icon_put =
        addPictureButton(panel, QStringLiteral("Icon_put"),
                         QStringLiteral("Zapisz konfiguracje do KVAM"), true, {478, 10, 44, 44});

    // ---- Recorder options ----
    GroupBox3 = addGroupBox(area, QStringLiteral("GroupBox3"), QStringLiteral("Opcje TC-8"),
                            {0, 72, 193, 89});
    ButtonRestart = addButton(GroupBox3, QStringLiteral("ButtonRestart"),
                              QStringLiteral("Restart TC-8"), {8, 20, 85, ButtonHeight}, false);
    ButtonFirmware = addButton(GroupBox3, QStringLiteral("ButtonFirmware"),
                               QStringLiteral("Aktualizacja"), {100, 20, 85, ButtonHeight}, true);
    Button_zmiana_hasla =
        addButton(GroupBox3, QStringLiteral("Button_zmiana_hasla"), QStringLiteral("Zmiana hasła"),
                  {8, 54, 85, ButtonHeight}, false);
    ButtonKasuj = addButton(GroupBox3, QStringLiteral("ButtonKasuj"),
                            QStringLiteral("Kasuj historie"), {100, 54, 85, ButtonHeight}, false);

    // ---- Temperature settings: read-only fields changed by their spin buttons ----
    GroupBox4 = addGroupBox(area, QStringLiteral("GroupBox4"),
                            QStringLiteral("Ustawienia temperatury"), {0, 168, 193, 169});
    struct SpinRow {
        QLabel*& label;
        TEdit*& field;
        TSpinButton*& spin;
        const char* labelName;
        QString caption;
        const char* fieldName;
        const char* spinName;
    };
    const SpinRow spinRows[] = {
        {Label_Korekta1, TempKorekta, SpinButton1, "Label_Korekta1",
         QStringLiteral("Korekta czujnika nr.1"), "TempKorekta", "SpinButton1"},
        {Label_Korekta2, TempKorekta2, SpinButton5, "Label_Korekta2",
         QStringLiteral("Korekta czujnika nr.2"), "TempKorekta2", "SpinButton5"},
        {Label_Min, TempMin, SpinButton3, "Label_Min", QStringLiteral("Min"), "TempMin",
         "SpinButton3"},
        {Label_Max, TempMax, SpinButton2, "Label_Max", QStringLiteral("Max"), "TempMax",
         "SpinButton2"},
        {Label_Zapisz, TempZapisz, SpinButton4, "Label_Zapisz",
         QStringLiteral("Zapis temp. co  [min]"), "TempZapisz", "SpinButton4"},
    };
    int top = 20;
    for (const SpinRow& row : spinRows) {
        row.label =
            addFieldLabel(GroupBox4, QString::fromLatin1(row.labelName), row.caption, 8, top, 110);
        row.field = addReadOnlyEdit(GroupBox4, QString::fromLatin1(row.fieldName),
                                    {120, top, 48, FieldHeight});
        row.spin = addSpinButton(GroupBox4, QString::fromLatin1(row.spinName), row.field);
        top += 29;
    }

    // ---- Recorder state: read-only fields filled by the status poll ----
    GroupBox7 = addGroupBox(area, QStringLiteral("GroupBox7"), QStringLiteral("Stan TC-8"),
                            {0, 344, 193, 161});
    struct StatusRow {
        QLabel*& label;
        TEdit*& field;
        const char* labelName;
        const char* caption;
        const char* fieldName;
    };
    const StatusRow statusRows[] = {
        {Label_Temp, Temp, "Label_Temp", "Temp.1", "Temp"},
        {Label_Temp2, Temp2, "Label_Temp2", "Temp. 2", "Temp2"},
        {Label_Udc, Udc, "Label_Udc", "Zasilanie", "Udc"},
        {Label_Data, Data, "Label_Data", "Data", "Data"},
        {Label_czas, czas, "Label_czas", "Godzina", "czas"},
    };
    top = 18;
    for (const StatusRow& row : statusRows) {
        row.label = addFieldLabel(GroupBox7, QString::fromLatin1(row.labelName),
                                  QString::fromLatin1(row.caption), 8, top, 62);
        row.field = addReadOnlyEdit(GroupBox7, QString::fromLatin1(row.fieldName),
                                    {72, top, 80, FieldHeight});
        row.field->SetColor(Colors::BtnFace());
        top += 23;
    }
    ButtonCzas = addButton(GroupBox7, QStringLiteral("ButtonCzas"), QStringLiteral("Ustaw zegar"),
                           {72, top + 2, 80, 24}, false);

    // ---- Print settings: typed texts ----
    GroupBox1 = addGroupBox(area, QStringLiteral("GroupBox1"), QStringLiteral("Ustawienia wydruku"),
                            {200, 72, 329, 161});
    struct HeaderRow {
        QLabel*& label;
        TEdit*& field;
        const char* labelName;
        QString caption;
        const char* fieldName;
    };
    const HeaderRow headerRows[] = {
        {Label_Naglowek1, TC8Nazwa, "Label_Naglowek1", QStringLiteral("Nagłówek 1"), "TC8Nazwa"},
        {Label_Naglowek2, TC8Nazwa2, "Label_Naglowek2", QStringLiteral("Nagłówek 2"), "TC8Nazwa2"},
        {Label_Naglowek3, TC8Nazwa3, "Label_Naglowek3", QStringLiteral("Nagłówek 3"), "TC8Nazwa3"},
    };
    top = 20;
    for (const HeaderRow& row : headerRows) {
        row.label =
            addFieldLabel(GroupBox1, QString::fromLatin1(row.labelName), row.caption, 8, top, 68);
        row.field =
            addEdit(GroupBox1, QString::fromLatin1(row.fieldName), {78, top, 242, FieldHeight});
        row.field->SetMaxTypedLength(29);
        top += 27;
    }
    Label_TypNazwa = addFieldLabel(GroupBox1, QStringLiteral("Label_TypNazwa"),
                                   QStringLiteral("Typ : Nazwa"), 8, top, 68);
    TC8Typ = addEdit(GroupBox1, QStringLiteral("TC8Typ"), {78, top, 70, FieldHeight});
    TC8Typ->SetMaxTypedLength(8);
    Label_Dwukropek = addFieldLabel(GroupBox1, QStringLiteral("Label_Dwukropek"),
                                    QStringLiteral(":"), 152, top, 6);
    TC8name = addEdit(GroupBox1, QStringLiteral("TC8name"), {160, top, 120, FieldHeight});
    TC8name->SetMaxTypedLength(12);
    top += 27;
    Label_IleDruk = addFieldLabel(GroupBox1, QStringLiteral("Label_IleDruk"),
                                  QStringLiteral("Ilość raportów do wydruku"), 8, top, 136);
    IleDruk = addEdit(GroupBox1, QStringLiteral("IleDruk"), {146, top, 30, FieldHeight});
    IleDruk->SetMaxTypedLength(2);

    // ---- Temperature history ----
    GroupBox2 = addGroupBox(area, QStringLiteral("GroupBox2"),
                            QStringLiteral("Historia temperatury"), {200, 240, 329, 265});
    ButtonPobierz = addButton(GroupBox2, QStringLiteral("ButtonPobierz"), QStringLiteral("START"),
                              {8, 20, 70, ButtonHeight}, false);
    ButtonSTOP = addButton(GroupBox2, QStringLiteral("ButtonSTOP"), QStringLiteral("STOP"),
                           {84, 20, 70, ButtonHeight}, false);
    ButtonZapisz = addButton(GroupBox2, QStringLiteral("ButtonZapisz"),
                             QStringLiteral("Zapisz do pliku"), {221, 20, 100, ButtonHeight}, true);
    TempBar = named(new TGauge(GroupBox2), QStringLiteral("TempBar"));
    TempBar->setGeometry(8, 52, 313, 18);
    trm = named(new QPlainTextEdit(GroupBox2), QStringLiteral("trm"));
    trm->setGeometry(8, 76, 313, 181);
    trm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    trm->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Each history line is laid out as it arrives, thousands a second: plain Latin text needs
    // no shaping engine, and skipping it halves the cost of a line.
    QFont historyFont = trm->font();
    historyFont.setStyleStrategy(QFont::PreferNoShaping);
    trm->setFont(historyFont);

    // ---- Configuration progress, shown while the configuration travels ----
    Panel_bar = addPanel(area, QStringLiteral("Panel_bar"), {0, 520, 529, 33});
    Label_Bar = addFieldLabel(Panel_bar, QStringLiteral("Label_Bar"),
                              QStringLiteral("Pobieram konfiguracje"), 8, 6, 128);
    Label_Bar->hide();
    Bar = named(new TGauge(Panel_bar), QStringLiteral("Bar"));
    Bar->setGeometry(140, 6, 381, FieldHeight);
    Panel_bar->hide();

    // ---- Raw readings, never shown ----
    Panel1 = addPanel(area, QStringLiteral("Panel1"), {0, 552, 529, 33});
    const char* rawNames[] = {"Ruac", "RUwe", "Rtemp", "Rtemp2"};
    TEdit** rawFields[] = {&Ruac, &RUwe, &Rtemp, &Rtemp2};
    for (int i = 0; i < 4; ++i) {
        *rawFields[i] =
            addEdit(Panel1, QString::fromLatin1(rawNames[i]), {8 + 128 * i, 6, 120, FieldHeight});
        (*rawFields[i])->hide();
    }
    Panel1->hide();

    OpenDialog.Filter = ConfigurationFilter;
    SaveDialog.Filter = ConfigurationFilter;

    // The window follows its contents: showing or hiding a container refits it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    for (QWidget* container : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        watcher->Watch(container);

    setKeyboardAccess(*this);
}

void TMain::FitToContents() {
    QWidget* area = centralWidget();
    QRect contents;
    for (auto* child : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden())
            contents |= child->geometry();
    area->setFixedSize(contents.right() + 1, contents.bottom() + 1);
    layout()->activate();

    // Before the first showing the window takes its place in the middle of the desktop.
    if (!isVisible() && screen() != nullptr)
        move(screen()->availableGeometry().center() - rect().center());
}
