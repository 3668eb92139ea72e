#include "PrivatePortsFolder.h"

#include <stdexcept>

PrivatePortsFolder::PrivatePortsFolder() {
    if (!dataHome_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    hadPrevious_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    previous_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome_.path().toLocal8Bit());
    std::filesystem::create_directories(Path());
}

PrivatePortsFolder::~PrivatePortsFolder() {
    if (hadPrevious_)
        qputenv("XDG_DATA_HOME", previous_);
    else
        qunsetenv("XDG_DATA_HOME");
}

std::filesystem::path PrivatePortsFolder::Path() const {
    return std::filesystem::path(dataHome_.path().toStdString()) / "tc8-configurator" / "ports";
}
