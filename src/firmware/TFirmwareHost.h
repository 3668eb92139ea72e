#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class Desktop;

// What the firmware-update dialog may do with the main window: read a firmware file, talk
// to the boot loader, and leave the window logged off.
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
    // Asks the recorder to restart into its boot loader; no answer is awaited.
    virtual void RestartIntoBootLoader() = 0;
    // Sends one block request (block number, then 128 bytes) and waits for the boot
    // loader's "!", sending the block again while the transfer's shared repeatsLeft allows.
    // False after the failure box.
    virtual bool SendFirmwareBlock(const QByteArray& payload, int& repeatsLeft) = 0;
    // Tells the boot loader that every block has been sent.
    virtual void FinishFirmwareUpdate() = 0;

protected:
    ~TFirmwareHost() = default;
};
