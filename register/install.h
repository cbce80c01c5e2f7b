#pragma once
// Enters the calc module into the host's profile files, so that the host lists it and loads the library.
#include <string>

namespace registration {

// The host's list of user calc modules, shared by all of them.
inline constexpr char kCommonIni[] = "USERCALCMODULE.INI";
// This module's own file: the library's base name followed by "USERCALC.INI".
inline constexpr char kModuleIni[] = "VorluxUSERCALC.INI";
// The plug-in library, expected beside the registration program.
#ifdef _WIN32
inline constexpr char kLibraryFile[] = "Vorlux.DLL";
#else
inline constexpr char kLibraryFile[] = "Vorlux.so";
#endif
inline constexpr char kSection[] = "GLOBAL";
inline constexpr char kModuleCaption[] = "Paragraph 13b entfernen";

// The directory of the running program, with its trailing separator. Throws core::Exception when the
// system cannot tell it: files written relative to the working directory would name a wrong library.
std::string ProgramDir();

// Gives the common file its caption and width when they are missing or unusable, then writes the module's
// caption, library path and compression flag. `dir` ends with the separator. Throws
// core::EIniFileException when a key cannot be written; keys written before stay written.
void Install(const std::string& dir);

}  // namespace registration
