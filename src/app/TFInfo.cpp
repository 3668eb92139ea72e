#include "app/TFInfo.h"

#include "app/JpegImage.h"
#include "ui/ControlBuilders.h"
#include "ui/Desktop.h"
#include "ui/WindowFont.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

const QString TFInfo::ProjectUrl = QStringLiteral("https://example.org/tc8");

// The resources of a static library have to be registered by hand (outside any namespace,
// where the registration function lives).
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

// The picture is compiled into the program from about.jpg.
QPixmap aboutPicture() {
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/about.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(DecodeJpeg(file.readAll()));
}

} // namespace

TFInfo::TFInfo(Desktop& desktop, QWidget* owner)
    : QDialog(owner, FixedDialogFlags()), desktop_(desktop) {
    setObjectName(QStringLiteral("FInfo"));
    setWindowTitle(QStringLiteral("O programie"));
    setFont(WindowFont());
    setFixedSize(272, 112);

    // A sunken two-pixel frame around the 130 x 90 picture.
    Image1 = addLabel(this, QStringLiteral("Image1"), {}, {8, 9, 134, 94});
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setLineWidth(2);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(aboutPicture());

    Label1 = addLabel(this, QStringLiteral("Label1"), QStringLiteral("Konfigurator TC-8 v1.0"),
                      {150, 12, 118, 15});
    Label2 = addLabel(this, QStringLiteral("Label2"), QStringLiteral("Autorzy: zespół TC-8"),
                      {150, 30, 118, 15});

    Label3 = addLabel(this, QStringLiteral("Label3"), {}, {150, 52, 118, 17});
    QFont linkFont = WindowFont(13);
    linkFont.setUnderline(true);
    Label3->setFont(linkFont);
    QPalette blue = Label3->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label3->setPalette(blue);
    Label3->setText(QUrl(ProjectUrl).host() + QUrl(ProjectUrl).path());
    Label3->setToolTip(ProjectUrl);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);

    Button1 = addButton(this, QStringLiteral("Button1"), QStringLiteral("OK"), {170, 79, 75, 25});
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

bool TFInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::LeftButton &&
            Label3->rect().contains(click->position().toPoint())) {
            Label3Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Opens the project's page in the desktop's browser; whether that works is not reported.
void TFInfo::Label3Click() {
    desktop_.OpenUrl(QUrl(ProjectUrl));
}
