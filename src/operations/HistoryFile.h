#pragma once

#include <QByteArray>
#include <QString>

// The bytes of the history text file from the plain text of the history box (lines joined
// by "\n", as the box gives them). Every line is written in Windows-1250 and ends with
// CR LF, the last one too, so the lines of a download are saved as "line CR LF" each. An
// empty last line (the text ends with "\n") is where the cursor stands, not a line, and
// adds nothing; an empty box gives an empty file. Characters the code page cannot hold
// become "?".
QByteArray HistoryFileBytes(const QString& plainText);

// The history box's text of a saved history file: the Windows-1250 bytes decoded, CR LF as
// "\n", without the line end of the last line. The text of a saved download comes back as
// it was saved.
QString HistoryTextOfFile(const QByteArray& bytes);

// Saved histories larger than this are not opened: the longest download saves about 2 MB.
inline constexpr qint64 HistoryFileLimit = 10 * 1024 * 1024;
