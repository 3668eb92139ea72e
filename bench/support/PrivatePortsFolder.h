#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <filesystem>

// A ports folder of its own for the program's lifetime: XDG_DATA_HOME points into a
// temporary folder, so the "COMn" entries the benchmarks publish meet nobody else's.
class PrivatePortsFolder {
public:
    PrivatePortsFolder();
    PrivatePortsFolder(const PrivatePortsFolder&) = delete;
    PrivatePortsFolder& operator=(const PrivatePortsFolder&) = delete;
    ~PrivatePortsFolder();

    // $XDG_DATA_HOME/tc8-configurator/ports, created.
    std::filesystem::path Path() const;

private:
    QTemporaryDir dataHome_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};
