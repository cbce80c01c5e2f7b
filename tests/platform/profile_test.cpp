#include "platform/core/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace {

using core::IniFile;
using core::ProfileText;
using testing_support::TempDir;

constexpr char kSample[] =
    "; written by hand\r\n"
    "Orphan=before any section\r\n"
    "[Global]\r\n"
    "  Caption = Module  \r\n"
    "Width=120\r\n"
    ";Hidden=1\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Half=\"x\r\n"
    "Bare\r\n"
    "Width=999\r\n"
    "\r\n"
    "[ Other ]\r\n"
    "Key=other\r\n"
    "[GLOBAL]\r\n"
    "Late=second header of the same name\r\n"
    "[\xC4nderung]\r\n"
    "K=umlaut\r\n";

}  // namespace

TEST(ProfileText, ReadsValuesWithoutRegardToCase) {
    ProfileText text(kSample);
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"GLOBAL", "CAPTION", "Module"},
        {"global", "width", "120"},  // the first of two equal keys
        {"Global", "Quoted", "  spaced  "},
        {"Global", "Single", "x"},
        {"Global", "Half", "\"x"},
        {"Global", "Bare", ""},
        {"Global", "Hidden", std::nullopt},  // commented out
        {"Global", ";Hidden", std::nullopt},
        {"Global", "Orphan", std::nullopt},  // lines before the first header belong to no section
        {"Global", "Late", "second header of the same name"},
        {"other", "key", "other"},
        {"Other", "Caption", std::nullopt},
        {"Missing", "Key", std::nullopt},
        {"\xE4nderung", "k", "umlaut"},  // accented letters fold in the 8-bit code page
    };
    for (const auto& c : cases) EXPECT_EQ(text.Value(c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(ProfileText, ListsSectionsAndKeysOnceInFileOrder) {
    ProfileText text(kSample);
    EXPECT_EQ(text.Sections(), (std::vector<std::string>{"Global", "Other", "\xC4nderung"}));
    EXPECT_EQ(text.Keys("GLOBAL"),
              (std::vector<std::string>{"Caption", "Width", "Quoted", "Single", "Half", "Bare", "Late"}));
    EXPECT_TRUE(text.HasSection("other"));
    EXPECT_FALSE(text.HasSection("Orphan"));
}

TEST(ProfileText, KeepsTheTextByteForByteWhenNothingChanges) {
    for (const char* bytes : {kSample, "", "\n", "[A]\nK=1", "no ending\r", "mixed\r\n[A]\nK=1\r\n\r\n"})
        EXPECT_EQ(ProfileText(bytes).Text(), bytes);
    EXPECT_EQ(ProfileText("[A]\nK=x\r").Value("A", "K"), "x");
}

TEST(ProfileText, WritesOnlyTheLineConcerned) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"replaces in place, keeps the key's spelling", "; c\r\n[GLOBAL]\r\n  wIdTh = 1 \r\nX=2\r\n",
         "global", "Width", "90", "; c\r\n[GLOBAL]\r\nwIdTh=90\r\nX=2\r\n"},
        {"adds after the section's last key", "[A]\r\nK=1\r\n;note\r\n\r\n[B]\r\nK=2\r\n", "a", "New", "v",
         "[A]\r\nK=1\r\nNew=v\r\n;note\r\n\r\n[B]\r\nK=2\r\n"},
        {"adds below an empty section", "[A]\n\n[B]\n", "A", "K", "v", "[A]\nK=v\n\n[B]\n"},
        {"appends a missing section", "[A]\nK=1\n", "GLOBAL", "DLL", "/x/Vorlux.so",
         "[A]\nK=1\n[GLOBAL]\nDLL=/x/Vorlux.so\n"},
        {"ends an unterminated last line first", "[A]\r\nK=1", "A", "L", "2", "[A]\r\nK=1\r\nL=2\r\n"},
        {"replaces an unterminated last line", "[A]\nK=1", "A", "K", "2", "[A]\nK=2"},
        {"a last line ending in a lone CR", "[A]\nK=x\r", "A", "L", "2", "[A]\nK=x\r\nL=2\n"},
        {"a key line without a value", "[A]\nBare\n", "A", "bare", "x", "[A]\nBare=x\n"},
        {"a new file uses CR LF", "", "GLOBAL", "Caption", "Kalkulation",
         "[GLOBAL]\r\nCaption=Kalkulation\r\n"},
        {"an empty value", "[A]\nK=1\n", "A", "K", "", "[A]\nK=\n"},
    };
    for (const auto& c : cases) {
        ProfileText text(c.before);
        EXPECT_TRUE(text.SetValue(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(text.Text(), c.after) << c.name;
    }
}

TEST(ProfileText, RefusesWhatCouldNotBeReadBackAsWritten) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"A", "K", "two\r\nlines"},
        {"A", "K", "x\n[Evil]"},
        {"A", "K=", "v"},
        {"A", "", "v"},
        {"A", " K", "v"},
        {"A", ";K", "v"},
        {"A", "[K", "v"},
        {"A]", "K", "v"},
        {"", "K", "v"},
        {"A\n", "K", "v"},
    };
    for (const auto& c : cases) {
        ProfileText text("[A]\nK=1\n");
        EXPECT_FALSE(text.SetValue(c.section, c.key, c.value)) << c.section << "/" << c.key << "/" << c.value;
        EXPECT_EQ(text.Text(), "[A]\nK=1\n");
    }
}

