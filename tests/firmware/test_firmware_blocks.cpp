#include "config/Container.h"
#include "firmware/FirmwareBlocks.h"

#include <gtest/gtest.h>

namespace {

QByteArray Image(qsizetype size) {
    QByteArray image;
    for (qsizetype i = 0; i < size; ++i)
        image.append(static_cast<char>(i % 251)); // never 0xFF
    return image;
}

QByteArray File(const QByteArray& image) {
    return BuildContainer(FirmwareFileTag, image);
}

TEST(FirmwareBlocks, WholeBlocksHaveNoPadding) {
    for (const int k : {1, 3}) {
        const QByteArray image = Image(FirmwareBlockSize * k);
        const QList<FirmwareBlock> blocks = FirmwareBlocks(File(image));
        ASSERT_EQ(blocks.size(), k);
        QByteArray sent;
        for (int i = 0; i < k; ++i) {
            ASSERT_EQ(blocks[i].Payload.size(), 1 + FirmwareBlockSize);
            EXPECT_EQ(static_cast<quint8>(blocks[i].Payload[0]), i);
            sent += blocks[i].Payload.mid(1);
        }
        EXPECT_EQ(sent, image);
    }
}

TEST(FirmwareBlocks, OneByteImageIsPaddedWithFF) {
    const QList<FirmwareBlock> blocks = FirmwareBlocks(File("\x42"));
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks[0].Payload, QByteArray(1, '\0') + '\x42' + QByteArray(127, '\xFF'));
    EXPECT_EQ(blocks[0].Progress, 1 * 100 / 5);
}

TEST(FirmwareBlocks, LargestFileGives128NumberedBlocks) {
    const QByteArray image = Image(FileBufferSize - 4);
    const QByteArray file = File(image);
    const QList<FirmwareBlock> blocks = FirmwareBlocks(file);
    ASSERT_EQ(blocks.size(), 128);
    int previous = 0;
    for (int i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(static_cast<quint8>(blocks[i].Payload[0]), i);
        const qsizetype taken = std::min<qsizetype>((i + 1) * FirmwareBlockSize, image.size());
        EXPECT_EQ(blocks[i].Progress, taken * 100 / file.size()) << i;
        EXPECT_GE(blocks[i].Progress, previous);
        EXPECT_LT(blocks[i].Progress, 100);
        previous = blocks[i].Progress;
    }
    EXPECT_EQ(blocks.back().Progress, 99);
    // 16,380 = 127 * 128 + 124: the last block ends in four bytes of padding.
    EXPECT_EQ(blocks.back().Payload.right(5), image.right(1) + QByteArray(4, '\xFF'));
}

TEST(FirmwareBlocks, EmptyImageGivesNothingToTransfer) {
    EXPECT_TRUE(FirmwareBlocks(File(QByteArray())).isEmpty());
    EXPECT_TRUE(FirmwareBlocks(QByteArray("rfr")).isEmpty());
    EXPECT_TRUE(FirmwareBlocks(QByteArray()).isEmpty());
}

} // namespace
