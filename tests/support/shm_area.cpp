#include "tests/support/shm_area.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace testing_support {

std::string UniqueName(std::string_view prefix) {
    static std::atomic<int> counter{0};
    return std::string(prefix) + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
}

ShmArea::ShmArea(int64_t size, std::string_view content) : name_(UniqueName("vorlux_test")), size_(size) {
    int fd = shm_open(("/" + name_).c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    if (fd < 0) throw std::runtime_error("shm_open failed");
    if (ftruncate(fd, size) != 0) {
        close(fd);
        throw std::runtime_error("ftruncate failed");
    }
    close(fd);
    Fill(content);
}

ShmArea::~ShmArea() {
    shm_unlink(("/" + name_).c_str());
}

namespace {
template <typename F>
void WithMapping(const std::string& name, int64_t size, F f) {
    int fd = shm_open(("/" + name).c_str(), O_RDWR, 0);
    if (fd < 0) throw std::runtime_error("shm_open failed");
    void* p = size > 0 ? mmap(nullptr, static_cast<size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : nullptr;
    close(fd);
    if (p == MAP_FAILED) throw std::runtime_error("mmap failed");
    f(static_cast<char*>(p));
    if (p) munmap(p, static_cast<size_t>(size));
}
}  // namespace

void ShmArea::Fill(std::string_view content) {
    WithMapping(name_, size_, [&](char* p) {
        if (!p) return;
        std::memset(p, 0, static_cast<size_t>(size_));
        if (!content.empty())
            std::memcpy(p, content.data(), std::min<size_t>(content.size(), static_cast<size_t>(size_)));
    });
}

std::string ShmArea::Bytes() const {
    std::string out;
    WithMapping(name_, size_, [&](char* p) {
        if (p) out.assign(p, static_cast<size_t>(size_));
    });
    return out;
}

std::string ShmArea::Text() const {
    std::string all = Bytes();
    return all.substr(0, all.find('\0'));
}

}  // namespace testing_support
