#pragma once
// Where things live: the running program, the library that contains a given symbol, path joining.
#include <string>

namespace core {

// Directory separator of this platform.
#ifdef _WIN32
inline constexpr char kPathDelim = '\\';
#else
inline constexpr char kPathDelim = '/';
#endif

// An empty path stays empty; a path ending in ":" or the separator is returned unchanged; a single
// letter A..Z (either case) gets ":" and the separator appended; any other path gets the separator.
std::string WithTrailingBackslash(const std::string& path);

// Directory of the running executable, with a trailing separator ("" when unknown).
std::string ExecutableDir();
// Directory of the shared object (or executable) that contains `address`, with a trailing separator.
std::string ModuleDirOf(const void* address);

bool FileExists(const std::string& path);

}  // namespace core
