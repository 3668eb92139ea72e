#pragma once

#include <QByteArray>
#include <QString>

// How the history box's text ends: with a line of a download (or of an opened history
// file), whose line end the box does not show, or with what the user typed.
enum class HistoryTextEnd { Typed, LineOfDownload };

// The bytes of the history text file from the plain text of the history box (lines joined
// by "\n", as the box gives them), in Windows-1250. Every line break becomes CR LF; the last
// line gets one too when it is a line of a download, so the lines of a download are saved
// as "line CR LF" each, while typed text is saved as typed. An empty box gives an empty
// file. Characters the code page cannot hold become "?".
QByteArray HistoryFileBytes(const QString& plainText, HistoryTextEnd end);

// The history box's text of a saved history file: the Windows-1250 bytes decoded, CR LF as
// "\n", without the line end of the last line. The text of a saved download comes back as
// it was saved.
QString HistoryTextOfFile(const QByteArray& bytes);

// Saved histories larger than this are not opened: the longest download saves about 2 MB.
inline constexpr qint64 HistoryFileLimit = 10 * 1024 * 1024;

// A saved history file opened as the history box opens it. Problem is empty when it could
// be read, is no larger than a history file can be and holds a temperature reading; it says
// why not otherwise (with the system's words in Detail when reading failed).
struct OpenedHistoryFile {
    QString Text; // HistoryTextOfFile of its bytes
    bool EndsWithLineEnd = false;
    QString Problem;
    QString Detail;
};
OpenedHistoryFile OpenHistoryFile(const QString& path);
