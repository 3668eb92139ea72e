#pragma once

#include <QByteArray>
#include <QString>

class Desktop;

// What the new-password dialog may do with the main window: no more than changing the
// password on the recorder and putting the window back as it was.
class TPasswordHost {
public:
    virtual Desktop& desk() const = 0;
    // No status poll while the dialog is open.
    virtual void StopStatusPoll() = 0;
    // Sends the new password and waits for its acknowledgement; false when none came (the
    // wait has then reported it and logged the window off).
    virtual bool SendNewPassword(const QByteArray& password) = 0;
    // The password the window logs on with from now on.
    virtual void UsePassword(const QString& password) = 0;
    virtual void EnterLoggedOn() = 0;
    virtual bool IsLoggedOn() const = 0;
    virtual void EnableDeviceControls() = 0;

protected:
    ~TPasswordHost() = default;
};
