// A host installation from scratch: Kelmar and the module are copied into a directory, Kelmar registers
// the module there, and the reference host finds the library through the registration alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "plugin/param_table.h"
#include "plugin/param_table_text.h"
#include "tests/register/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using register_test::ProgramResult;
using register_test::RunProgram;
using testing_support::TempDir;

fs::path FromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : ".";
}
fs::path BuildDir() {
    return FromEnv("VORLUX_BUILD_DIR");
}
fs::path SourceDir() {
    return FromEnv("VORLUX_SOURCE_DIR");
}

class RegisteredInstallation : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(BuildDir() / "Kelmar", install.File("Kelmar"));
        fs::copy_file(BuildDir() / "Vorlux.so", install.File("Vorlux.so"));
        // The footer text a user keeps beside the module, when the examples hold one.
        fs::path footer = SourceDir() / "examples" / "Vorlux.RTF";
        if (fs::exists(footer)) fs::copy_file(footer, install.File("Vorlux.RTF"));
    }
    ProgramResult Host(const std::string& registry) {
        return RunProgram((BuildDir() / "calchost").string(),
                          {"--registry", registry, "--accept", "--out", work.File("area.bin"),
                           (SourceDir() / "examples" / "sample_order.txt").string()});
    }
    TempDir install, work;
};

}  // namespace

TEST_F(RegisteredInstallation, HostLoadsTheRegisteredModuleAndGetsTheOrderBack) {
    ProgramResult reg = RunProgram(install.File("Kelmar"), {"INSTALL"});
    ASSERT_EQ(reg.exitCode, 0) << reg.err;

    ProgramResult host = Host(install.Path());
    ASSERT_FALSE(host.timedOut) << "the host did not end: " << host.out << host.err;
    ASSERT_EQ(host.exitCode, 0) << host.out << host.err;
    EXPECT_NE(host.out.find("ACTION = WRITE came back"), std::string::npos) << host.out;

    plugin::ParamTable table;
    plugin::ParamTableFromText(work.Read("area.bin"), table);
    ASSERT_TRUE(table.Locate("ACTION"));
    EXPECT_EQ(table.FieldAsText(plugin::ParamField::ValueB), "WRITE");
}

TEST_F(RegisteredInstallation, HostFailsWithoutAUsableRegistration) {
    // Not registered yet: there is nothing to load.
    ProgramResult unregistered = Host(install.Path());
    EXPECT_EQ(unregistered.exitCode, 3);
    EXPECT_NE(unregistered.err.find("VorluxUSERCALC.INI"), std::string::npos) << unregistered.err;

    // Registered, but the library is gone: the host must not fall back to another copy.
    ASSERT_EQ(RunProgram(install.File("Kelmar"), {"INSTALL"}).exitCode, 0);
    fs::remove(install.File("Vorlux.so"));
    ProgramResult missing = Host(install.Path());
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("cannot load the module"), std::string::npos) << missing.err;
    EXPECT_EQ(work.Read("area.bin"), "");
}
