#include "ContainerFileOnDisk.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString ScratchPath() {
    static const QTemporaryDir folder;
    return folder.filePath(QStringLiteral("input"));
}

QList<ContainerFault> ExpectedFaults(const QByteArray& input, QByteArrayView tag) {
    if (input.size() > FileBufferSize)
        return {ContainerFault::WrongFormat};
    QList<ContainerFault> faults;
    if (input.size() < 3 || input.first(3) != tag)
        faults.append(ContainerFault::WrongFormat);
    if (input.size() >= 2) {
        quint8 check = 0;
        for (qsizetype i = 0; i + 1 < input.size(); ++i)
            check ^= static_cast<quint8>(input[i]);
        if (check != static_cast<quint8>(input.back()))
            faults.append(ContainerFault::WrongCheckByte);
    }
    return faults;
}

} // namespace

ContainerFile ReadAsContainerFile(const QByteArray& input, QByteArrayView tag,
                                  std::string& problem) {
    const QString path = ScratchPath();
    // A new file each time: rewriting a truncated one makes some file systems write it out
    // at once, which would slow the fuzzer down a hundredfold.
    QFile::remove(path);
    QFile scratch(path);
    if (!scratch.open(QIODevice::WriteOnly) || scratch.write(input) != input.size() ||
        !scratch.flush()) {
        problem = "the scratch file cannot be written";
        return {};
    }
    scratch.close();

    ContainerFile file = ReadContainerImage(path, tag);
    const QByteArray expectedImage = input.size() > FileBufferSize ? QByteArray() : input;
    if (file.Image != expectedImage)
        problem = "the image read differs from the file";
    else if (file.Faults != ExpectedFaults(input, tag))
        problem = "the faults found differ from the container rules";
    return file;
}
