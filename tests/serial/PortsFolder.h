#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A private ports folder for one test: XDG_DATA_HOME points at a temporary folder whose
// tc8-configurator/ports holds the COMn links the test makes. The old value is restored.
class TPortsFolder {
public:
    TPortsFolder();
    ~TPortsFolder();
    TPortsFolder(const TPortsFolder&) = delete;
    TPortsFolder& operator=(const TPortsFolder&) = delete;

    QString Path() const;
    // Makes (or replaces) the link COM<number> -> target.
    void Link(int number, const QString& target);
    // A regular file in the temporary folder.
    QString PlainFile() const;

private:
    QTemporaryDir home_;
    QByteArray oldDataHome_;
    bool hadDataHome_;
};
