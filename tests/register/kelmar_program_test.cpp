// The program as the user runs it: a copy of Kelmar in a directory of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/register/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using register_test::RunProgram;
using testing_support::TempDir;

fs::path BuildDir() {
    const char* build = std::getenv("VORLUX_BUILD_DIR");
    return build != nullptr ? build : ".";
}

// Kelmar copied into a fresh directory, as it is shipped beside the library.
class KelmarInDir : public ::testing::Test {
  protected:
    void SetUp() override { fs::copy_file(BuildDir() / "Kelmar", dir.File("Kelmar")); }
    std::string Kelmar() const { return dir.File("Kelmar"); }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir dir;
};

}  // namespace

TEST_F(KelmarInDir, AnythingButExactlyInstallChangesNothing) {
    dir.Write("USERCALCMODULE.INI", "[GLOBAL]\nWidth=abc\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{},
                                                                                      {"install"},
                                                                                      {"Install"},
                                                                                      {"INSTALL "},
                                                                                      {"INSTALLX"},
                                                                                      {""},
                                                                                      {"/INSTALL"},
                                                                                      {"x", "INSTALL"}}) {
        auto result = RunProgram(Kelmar(), args);
        EXPECT_EQ(result.exitCode, 0) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"Kelmar", "USERCALCMODULE.INI"}));
    EXPECT_EQ(dir.Read("USERCALCMODULE.INI"), "[GLOBAL]\nWidth=abc\n");
}

TEST_F(KelmarInDir, InstallRegistersTheLibraryBesideTheProgram) {
    auto result = RunProgram(Kelmar(), {"INSTALL", "ignored"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out + result.err, "");  // it shows nothing
    EXPECT_EQ(dir.Read("USERCALCMODULE.INI"), "[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\n");
    EXPECT_EQ(dir.Read("VorluxUSERCALC.INI"), "[GLOBAL]\r\nCaption=Paragraph 13b entfernen\r\nDLL=" +
                                                  dir.Path() + "Vorlux.so\r\nCompress=1\r\n");
}

TEST_F(KelmarInDir, AFailedWriteIsReportedAndEndsWithAnError) {
    fs::create_directory(dir.File("VorluxUSERCALC.INI"));
    auto result = RunProgram(Kelmar(), {"INSTALL"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("nach " + dir.Path() + "VorluxUSERCALC.INI kann nicht geschrieben werden"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(dir.Read("USERCALCMODULE.INI"), "[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\n");
}
