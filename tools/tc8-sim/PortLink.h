#pragma once

#include <filesystem>
#include <string>

namespace tc8sim {

// The configurator's per-user ports folder: $XDG_DATA_HOME/tc8-configurator/ports, or
// ~/.local/share/tc8-configurator/ports when XDG_DATA_HOME is unset or empty.
std::filesystem::path DefaultPortsFolder();

// The entry "COMn" in a ports folder, a symbolic link to the simulator's line, present for
// the object's lifetime. A link left behind by a simulator that is gone (its target no
// longer exists) is replaced; anything else already there is left alone and refused.
class PortLink {
public:
    // Throws std::runtime_error.
    PortLink(const std::filesystem::path& folder, int portNumber, const std::string& target);
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;
    ~PortLink();

    const std::filesystem::path& Path() const { return path_; }
    std::string Name() const { return path_.filename().string(); }

private:
    std::filesystem::path path_;
    std::string target_;
};

} // namespace tc8sim
