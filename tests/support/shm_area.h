#pragma once
// A named shared-memory object as a host creates it: sized, filled, and removed again at the end.
#include <cstdint>
#include <string>
#include <string_view>

namespace testing_support {

class ShmArea {
  public:
    // A fresh, unique name; the object is created with `size` zero bytes and `content` at offset 0.
    explicit ShmArea(int64_t size = 1000000, std::string_view content = {});
    ~ShmArea();
    ShmArea(const ShmArea&) = delete;
    ShmArea& operator=(const ShmArea&) = delete;

    const std::string& Name() const { return name_; }  // without the leading "/"
    std::string Bytes() const;                         // all `size` bytes
    void Fill(std::string_view content);               // zero the object, then write content at 0
    // The text at offset 0 up to the first zero byte.
    std::string Text() const;

  private:
    std::string name_;
    int64_t size_;
};

std::string UniqueName(std::string_view prefix);

}  // namespace testing_support