TEST(IniFile, ReadsIntegersDecimalOrHexOtherwiseTheFallback) {
    TempDir dir;
    dir.Write("t.ini",
              "[N]\ndec=90\nneg=-5\nhex=0x1F\ndollar=$10\nword=abc\nempty=\nmixed=12abc\nbig=99999999999\n");
    IniFile ini(dir.File("t.ini"));
    struct Case {
        const char* key;
        int32_t value;
    } cases[] = {{"dec", 90},  {"neg", -5},  {"hex", 31}, {"dollar", 16}, {"word", 7},
                 {"empty", 7}, {"mixed", 7}, {"big", 7},  {"missing", 7}};
    for (const auto& c : cases) EXPECT_EQ(ini.ReadInteger("n", c.key, 7), c.value) << c.key;
    EXPECT_TRUE(ini.ReadBool("N", "dec", false));
    EXPECT_FALSE(ini.ReadBool("N", "missing", false));
    EXPECT_TRUE(ini.ReadBool("N", "word", true));
}

TEST(IniFile, MissingFileReadsAsEmptyAndIsCreatedOnFirstWrite) {
    TempDir dir;
    IniFile ini(dir.File("new.ini"));
    EXPECT_EQ(ini.ReadString("GLOBAL", "Caption", "none"), "none");
    EXPECT_FALSE(ini.SectionExists("GLOBAL"));
    EXPECT_FALSE(std::filesystem::exists(ini.FileName()));

    ini.WriteString("GLOBAL", "Caption", "Kalkulation");
    ini.WriteInteger("GLOBAL", "Width", 90);
    ini.WriteBool("GLOBAL", "Compress", true);
    EXPECT_EQ(dir.Read("new.ini"), "[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\nCompress=1\r\n");
    EXPECT_TRUE(ini.ValueExists("global", "WIDTH"));
    EXPECT_EQ(ini.ReadInteger("Global", "width", 0), 90);
}

TEST(IniFile, WritesThroughASymlinkAndLeavesNoTemporaryFiles) {
    TempDir dir;
    dir.Write("real.ini", "[A]\nK=1\n");
    std::filesystem::create_symlink(dir.File("real.ini"), dir.File("link.ini"));
    IniFile(dir.File("link.ini")).WriteString("A", "K", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
    EXPECT_EQ(dir.Read("real.ini"), "[A]\nK=2\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 2);
}

TEST(IniFile, KeepsTheFilesPermissions) {
    TempDir dir;
    dir.Write("p.ini", "[A]\n");
    chmod(dir.File("p.ini").c_str(), 0640);
    IniFile(dir.File("p.ini")).WriteString("A", "K", "1");
    struct stat st {};
    ASSERT_EQ(stat(dir.File("p.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniFile, AFailedWriteThrowsWithTheFileName) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("taken.ini"));  // unwritable as a file, even for root
    struct Case {
        std::string file;
        const char* value;
    } cases[] = {
        {dir.File("taken.ini"), "v"},
        {dir.File("no/such/dir.ini"), "v"},
        {dir.File("ok.ini"), "line\nbreak"},
    };
    for (const auto& c : cases) {
        IniFile ini(c.file);
        try {
            ini.WriteString("A", "K", c.value);
            ADD_FAILURE() << "no error for " << c.file;
        } catch (const core::EIniFileException& e) {
            EXPECT_EQ(e.Message(), "nach " + c.file + " kann nicht geschrieben werden");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("ok.ini")));
}
