// The main window's connection area: opening the port, logging on and off, and the
// switching of the device-dependent controls.
#include "ui/TMain.h"

#include "core/Guarded.h"
#include "protocol/TRecorderSession.h"
#include "serial/PortEnumeration.h"
#include "serial/TRsComm.h"
#include "ui/Colors.h"
#include "ui/PortList.h"
#include "ui/TComboBox.h"
#include "ui/TEdit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
const QString DefaultPassword = QStringLiteral("0157");
constexpr int PasswordLength = 4;

void setState(TEdit* field, const QString& text, const QColor& background) {
    field->setText(text);
    field->SetColor(background);
}

} // namespace

void TMain::ConnectConnectionHandlers() {
    connect(Button_polacz, &QPushButton::clicked, this, Guarded(this, &TMain::Button_polaczClick));
    connect(Button_rozlacz, &QPushButton::clicked, this,
            Guarded(this, &TMain::Button_rozlaczClick));
    Edit_haslo->OnKeyPress = Guarded(this, &TMain::Edit_hasloKeyPress);
    Edit_haslo->OnExit = Guarded(this, &TMain::Edit_hasloExit);

    Combo_Port->setItemDelegate(new TPortListDelegate(Combo_Port));
    Combo_Port->OnDropDown = Guarded(this, &TMain::Combo_PortDropDown);
    connect(Combo_Port, &QComboBox::currentIndexChanged, this,
            Guarded(this, &TMain::DescribeChosenPort));
    RefreshPortList();
}

void TMain::SetPortEnumeration(std::unique_ptr<TPortEnumeration> enumeration) {
    Ports.SetEnumeration(std::move(enumeration));
    RefreshPortList();
}

void TMain::Combo_PortDropDown() {
    // An adapter plugged in since the list was last opened is found without a restart.
    RefreshPortList();
}

void TMain::RefreshPortList() {
    Ports.Refresh();
    const TPortTable& table = Ports.Table();
    const QFontMetrics metrics = Combo_Port->fontMetrics();
    int widest = 0;
    for (int i = 0; i < PortCount; ++i) {
        const QString detail = PortListDetail(table[i]);
        Combo_Port->setItemData(i, detail, PortDetailRole);
        Combo_Port->setItemData(i, detail, Qt::AccessibleDescriptionRole);
        Combo_Port->setItemData(i, PortToolTip(i + 1, table[i]), Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(detail));
    }
    // The opened list is as wide as its longest line, however narrow the closed box.
    Combo_Port->view()->setMinimumWidth(TPortListDelegate::DetailColumn(metrics) + widest +
                                        2 * metrics.averageCharWidth());
    DescribeChosenPort();
}

// The closed box's tool tip and description tell the port chosen.
void TMain::DescribeChosenPort() {
    const int index = Combo_Port->currentIndex();
    Combo_Port->setToolTip(Combo_Port->itemData(index, Qt::ToolTipRole).toString());
    Combo_Port->setAccessibleDescription(Combo_Port->itemData(index, PortDetailRole).toString());
}

QString TMain::PortPath(const QString& portName) const {
    return Ports.PortPath(portName);
}

void TMain::Button_polaczClick() {
    // The numbers stand for what the machine has now, also an adapter plugged in since.
    if (!Session->Comm().IsOpen() || Session->Comm().IsDeviceGone())
        RefreshPortList();
    Session->Connect(Combo_Port->currentIndex() + 1, Edit_haslo->text());
}

void TMain::Button_rozlaczClick() {
    Session->Disconnect();
}

void TMain::Edit_hasloKeyPress(QChar& key) {
    const char16_t c = key.unicode();
    const bool allowed = c == u'\r' || c == u'\b' || (c >= u'0' && c <= u'9');
    if (!allowed)
        key = QChar(0);
    // Enter presses "POŁĄCZ". The focus goes to the button first, as with a click, so the
    // field's exit rule has checked the password before it is sent.
    if (c == u'\r' && Button_polacz->isEnabled()) {
        Button_polacz->setFocus(Qt::OtherFocusReason);
        Button_polacz->animateClick();
    }
}

void TMain::Edit_hasloExit() {
    if (Edit_haslo->text().size() < PasswordLength)
        Edit_haslo->setText(DefaultPassword);
}

void TMain::EnterLoggedOn() {
    Session->EnterLoggedOn();
}

void TMain::EnterLoggedOff() {
    Session->EnterLoggedOff();
}

void TMain::EnableDeviceControls() {
    Session->EnableDeviceControls();
}

void TMain::DisableDeviceControls() {
    Session->DisableDeviceControls();
}

bool TMain::IsLoggedOn() const {
    return Session->IsLoggedOn();
}

// The one place where the window's controls follow the session: the connection area as
// the port and the logon are, the device controls as EnableDeviceControls and
// DisableDeviceControls leave them, and what each operation switches besides.
void TMain::ShowSessionState() {
    const TSessionState& state = Session->State();
    const bool open = state.Connection != TConnection::Disconnected;
    if (open)
        setState(Edit_status, QStringLiteral("POŁĄCZONY"), Colors::Lime);
    else
        setState(Edit_status, QStringLiteral("ROZŁĄCZONY"), Colors::Red);
    Combo_Port->setEnabled(!open);
    Button_rozlacz->setEnabled(open);
    if (state.Connection == TConnection::LoggedOn)
        setState(Edit_logon, QStringLiteral("ZALOGOWANY"), Colors::Lime);
    else
        setState(Edit_logon, QStringLiteral("WYLOGOWANY"), Colors::Red);
    Edit_haslo->setEnabled(state.PasswordEditable);
    Button_polacz->setEnabled(!state.DeviceControls);

    for (QWidget* control : std::initializer_list<QWidget*>{Button_zmiana_hasla, ButtonRestart,
                                                            ButtonCzas, ButtonPobierz, ButtonKasuj})
        control->setEnabled(state.DeviceControls);
    // A held-back exchange keeps the icons and the items off: one click is one exchange.
    Icon_get->setEnabled(state.ConfigIcons && !state.ConfigHeldBack);
    Icon_put->setEnabled(state.ConfigIcons && !state.ConfigHeldBack);
    Pobierz1->setEnabled(state.DeviceControls && !state.ConfigHeldBack);
    Zapisz1->setEnabled(state.DeviceControls && !state.ConfigHeldBack);
    ButtonSTOP->setEnabled(state.HistoryStreaming);
    Panel_bar->setVisible(state.ConfigProgress);

    TextWersja->setText(state.FirmwareVersion.isEmpty() ? QStringLiteral("TC-8 v ...")
                                                        : state.FirmwareVersion);
    QPalette palette = TextWersja->palette();
    palette.setColor(QPalette::WindowText,
                     state.FirmwareVersion.isEmpty() ? Colors::Gray : Colors::Black);
    TextWersja->setPalette(palette);
}

// The live readings blank when the device controls go off; date and time stay.
void TMain::ClearStatus() {
    for (TEdit* field : {Temp, Temp2, Udc}) {
        field->clear();
        field->SetColor(Colors::BtnFace());
    }
}
