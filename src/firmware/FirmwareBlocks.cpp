#include "firmware/FirmwareBlocks.h"

#include "config/Container.h"

#include <algorithm>

QList<FirmwareBlock> FirmwareBlocks(const QByteArray& file) {
    const QByteArray image = ContainerBody(file);
    const qint64 firmwareSize = file.size();
    QList<FirmwareBlock> blocks;
    for (qsizetype taken = 0; taken < image.size(); taken += FirmwareBlockSize) {
        QByteArray payload(1, static_cast<char>(blocks.size() & 0xFF));
        payload.append(image.mid(taken, FirmwareBlockSize));
        payload.append(1 + FirmwareBlockSize - payload.size(), FirmwarePadding);
        const qint64 sent = std::min<qint64>(taken + FirmwareBlockSize, image.size());
        blocks.append({payload, static_cast<int>(sent * 100 / firmwareSize)});
    }
    return blocks;
}
