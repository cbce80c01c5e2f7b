#include "platform/core/memory_mapped_file_stream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/errors.h"
#include "platform/core/strings.h"

namespace core {

namespace {
constexpr uint32_t kAllAccess = 0xF001F;
constexpr uint32_t kWriteAccess = 2;
constexpr uint32_t kReadAccess = 4;
}  // namespace

std::string TMemoryMappedFileStream::SystemName(const std::string& mapName) {
    if (!mapName.empty() && mapName.front() == '/') return mapName;
    return "/" + mapName;
}

TMemoryMappedFileStream::TMemoryMappedFileStream(const std::string& mapName, int64_t size, int mode)
    : mapName_(mapName) {
    errno = 0;
    if (mode == kModeCreate) throw EFCreateError("Use \"Create\" constructor with fmCreate mode");
    if (mode & 2)
        mapAccess_ = kAllAccess;
    else if (mode & 1)
        mapAccess_ = kWriteAccess;
    else
        mapAccess_ = kReadAccess;
    capacity_ = size;
    size_ = size;

    // Write access implies read access, as it does for a mapping; shared memory has no write-only mode.
    int flags = mapAccess_ == kReadAccess ? O_RDONLY : O_RDWR;
    fd_ = shm_open(SystemName(mapName_).c_str(), flags | O_CLOEXEC, 0);
    if (fd_ < 0)
        throw EFOpenError(Format("Error opening file mapping object %s\r\nCode %d", mapName_.c_str(), errno));

    try {
        struct stat st {};
        if (fstat(fd_, &st) != 0)
            throw EFOpenError(Format("Error mapping file %s\r\nCode %d", mapName_.c_str(), errno));
        // Touching a mapping beyond the object's end kills the process, so an object smaller than the
        // size the caller will use is refused here, before anything is mapped.
        if (st.st_size < size || st.st_size <= 0)
            throw EFOpenError(Format("Error mapping file %s\r\nCode %d", mapName_.c_str(), EINVAL));
        viewLength_ = st.st_size;
        void* view =
            mmap(nullptr, static_cast<size_t>(viewLength_), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
        if (view == MAP_FAILED)
            throw EFOpenError(Format("Error mapping file %s\r\nCode %d", mapName_.c_str(), errno));
        view_ = view;
    } catch (...) {
        try {
            CloseMapping();
        } catch (const EStreamError&) {
            // The open error is the one the caller needs to see.
        }
        throw;
    }
    position_ = 0;
}

TMemoryMappedFileStream::~TMemoryMappedFileStream() {
    try {
        CloseMapping();
    } catch (const EStreamError&) {
    }
}

int64_t TMemoryMappedFileStream::Read(void* buffer, int64_t count) {
    if (position_ < 0 || count < 0 || view_ == nullptr) return 0;
    int64_t available = size_ - position_;
    if (available <= 0) return 0;
    int64_t n = std::min(count, available);
    std::memcpy(buffer, static_cast<const char*>(view_) + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryMappedFileStream::Write(const void* buffer, int64_t count) {
    if (position_ < 0 || count < 0) return 0;
    int64_t end = position_ + count;
    if (end <= 0) return 0;
    if (end > size_) {
        if (end > capacity_) Remap(end);
        size_ = end;
    }
    if (view_ == nullptr) return 0;
    std::memcpy(static_cast<char*>(view_) + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryMappedFileStream::Seek(int64_t offset, int origin) {
    switch (origin) {
        case soBeginning:
            position_ = offset;
            break;
        case soCurrent:
            position_ += offset;
            break;
        case soEnd:
            position_ = size_ + offset;
            break;
        default:
            break;
    }
    return position_;
}

void TMemoryMappedFileStream::SetSize(int64_t newSize) {
    if (newSize < size_) {
        Remap(newSize);
        return;
    }
    if (newSize > capacity_) {
        Remap(newSize);
        if (capacity_ < newSize) return;
    }
    size_ = newSize;
}

bool TMemoryMappedFileStream::Flush() {
    if (view_ == nullptr) return true;
    return msync(view_, static_cast<size_t>(viewLength_), MS_SYNC) == 0;
}

void TMemoryMappedFileStream::Remap(int64_t newSize) {
    if (newSize == 0) {
        Flush();
        size_ = 0;
        capacity_ = 0;
        return;
    }
    CloseMapping();
    throw EFOpenError(Format("Cannot change size of an open mapping object %s", mapName_.c_str()));
}

void TMemoryMappedFileStream::CloseMapping() {
    if (view_ != nullptr) {
        void* view = view_;
        view_ = nullptr;
        if (msync(view, static_cast<size_t>(viewLength_), MS_SYNC) != 0) {
            int code = errno;
            munmap(view, static_cast<size_t>(viewLength_));
            throw EStreamError(Format("Error flushing\r\nCode %d", code));
        }
        if (munmap(view, static_cast<size_t>(viewLength_)) != 0)
            throw EStreamError(Format("Error unmapping view\r\nCode %d", errno));
    }
    if (fd_ >= 0) {
        int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0)
            throw EStreamError(Format("Error closing map %s\r\nCode %d", mapName_.c_str(), errno));
    }
}

}  // namespace core
