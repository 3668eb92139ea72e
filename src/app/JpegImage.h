#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG held in memory with libjpeg (the program does not rely on Qt's image
// plug-ins). Returns a null image when the bytes are not a JPEG it can read; never ends the
// process.
QImage DecodeJpeg(const QByteArray& bytes);
