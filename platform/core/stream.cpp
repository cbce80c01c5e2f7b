#include "platform/core/stream.h"

#include <algorithm>
#include <cstring>

#include "platform/core/errors.h"

namespace core {

int64_t Stream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void Stream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void Stream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::string Stream::ReadRest() {
    std::string out;
    char chunk[65536];
    for (;;) {
        int64_t n = Read(chunk, sizeof chunk);
        if (n <= 0) break;
        out.append(chunk, static_cast<size_t>(n));
    }
    return out;
}

int64_t MemoryStream::Read(void* buffer, int64_t count) {
    if (pos_ < 0 || count <= 0) return 0;
    int64_t available = static_cast<int64_t>(data_.size()) - pos_;
    if (available <= 0) return 0;
    int64_t n = std::min(count, available);
    std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t MemoryStream::Write(const void* buffer, int64_t count) {
    if (pos_ < 0 || count <= 0) return 0;
    int64_t end = pos_ + count;
    const int64_t size = static_cast<int64_t>(data_.size());
    if (pos_ == size) {
        data_.append(static_cast<const char*>(buffer), static_cast<size_t>(count));
    } else {
        if (end > size) data_.resize(static_cast<size_t>(end));  // a gap before the position reads as zeros
        std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
    }
    pos_ = end;
    return count;
}

void MemoryStream::Reserve(int64_t count) {
    if (pos_ >= 0 && count > 0 && pos_ + count > static_cast<int64_t>(data_.capacity()))
        data_.reserve(static_cast<size_t>(pos_ + count));
}

int64_t MemoryStream::Seek(int64_t offset, int origin) {
    switch (origin) {
        case soBeginning:
            pos_ = offset;
            break;
        case soCurrent:
            pos_ += offset;
            break;
        case soEnd:
            pos_ = static_cast<int64_t>(data_.size()) + offset;
            break;
        default:
            break;
    }
    return pos_;
}

std::string MemoryStream::ReadRest() {
    if (pos_ < 0 || pos_ >= static_cast<int64_t>(data_.size())) return {};
    std::string out = data_.substr(static_cast<size_t>(pos_));
    pos_ = static_cast<int64_t>(data_.size());
    return out;
}

void MemoryStream::SetSize(int64_t newSize) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
    if (pos_ > newSize) pos_ = newSize;
}

void CopyStreamWhole(Stream& source, Stream& destination) {
    int64_t size = source.Size();
    if (size <= 0) return;
    source.SetPosition(0);
    destination.SetPosition(0);
    std::string buffer(static_cast<size_t>(size), '\0');
    source.ReadBuffer(buffer.data(), size);
    destination.WriteBuffer(buffer.data(), size);
    source.SetPosition(0);
    destination.SetPosition(0);
}

}  // namespace core
