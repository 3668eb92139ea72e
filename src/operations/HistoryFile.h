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
