#include "serial/PortEnumeration.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <unistd.h>

namespace {

bool MayOpen(const QString& path) {
    return access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

// Device path → its name in /dev/serial/by-id, a name that stays with the adapter whichever
// socket it is plugged into.
QHash<QString, QString> StableNames() {
    QHash<QString, QString> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files, QDir::Name))
        names.insert(link.canonicalFilePath(), link.fileName());
    return names;
}

class TSystemPortEnumeration : public TPortEnumeration {
public:
    QList<TListedPort> ListPorts() const override {
        const QHash<QString, QString> stableNames = StableNames();
        QList<TListedPort> ports;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            TListedPort port;
            port.Device = info.systemLocation();
            port.Description = info.description();
            port.Manufacturer = info.manufacturer();
            port.SerialNumber = info.serialNumber();
            if (info.hasVendorIdentifier())
                port.VendorId = info.vendorIdentifier();
            if (info.hasProductIdentifier())
                port.ProductId = info.productIdentifier();
            port.StableName = stableNames.value(port.Device);
            port.Accessible = MayOpen(port.Device);
            ports << port;
        }
        return ports;
    }
};

} // namespace

std::unique_ptr<TPortEnumeration> CreateSystemPortEnumeration() {
    return std::make_unique<TSystemPortEnumeration>();
}

QList<TFolderEntry> ReadPortsFolder(const QString& folder) {
    QList<TFolderEntry> entries;
    for (int number = 1; number <= PortCount; ++number) {
        const QString path = folder + QStringLiteral("/COM%1").arg(number);
        const QFileInfo entry(path);
        // A link that leads nowhere still names the port the user meant.
        if (!entry.exists() && !entry.isSymLink())
            continue;
        TFolderEntry found;
        found.Number = number;
        found.EntryPath = path;
        // A link that leads nowhere names the path it was made with (Qt makes it absolute).
        found.Target = entry.exists() ? entry.canonicalFilePath() : entry.symLinkTarget();
        found.Present = entry.exists();
        found.Accessible = !found.Present || MayOpen(path);
        entries << found;
    }
    return entries;
}

TPortTable CurrentPortTable(const TPortEnumeration& enumeration, const QString& portsFolder) {
    return BuildPortTable(ReadPortsFolder(portsFolder), enumeration.ListPorts());
}
