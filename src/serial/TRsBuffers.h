#pragma once

#include "serial/TRsPersistent.h"

// Queue sizes and time-outs of the port. A size change notifies the owner (which refuses it
// while the port is open); the time-outs are plain values, read each time they are used.
class TRsBuffers : public TRsPersistent {
public:
    int ReadSize() const { return readSize_; }
    void SetReadSize(int value) { Store(readSize_, value, false); }
    int WriteSize() const { return writeSize_; }
    void SetWriteSize(int value) { Store(writeSize_, value, false); }
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int milliseconds) { readTimeout_ = milliseconds; }
    int WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(int milliseconds) { writeTimeout_ = milliseconds; }

    void Assign(const TRsBuffers& from) { AssignAll(*this, from); }

private:
    friend class TRsPersistent;
    void CopyFields(const TRsBuffers& from);

    int readSize_ = 4096;
    int writeSize_ = 2048;
    int readTimeout_ = 1000;
    int writeTimeout_ = 1000;
};
