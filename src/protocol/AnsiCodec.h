#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// Texts are QString inside the program and Windows-1250 bytes on the wire and in files.
// These are the only places where one becomes the other; the conversion itself is glibc's
// iconv. All functions are safe to call from any thread.
//
// The five byte values that Windows-1250 leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98)
// become the characters U+0081 ... U+0098 and back, so any byte string read from the
// recorder survives a round trip through QString unchanged.

// The Windows-1250 bytes of a text, one byte per character. A character the code page
// cannot hold becomes "?" (one "?" for a surrogate pair); use CanEncodeAnsi to refuse such
// characters before they get here.
QByteArray ToAnsi(const QString& text);

// The text of Windows-1250 bytes; every byte gives exactly one character.
QString FromAnsi(const QByteArray& bytes);

// Whether ToAnsi keeps the character (surrogates never are kept on their own).
bool CanEncodeAnsi(QChar character);

// Whether ToAnsi keeps every character of the text.
bool CanEncodeAnsi(const QString& text);
