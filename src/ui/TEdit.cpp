#include "ui/TEdit.h"

#include "protocol/AnsiCodec.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QValidator>
#include <algorithm>

namespace {

constexpr QChar Backspace(0x08);
constexpr QChar Enter(0x0D);

qsizetype unencodableCount(const QString& text) {
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return !CanEncodeAnsi(c); });
}

// Guards what the user types, pastes or drops. Texts the program sets go through setText,
// which clears the field's undo history; every edit of the user leaves an undo step. So an
// edit is the user's exactly when undo is available while it is being validated.
class TypedTextValidator : public QValidator {
public:
    TypedTextValidator(TEdit& edit, const int& limit, const QString& before, const bool& typing)
        : QValidator(&edit), edit_(edit), limit_(limit), before_(before), typing_(typing) {}

    State validate(QString& input, int& position) const override {
        if (!edit_.isUndoAvailable())
            return Acceptable;
        // A typed character has been through the key filter already.
        if (!typing_)
            KeepWhatTypingKeeps(input, position);
        // A longer text set by the program may be shortened, never lengthened.
        if (limit_ > 0 && input.size() > limit_ && input.size() > before_.size())
            return Invalid;
        if (unencodableCount(input) > unencodableCount(before_))
            return Invalid;
        return Acceptable;
    }

private:
    // Text pasted or dropped goes through the field's key filter character by character, as
    // if typed: what typing would cancel is left out, and so is every character no key
    // types (a line break, a tab).
    void KeepWhatTypingKeeps(QString& input, int& position) const {
        const qsizetype shorter = std::min(input.size(), before_.size());
        qsizetype start = 0;
        while (start < shorter && input[start] == before_[start])
            ++start;
        qsizetype tail = 0;
        while (tail < shorter - start &&
               input[input.size() - 1 - tail] == before_[before_.size() - 1 - tail])
            ++tail;
        const qsizetype end = input.size() - tail;
        QString kept;
        for (qsizetype i = start; i < end; ++i) {
            QChar key = input[i];
            if (key.isPrint() && edit_.OnKeyPress)
                edit_.OnKeyPress(key);
            if (key.isPrint())
                kept.append(key);
        }
        const qsizetype removed = (end - start) - kept.size();
        if (removed == 0 && kept == QStringView(input).mid(start, end - start))
            return;
        input.replace(start, end - start, kept);
        position = static_cast<int>(position >= end ? position - removed
                                                    : std::min<qsizetype>(position, input.size()));
    }

    const TEdit& edit_;
    const int& limit_;
    const QString& before_;
    const bool& typing_;
};

// The character a key press types, as a Windows edit field would report it; null for keys
// that type nothing (arrows, shortcuts, function keys).
QChar typedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Enter;
    default:
        break;
    }
    const QString text = event.text();
    if (text.size() == 1 && text.front().isPrint())
        return text.front();
    return {};
}

} // namespace

TEdit::TEdit(QWidget* parent) : QLineEdit(parent), color_(palette().color(QPalette::Base)) {
    setValidator(new TypedTextValidator(*this, maxTypedLength_, shownText_, typing_));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { shownText_ = text; });
}

void TEdit::SetColor(const QColor& background) {
    color_ = background;
    QPalette colors = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colors.setColor(group, QPalette::Base, background);
    setPalette(colors);
}

void TEdit::SetFontColor(const QColor& foreground) {
    QPalette colors = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        colors.setColor(group, QPalette::Text, foreground);
    setPalette(colors);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    const QChar typed = typedCharacter(*event);
    if (!OnKeyPress || typed.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key = typed;
    OnKeyPress(key);
    typing_ = true;
    const auto inserted = qScopeGuard([this] { typing_ = false; });
    if (key.isNull()) {
        event->accept();
        return;
    }
    if (key == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The handler put another character in place of the typed one.
    const int code = key == Backspace ? Qt::Key_Backspace
                     : key == Enter   ? Qt::Key_Return
                                      : Qt::Key_unknown;
    QKeyEvent replaced(event->type(), code, event->modifiers(), QString(key));
    QLineEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

void TEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu does not leave the field.
    const auto reason = event->reason();
    if (OnExit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        OnExit();
}
