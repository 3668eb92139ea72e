#include "PortLink.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace tc8sim {

namespace fs = std::filesystem;

fs::path DefaultPortsFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (dataHome != nullptr && *dataHome != '\0') {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0')
            throw std::runtime_error("neither XDG_DATA_HOME nor HOME is set");
        base = fs::path(home) / ".local" / "share";
    }
    return base / "tc8-configurator" / "ports";
}

PortLink::PortLink(const fs::path& folder, int portNumber, const std::string& target)
    : path_(folder / ("COM" + std::to_string(portNumber))), target_(target) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw std::runtime_error("cannot create " + folder.string() + ": " + error.message());

    const fs::file_status status = fs::symlink_status(path_, error);
    if (fs::exists(status)) {
        if (!fs::is_symlink(status))
            throw std::runtime_error(path_.string() +
                                     " exists and is not a link; not replacing it");
        const fs::path existing = fs::read_symlink(path_, error);
        if (fs::exists(fs::absolute(folder / existing), error))
            throw std::runtime_error(path_.string() + " already points at " + existing.string() +
                                     "; pick another port number");
    }

    // Created under a temporary name and renamed into place, so that the configurator never
    // sees a half-made entry.
    const fs::path temporary =
        folder / ("." + path_.filename().string() + "." + std::to_string(getpid()));
    fs::remove(temporary, error);
    fs::create_symlink(target_, temporary, error);
    if (!error)
        fs::rename(temporary, path_, error);
    if (error) {
        fs::remove(temporary, error);
        throw std::runtime_error("cannot publish " + path_.string() + ": " + error.message());
    }
}

PortLink::~PortLink() {
    std::error_code error;
    if (fs::read_symlink(path_, error) == fs::path(target_) && !error)
        fs::remove(path_, error);
}

} // namespace tc8sim
