#include "ui/TSpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 100;

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
