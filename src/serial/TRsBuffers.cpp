#include "serial/TRsBuffers.h"

void TRsBuffers::CopyFields(const TRsBuffers& from) {
    readSize_ = from.readSize_;
    writeSize_ = from.writeSize_;
    readTimeout_ = from.readTimeout_;
    writeTimeout_ = from.writeTimeout_;
}
