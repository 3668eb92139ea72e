#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

namespace tc8sim {

// The recorder's configuration as nine groups of bytes, kept exactly as the PC wrote them.
// A group is read with an even code (0x04 ... 0x14) and written with the next odd one.
class ConfigStore {
public:
    static constexpr int GroupCount = 9;

    ConfigStore();

    // The group index of a read or write code, or -1 when the code is no configuration code.
    static int GroupIndex(std::uint8_t code);
    static bool IsRead(std::uint8_t code);
    static bool IsWrite(std::uint8_t code);

    const QByteArray& Group(std::uint8_t code) const;
    void Store(std::uint8_t code, const QByteArray& payload);
    // The logging interval in minutes (first byte of the counts group), at least 1.
    int LoggingIntervalMinutes() const;
    const std::array<QByteArray, GroupCount>& Groups() const { return groups_; }

private:
    std::array<QByteArray, GroupCount> groups_;
};

} // namespace tc8sim
