#include "FuzzChecks.h"

#include "ContainerFileOnDisk.h"
#include "firmware/FirmwareBlocks.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"

#include <stdexcept>

std::string CheckFirmwareFile(const QByteArray& input) {
    std::string problem;
    const ContainerFile file = ReadAsContainerFile(input, FirmwareFileTag, problem);
    if (!problem.empty())
        return problem;

    // The blocks are cut from every image the program could hold, checked or not.
    const QList<FirmwareBlock> blocks = FirmwareBlocks(file.Image);
    const QByteArray image = ContainerBody(file.Image);
    const qsizetype expectedBlocks = (image.size() + FirmwareBlockSize - 1) / FirmwareBlockSize;
    if (blocks.size() != expectedBlocks)
        return "the number of blocks does not fit the image";

    QByteArray sent;
    int previousProgress = 0;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        const FirmwareBlock& block = blocks[i];
        if (block.Payload.size() != 1 + FirmwareBlockSize)
            return "a block request that is not the number and 128 bytes";
        if (static_cast<std::uint8_t>(block.Payload[0]) != (i & 0xFF))
            return "a block with the wrong number";
        if (block.Progress < previousProgress || block.Progress >= 100)
            return "a progress value that goes back or reaches 100 before the end";
        previousProgress = block.Progress;
        sent.append(block.Payload.sliced(1));
        try {
            BuildRequestFrame(Cmd::FirmwareBlock, block.Payload);
        } catch (const std::exception&) {
            return "a block request too long for a frame";
        }
    }
    if (sent.first(image.size()) != image)
        return "the blocks do not carry the image unchanged";
    if (sent.sliced(image.size()) != QByteArray(sent.size() - image.size(), FirmwarePadding))
        return "the last block is not filled up with 0xFF";
    return {};
}
