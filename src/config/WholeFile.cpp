#include "config/WholeFile.h"

#include <QFileInfo>
#include <QSaveFile>

QString FileReadProblem(const QFile& file) {
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return QStringLiteral("nie ma takiego pliku");
    if (info.isDir())
        return QStringLiteral("to jest folder, nie plik");
    if (!info.isReadable())
        return QStringLiteral("brak prawa do odczytu");
    return file.errorString();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    // A device or a pipe (/dev/null, a FIFO another program reads) is written into: put in
    // its place, a file would take its name (for root, even in /dev).
    if (const QFileInfo target(path); target.exists() && !target.isFile() && !target.isDir()) {
        QFile device(path);
        return device.open(QIODevice::WriteOnly) && device.write(bytes) == bytes.size() &&
               device.flush();
    }
    QSaveFile file(path);
    // The explicit flush matters: commit does not notice a write that fails only when the
    // buffer is flushed. Without a commit the file written beside the old one is removed.
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.commit();
}
