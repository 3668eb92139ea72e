#pragma once

#include <vector>

// The write thread's queue: a fixed number of bytes, appended at the end and removed from
// the front once written. Not locked itself: its owner guards it with the write lock.
class TRsCommBuffer {
public:
    explicit TRsCommBuffer(int capacity);

    int Capacity() const { return capacity_; }
    int Length() const { return static_cast<int>(bytes_.size()); }
    const char* Data() const { return bytes_.data(); }
    // False, with nothing appended, when the bytes do not fit.
    bool Append(const char* data, int count);
    void Remove(int count);

private:
    int capacity_;
    std::vector<char> bytes_;
};
