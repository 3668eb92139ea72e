#include "protocol/PortDirectory.h"

#include "protocol/PortOpenDetail.h"
#include "serial/ERsCommError.h"
#include "serial/PortAccess.h"
#include "serial/PortEnumeration.h"
#include "serial/PortNames.h"

#include <QRegularExpression>
#include <QStringList>
#include <cerrno>

namespace {
const QString NoDevice = QStringLiteral("brak urządzenia");

// The number of "COMn" (1 ... PortCount), or 0 for any other name.
int ComNumber(const QString& portName) {
    static const QRegularExpression comPort(QStringLiteral("^COM([1-8])$"));
    const QRegularExpressionMatch match = comPort.match(portName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}
} // namespace

TPortDirectory::TPortDirectory() : enumeration_(CreateSystemPortEnumeration()) {
}

TPortDirectory::~TPortDirectory() = default;

void TPortDirectory::SetEnumeration(std::unique_ptr<TPortEnumeration> enumeration) {
    enumeration_ = std::move(enumeration);
    Refresh();
}

void TPortDirectory::Refresh() {
    table_ = CurrentPortTable(*enumeration_, PortsFolder());
}

QString TPortDirectory::PortPath(const QString& portName) const {
    const int number = ComNumber(portName);
    if (number == 0)
        return ResolvePortPath(portName, PortsFolder());
    return table_[number - 1].Path;
}

QString TPortDirectory::OpenFailureDetail(const ERsOpenError& error) const {
    TPortOpenFailure failure;
    failure.PortName = error.PortName;
    failure.Error = error.SystemError;
    failure.SystemMessage = error.SystemMessage;
    // A number is what the table says it stands for.
    const int number = ComNumber(error.PortName);
    if (number != 0 && table_[number - 1].Port) {
        failure.Device = table_[number - 1].Port->Device;
        failure.FolderEntry = table_[number - 1].Source == TPortChoice::TSource::FolderEntry;
    } else if (!error.Path.isEmpty()) {
        failure.Device = error.Path;
    }
    failure.ByPath = number == 0;
    failure.Group = GroupToJoin(failure.Device);
    if (error.SystemError == EBUSY && !failure.Device.isEmpty()) {
        const TPortHolder holder = FindPortHolder(failure.Device);
        failure.OwnerPid = holder.Pid;
        failure.OwnerName = holder.Name;
        failure.StaleLock = holder.StaleLock;
    }
    for (int i = 0; i < PortCount; ++i) {
        if (table_[i].Port && table_[i].Port->Present)
            failure.PortsThere << QStringLiteral("COM%1 (%2)")
                                      .arg(i + 1)
                                      .arg(DeviceShortName(table_[i].Port->Device));
    }
    return PortOpenDetail(failure);
}

QString PortListDetail(const TPortChoice& choice) {
    if (!choice.Port)
        return NoDevice;
    QStringList parts{DeviceShortName(choice.Port->Device)};
    if (!choice.Port->Present)
        parts << NoDevice;
    if (!choice.Port->Description.isEmpty())
        parts << choice.Port->Description;
    if (!choice.Port->Accessible)
        parts << QStringLiteral("brak dostępu");
    return parts.join(QStringLiteral(" · "));
}
