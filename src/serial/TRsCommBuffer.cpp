#include "serial/TRsCommBuffer.h"

#include <algorithm>

TRsCommBuffer::TRsCommBuffer(int capacity) : capacity_(std::max(capacity, 0)) {
    bytes_.reserve(static_cast<size_t>(capacity_));
}

bool TRsCommBuffer::Append(const char* data, int count) {
    if (count < 0 || count > capacity_ - Length())
        return false;
    bytes_.insert(bytes_.end(), data, data + count);
    return true;
}

void TRsCommBuffer::Remove(int count) {
    bytes_.erase(bytes_.begin(), bytes_.begin() + std::clamp(count, 0, Length()));
}
