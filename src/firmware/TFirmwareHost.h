#pragma once

#include "firmware/FirmwareBlocks.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class Desktop;

// What the firmware-update dialog may do with the main window: read a firmware file, have
// the session send it to the boot loader, and leave the window logged off.
class TFirmwareHost {
public:
    virtual Desktop& desk() const = 0;
    // No status poll while the dialog is up.
    virtual void StopStatusPoll() = 0;
    // The image of the firmware file at path when its tag and check byte are right; each
    // fault has been reported in a message box when not.
    virtual std::optional<QByteArray> ReadFirmwareFile(const QString& path) = 0;
    virtual void EnterLoggedOff() = 0;
    virtual void DisableDeviceControls() = 0;
    // The whole transfer, with its boxes; `progress` gets the per cent sent so far. True
    // when every block was acknowledged.
    virtual bool UpdateFirmware(const QList<FirmwareBlock>& blocks,
                                const std::function<void(int)>& progress) = 0;

protected:
    ~TFirmwareHost() = default;
};
