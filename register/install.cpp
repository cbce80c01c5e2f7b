#include "register/install.h"

#include "platform/core/errors.h"
#include "platform/core/paths.h"
#include "platform/core/profile.h"

namespace registration {

std::string ProgramDir() {
    std::string dir = core::WithTrailingBackslash(core::ExecutableDir());
    if (dir.empty()) throw core::Exception("Programmverzeichnis nicht ermittelbar");
    return dir;
}

void Install(const std::string& dir) {
    core::IniFile common(dir + kCommonIni);
    // Other modules may have set these already; only a missing or unusable value is replaced.
    if (common.ReadString(kSection, "Caption", "").empty())
        common.WriteString(kSection, "Caption", "Kalkulation");
    if (common.ReadInteger(kSection, "Width", 0) == 0) common.WriteInteger(kSection, "Width", 90);

    core::IniFile own(dir + kModuleIni);
    own.WriteString(kSection, "Caption", kModuleCaption);
    own.WriteString(kSection, "DLL", dir + kLibraryFile);
    own.WriteBool(kSection, "Compress", true);
}

}  // namespace registration
