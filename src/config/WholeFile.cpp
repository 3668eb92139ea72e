#include "config/WholeFile.h"

#include <QSaveFile>

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // The explicit flush matters: commit does not notice a write that fails only when the
    // buffer is flushed. Without a commit the file written beside the old one is removed.
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.commit();
}
