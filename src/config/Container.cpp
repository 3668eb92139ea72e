#include "config/Container.h"

#include "core/Errors.h"

#include <QFile>

QString ContainerFaultMessage(ContainerFault fault) {
    return fault == ContainerFault::WrongFormat ? QStringLiteral("Zly format pliku")
                                                : QStringLiteral("Bląd CRC pliku konfiguracji");
}

quint8 XorCheckByte(QByteArrayView bytes) {
    quint8 check = 0;
    for (const char byte : bytes)
        check ^= static_cast<quint8>(byte);
    return check;
}

QByteArray BuildContainer(QByteArrayView tag, QByteArrayView body) {
    QByteArray image = tag.toByteArray() + body.toByteArray();
    image.append(static_cast<char>(XorCheckByte(image)));
    return image;
}

QList<ContainerFault> CheckContainer(QByteArrayView image, QByteArrayView tag) {
    if (image.size() > FileBufferSize)
        return {ContainerFault::WrongFormat};
    QList<ContainerFault> faults;
    if (image.size() < ContainerTagSize || image.first(ContainerTagSize) != tag)
        faults.append(ContainerFault::WrongFormat);
    if (image.size() >= 2 &&
        XorCheckByte(image.first(image.size() - 1)) != static_cast<quint8>(image.back()))
        faults.append(ContainerFault::WrongCheckByte);
    return faults;
}

QByteArray ContainerBody(const QByteArray& image) {
    if (image.size() < ContainerTagSize + 1)
        return {};
    return image.mid(ContainerTagSize, image.size() - ContainerTagSize - 1);
}

ContainerFile ReadContainerImage(const QString& path, QByteArrayView tag) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(file.errorString());
    if (file.size() > FileBufferSize)
        return {{}, {ContainerFault::WrongFormat}};
    ContainerFile result;
    result.Image = file.read(FileBufferSize);
    result.Faults = CheckContainer(result.Image, tag);
    return result;
}
