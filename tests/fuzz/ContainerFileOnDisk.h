#pragma once

#include "config/Container.h"

#include <QByteArray>
#include <QByteArrayView>
#include <string>

// Writes the input to a scratch file, reads it back with ReadContainerImage and checks the
// result against the container rules, worked out here independently: a file over the
// buffer size is not read and is only a wrong format; a smaller one is read whole, is a
// wrong format when its first three bytes are not the tag, and has a wrong check byte when
// it has two bytes or more and its last byte is not the XOR of the others. Sets `problem`
// when a rule was broken.
ContainerFile ReadAsContainerFile(const QByteArray& input, QByteArrayView tag,
                                  std::string& problem);
