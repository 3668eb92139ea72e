#pragma once

#include "ConfigStore.h"
#include "RequestLog.h"

#include <QByteArray>
#include <QDateTime>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tc8sim {

// A copy of everything the simulated recorder holds, taken at one moment.
struct RecorderState {
    QByteArray Password;
    std::uint8_t VersionChar = 0;
    bool LoggedOn = false;
    bool InBootLoader = false;
    bool HistoryStreaming = false;
    std::array<QByteArray, ConfigStore::GroupCount> ConfigGroups;
    QDateTime Clock;
    std::vector<QByteArray> HistoryRecords;
    std::map<std::uint8_t, RequestTally> Requests;
    // Firmware: block numbers in arrival order (latest boot loader session), the image the
    // latest finish accepted, and whether it accepted one.
    std::vector<int> FirmwareBlocks;
    QByteArray FirmwareImage;
    std::optional<bool> FirmwareAccepted;

    // The stored payload of a configuration group, by its read or write code.
    const QByteArray& ConfigGroup(std::uint8_t code) const {
        return ConfigGroups.at(ConfigStore::GroupIndex(code));
    }
    int RequestCount(std::uint8_t code) const {
        const auto it = Requests.find(code);
        return it == Requests.end() ? 0 : it->second.Count;
    }
};

} // namespace tc8sim
