#include "platform/core/paths.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace core {

std::string WithTrailingBackslash(const std::string& path) {
    if (path.empty()) return path;
    char last = path.back();
    if (last == ':' || last == kPathDelim) return path;
    if (path.size() == 1 && ((last >= 'A' && last <= 'Z') || (last >= 'a' && last <= 'z')))
        return path + ':' + kPathDelim;
    return path + kPathDelim;
}

namespace {
std::string DirOf(const std::string& file) {
    auto slash = file.rfind('/');
    if (slash == std::string::npos) return "";
    return file.substr(0, slash + 1);
}
}  // namespace

std::string ExecutableDir() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";
    return DirOf(std::string(buf, static_cast<size_t>(n)));
}

std::string ModuleDirOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
    std::string file = info.dli_fname;
    char resolved[PATH_MAX];
    if (realpath(file.c_str(), resolved) != nullptr) file = resolved;
    return DirOf(file);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace core
