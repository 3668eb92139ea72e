#pragma once

#include <QByteArray>
#include <QList>

// A firmware file (container tag "rfr") carries an image that goes to the boot loader in
// numbered blocks of 128 bytes; the last block is filled up with 0xFF.

inline constexpr int FirmwareBlockSize = 128;
inline constexpr char FirmwarePadding = '\xFF';

struct FirmwareBlock {
    // The block request's payload: the block number, then the 128 block bytes.
    QByteArray Payload;
    // The gauge after the block has been acknowledged: image bytes sent so far * 100 div
    // the whole file's size, so always below 100 (only a finished update shows 100).
    int Progress;
};

// The blocks of a whole firmware file (tag, image, check byte), in sending order. A file
// with an empty image (4 bytes or fewer) gives no blocks and must not be transferred.
QList<FirmwareBlock> FirmwareBlocks(const QByteArray& file);
