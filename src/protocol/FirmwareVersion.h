#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The caption of the version label from a logon answer's payload ("TC-8 v 1.5"), or
// nothing when the payload carries no version (fewer than 2 bytes, or byte 1 below "0").
std::optional<QString> FirmwareVersionCaption(const QByteArray& logonPayload);
