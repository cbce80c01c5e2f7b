#include "register/install.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/profile.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::TempDir;

constexpr char kFreshCommon[] = "[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\n";

std::string ExpectedModuleIni(const TempDir& dir) {
    return "[GLOBAL]\r\nCaption=Paragraph 13b entfernen\r\nDLL=" + dir.Path() + "Vorlux.so\r\nCompress=1\r\n";
}

}  // namespace

TEST(Install, FillsTheCommonFileOnlyWhereItsValuesAreMissingOrUnusable) {
    struct Case {
        const char* name;
        const char* before;  // nullptr: no file
        const char* after;
    } cases[] = {
        {"missing file", nullptr, kFreshCommon},
        {"empty file", "", kFreshCommon},
        {"both set", "[GLOBAL]\r\nCaption=Module\r\nWidth=120\r\n",
         "[GLOBAL]\r\nCaption=Module\r\nWidth=120\r\n"},
        {"hexadecimal width kept", "[GLOBAL]\nCaption=M\nWidth=$78\n", "[GLOBAL]\nCaption=M\nWidth=$78\n"},
        {"width not an integer", "[GLOBAL]\r\nCaption=Module\r\nWidth=abc\r\n",
         "[GLOBAL]\r\nCaption=Module\r\nWidth=90\r\n"},
        {"width zero, caption empty", "[GLOBAL]\r\nCaption=\r\nWidth=0\r\n", kFreshCommon},
        {"other sections and comments stay",
         "; modules of the host\n[Other]\nWidth=5\n\n[global]\nX=1\n; end\n",
         "; modules of the host\n[Other]\nWidth=5\n\n[global]\nX=1\nCaption=Kalkulation\nWidth=90\n; end\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.before) dir.Write("USERCALCMODULE.INI", c.before);
        registration::Install(dir.Path());
        EXPECT_EQ(dir.Read("USERCALCMODULE.INI"), c.after) << c.name;
        EXPECT_EQ(dir.Read("VorluxUSERCALC.INI"), ExpectedModuleIni(dir)) << c.name;
    }
}

TEST(Install, ReplacesTheModulesKeysAndKeepsEverythingElse) {
    TempDir dir;
    dir.Write("VorluxUSERCALC.INI",
              "[Global]\r\nDLL=C:\\old\\Vorlux.DLL\r\nExtra=keep\r\ncompress=0\r\n\r\n[More]\r\nA=1\r\n");
    registration::Install(dir.Path());
    EXPECT_EQ(dir.Read("VorluxUSERCALC.INI"), "[Global]\r\nDLL=" + dir.Path() +
                                                  "Vorlux.so\r\nExtra=keep\r\ncompress=1\r\n"
                                                  "Caption=Paragraph 13b entfernen\r\n\r\n[More]\r\nA=1\r\n");
}

TEST(Install, TwiceGivesTheSameFilesAsOnce) {
    TempDir dir;
    dir.Write("USERCALCMODULE.INI", "[GLOBAL]\nWidth=abc\n[Z]\n");
    registration::Install(dir.Path());
    std::string common = dir.Read("USERCALCMODULE.INI"), own = dir.Read("VorluxUSERCALC.INI");
    registration::Install(dir.Path());
    EXPECT_EQ(dir.Read("USERCALCMODULE.INI"), common);
    EXPECT_EQ(dir.Read("VorluxUSERCALC.INI"), own);
}

TEST(Install, StopsAtTheFirstKeyThatCannotBeWrittenKeepingTheEarlierOnes) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("VorluxUSERCALC.INI"));  // refuses writes even to root
    try {
        registration::Install(dir.Path());
        FAIL() << "a failed registration reported success";
    } catch (const core::EIniFileException& e) {
        EXPECT_EQ(e.Message(), "nach " + dir.Path() + "VorluxUSERCALC.INI kann nicht geschrieben werden");
    }
    EXPECT_EQ(dir.Read("USERCALCMODULE.INI"), kFreshCommon);
}
