#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// Configuration files and firmware files share one container: a three-letter tag, a body,
// and a check byte that is the XOR of every byte before it. The whole file is held in one
// buffer of FileBufferSize bytes, so no file may be larger.

inline constexpr qint64 FileBufferSize = 16384;
inline constexpr qsizetype ContainerTagSize = 3;
inline constexpr char ConfigFileTag[] = "rcf";
inline constexpr char FirmwareFileTag[] = "rfr";

// What can be wrong with a container, in the order in which it is reported.
enum class ContainerFault {
    WrongFormat,   // "Zly format pliku": wrong tag, or a file too large for the buffer
    WrongCheckByte // "Bląd CRC pliku konfiguracji" (the same words for a firmware file)
};

// The message box text of a fault. A wrong check byte is reported after a beep.
QString ContainerFaultMessage(ContainerFault fault);

// The XOR of all bytes, starting from 0.
quint8 XorCheckByte(QByteArrayView bytes);

// A complete container: tag, body and check byte.
QByteArray BuildContainer(QByteArrayView tag, QByteArrayView body);

// The faults of a file image, in reporting order; empty when the image is good. The tag is
// compared exactly (case matters) and fails for an image under 3 bytes; the check byte is
// not tested for an image under 2 bytes; an image larger than the buffer is only a
// WrongFormat.
QList<ContainerFault> CheckContainer(QByteArrayView image, QByteArrayView tag);

// The bytes between the tag and the check byte; empty for an image under 4 bytes.
QByteArray ContainerBody(const QByteArray& image);

// A container file as read from disk.
struct ContainerFile {
    QByteArray Image; // the whole file; empty when it was too large to be read
    QList<ContainerFault> Faults;
};

// Reads and checks a container file. A file larger than the buffer is not read at all and
// has the fault WrongFormat. Throws EInOutError when the file cannot be opened for reading.
ContainerFile ReadContainerImage(const QString& path, QByteArrayView tag);
