#pragma once
// A stream whose reads and writes work directly on a view of an existing named shared-memory object.
// The object belongs to someone else (the host); this stream only opens it by name and never resizes it.
#include <cstdint>
#include <string>

#include "platform/core/stream.h"

namespace core {

class TMemoryMappedFileStream : public Stream {
  public:
    static constexpr int kModeCreate = 65535;  // asks for a new object: refused

    // mode 2 = read and write, 1 = write, 0 = read. The view is always mapped writable, so mode 0 fails
    // at the mapping step. Raises EFCreateError / EFOpenError as described in the .cpp.
    TMemoryMappedFileStream(const std::string& mapName, int64_t size, int mode);
    // Swallows close errors: use Close() where they must be seen.
    ~TMemoryMappedFileStream() override;
    TMemoryMappedFileStream(const TMemoryMappedFileStream&) = delete;
    TMemoryMappedFileStream& operator=(const TMemoryMappedFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    void SetSize(int64_t newSize) override;
    virtual bool Flush();

    // Flush, unmap, close: in this order. Raises EStreamError on the first failing step. Idempotent.
    void Close() { CloseMapping(); }

    int64_t Capacity() const { return capacity_; }
    const std::string& MapName() const { return mapName_; }
    uint32_t MapAccess() const { return mapAccess_; }

    // The object's name as the system knows it: a leading "/" added when missing.
    static std::string SystemName(const std::string& mapName);

  private:
    void Remap(int64_t newSize);
    void CloseMapping();

    std::string mapName_;
    uint32_t mapAccess_ = 0;
    int fd_ = -1;
    void* view_ = nullptr;
    int64_t viewLength_ = 0;
    int64_t capacity_ = 0;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

}  // namespace core
