#pragma once
// A temporary directory removed with everything in it at the end of the test.
#include <string>
#include <string_view>

namespace testing_support {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }  // with a trailing "/"
    std::string File(std::string_view name) const { return path_ + std::string(name); }
    void Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;  // "" when missing

  private:
    std::string path_;
};

}  // namespace testing_support
