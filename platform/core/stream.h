#pragma once
// Byte streams in the shape the system's code expects: a base with Read/Write/Seek/SetSize, position and
// size derived from Seek, and the "exactly n bytes or fail" operations.
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

enum SeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class Stream {
  public:
    virtual ~Stream() = default;
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, int origin) = 0;
    virtual void SetSize(int64_t newSize) = 0;
    // A hint that about count bytes will be written from the position on; a stream that can make room
    // for them in advance does, the others ignore it. Neither size nor position change.
    virtual void Reserve(int64_t count) { (void)count; }

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
    int64_t Size();

    // Read or write exactly count bytes, or raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    void WriteString(std::string_view bytes) {
        WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    }

    // Everything from the current position to the end.
    virtual std::string ReadRest();
};

// A stream over a growable byte buffer.
class MemoryStream : public Stream {
  public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes) : data_(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    void SetSize(int64_t newSize) override;
    void Reserve(int64_t count) override;
    std::string ReadRest() override;

    const std::string& Bytes() const { return data_; }
    std::string& MutableBytes() { return data_; }
    void Clear() {
        data_.clear();
        pos_ = 0;
    }

  private:
    std::string data_;
    int64_t pos_ = 0;
};

// Copy the whole content of one stream into another: nothing when the source is empty; otherwise both
// are rewound, all bytes read in one buffer and written, and both rewound again.
void CopyStreamWhole(Stream& source, Stream& destination);

}  // namespace core
