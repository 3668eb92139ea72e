#include "ConfigStore.h"

#include "protocol/Commands.h"

#include <stdexcept>

namespace tc8sim {

ConfigStore::ConfigStore()
    : groups_{QByteArray("\x84\x8A", 2),
              QByteArray(1, '\0'),
              QByteArray(1, '\0'),
              QByteArray("\x01\x10", 2),
              QByteArray("Rejestrator nr.1"),
              {},
              {},
              {},
              {}} {
}

int ConfigStore::GroupIndex(std::uint8_t code) {
    if (code < Cmd::FirstConfigRead || code > Cmd::LastConfigRead + 1)
        return -1;
    return (code - Cmd::FirstConfigRead) / 2;
}

bool ConfigStore::IsRead(std::uint8_t code) {
    return GroupIndex(code) >= 0 && code % 2 == 0;
}

bool ConfigStore::IsWrite(std::uint8_t code) {
    return GroupIndex(code) >= 0 && code % 2 == 1;
}

const QByteArray& ConfigStore::Group(std::uint8_t code) const {
    const int index = GroupIndex(code);
    if (index < 0)
        throw std::out_of_range("not a configuration code");
    return groups_[index];
}

void ConfigStore::Store(std::uint8_t code, const QByteArray& payload) {
    const int index = GroupIndex(code);
    if (index < 0)
        throw std::out_of_range("not a configuration code");
    groups_[index] = payload;
}

int ConfigStore::LoggingIntervalMinutes() const {
    const QByteArray& counts = groups_[GroupIndex(Cmd::ReadCounts)];
    const int minutes = counts.isEmpty() ? 0 : static_cast<std::uint8_t>(counts.at(0));
    return minutes > 0 ? minutes : 1;
}

} // namespace tc8sim
