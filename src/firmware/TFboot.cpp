#include "firmware/TFboot.h"

#include "ui/TGauge.h"
#include "ui/WindowFont.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

template <class Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    widget->setAccessibleName(name);
    return widget;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFboot::TFboot(TMain& main, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      main_(main) {
    setObjectName(QStringLiteral("Fboot"));
    setWindowTitle(QStringLiteral("Bootloader"));
    setFont(WindowFont());
    setFixedSize(345, 129);

    Panel1 = named(new QFrame(this), QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 345, 129);

    Label1 = named(new QLabel(QStringLiteral("Aktualizacja frimware"), Panel1),
                   QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, 200, 15);

    Button1 =
        addButton(Panel1, QStringLiteral("Button1"), QStringLiteral("Plik"), {16, 36, 75, 25});
    ButtonStart = addButton(Panel1, QStringLiteral("ButtonStart"), QStringLiteral("START"),
                            {100, 36, 75, 25});
    ButtonStart->setEnabled(false);

    LabelNazwaPliku = named(new QLabel(Panel1), QStringLiteral("LabelNazwaPliku"));
    LabelNazwaPliku->setGeometry(16, 70, 313, 15);

    BarBoot = named(new TGauge(Panel1), QStringLiteral("BarBoot"));
    BarBoot->setGeometry(16, 94, 313, 21);
    BarBoot->SetMax(100);
    BarBoot->SetPosition(0);
    BarBoot->hide();

    OpenDialogBoot.Filter = QStringLiteral("TC-8 firmware|*.rfr");
}
