#include "ui/TSpinButton.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 100;
constexpr int PageSteps = 10;

QToolButton* arrowButton(Qt::ArrowType arrow, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(RepeatDelayMs);
    button->setAutoRepeatInterval(RepeatIntervalMs);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

} // namespace

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent), up_(arrowButton(Qt::UpArrow, QStringLiteral("Up"), this)),
      down_(arrowButton(Qt::DownArrow, QStringLiteral("Down"), this)) {
    setFocusPolicy(Qt::NoFocus);
    auto* halves = new QVBoxLayout(this);
    halves->setContentsMargins(0, 0, 0, 0);
    halves->setSpacing(0);
    halves->addWidget(up_);
    halves->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &TSpinButton::UpClick);
    connect(down_, &QToolButton::clicked, this, &TSpinButton::DownClick);
}

void TSpinButton::StepWithKeysOf(QWidget* field) {
    field->installEventFilter(this);
}

bool TSpinButton::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = key->key();
    const bool up = code == Qt::Key_Up || code == Qt::Key_PageUp;
    const bool down = code == Qt::Key_Down || code == Qt::Key_PageDown;
    if ((!up && !down) || (key->modifiers() & ~Qt::KeypadModifier))
        return false;
    const int steps = code == Qt::Key_PageUp || code == Qt::Key_PageDown ? PageSteps : 1;
    for (int i = 0; i < steps; ++i) {
        if (up)
            emit UpClick();
        else
            emit DownClick();
    }
    return true;
}
