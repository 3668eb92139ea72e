#pragma once

#include <QColor>
#include <QLineEdit>
#include <functional>

// A single-line edit field.
// - MaxTypedLength bounds what the user types or pastes; texts set by the program may be
//   longer and are shown whole (Qt's maxLength would cut them).
// - Characters that Windows-1250 cannot hold are refused when typed, since every text of
//   the program travels in that code page.
// - OnKeyPress sees each typed character first and may cancel it by setting it to 0 (or
//   put another in its place). Text the user pastes or drops goes through it character by
//   character, as if typed; characters no key types (line breaks, tabs) are left out.
// - OnExit runs when the focus leaves the field.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);

    int MaxTypedLength() const { return maxTypedLength_; }
    void SetMaxTypedLength(int length) { maxTypedLength_ = length; }

    // The background colour (palette Base); Color() returns what was set last.
    QColor Color() const { return color_; }
    void SetColor(const QColor& background);
    QColor FontColor() const { return palette().color(QPalette::Text); }
    void SetFontColor(const QColor& foreground);

    std::function<void(QChar& key)> OnKeyPress;
    std::function<void()> OnExit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int maxTypedLength_ = 0; // 0: no limit
    QColor color_;
    QString shownText_;   // the text before the edit being validated
    bool typing_ = false; // a typed character that passed OnKeyPress is being inserted
};
