#include <gtest/gtest.h>

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/temp_dir.h"
#include "ui/ani_file.h"
#include "ui/animated_cursors.h"

namespace {

std::string Resource(const std::string& name) {
    std::ifstream in(std::string(std::getenv("VORLUX_SOURCE_DIR")) + "/resources/cursors/" + name,
                     std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "cursors_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

std::vector<uint32_t> Frames(const ui::AniFile& a) {
    std::vector<uint32_t> v;
    for (const auto& s : a.steps) v.push_back(s.frame);
    return v;
}

// Points the system's temporary folder somewhere else for one test.
struct TmpDirOverride {
    explicit TmpDirOverride(const std::string& dir) {
        if (const char* old = std::getenv("TMPDIR")) saved = old;
        setenv("TMPDIR", dir.c_str(), 1);
    }
    ~TmpDirOverride() {
        if (saved.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", saved.c_str(), 1);
    }
    std::string saved;
};

}  // namespace

TEST(AniFile, ReadsTheModulesOwnCursors) {
    struct Case {
        const char* file;
        size_t frames;
        std::vector<uint32_t> sequence;
    } cases[] = {
        {"CRCURSOR_WAIT.ani", 11, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"CRCURSOR_PRINT.ani", 9, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"CRCURSOR_PDF.ani", 5, {0, 1, 2, 3, 4, 3}},
    };
    for (const auto& c : cases) {
        auto ani = ui::ReadAniFile(Resource(c.file));
        ASSERT_TRUE(ani) << c.file;
        EXPECT_EQ(ani->frames.size(), c.frames) << c.file;
        EXPECT_EQ(Frames(*ani), c.sequence) << c.file;
        for (const auto& s : ani->steps) EXPECT_GT(s.jiffies, 0u);
    }
    EXPECT_EQ(ui::CursorHotspot(ui::ReadAniFile(Resource("CRCURSOR_WAIT.ani"))->frames[0]).x, 16);
}

TEST(AniFile, RefusesMalformedFiles) {
    const std::string good = Resource("CRCURSOR_PDF.ani");
    std::string badStep = good;
    badStep.replace(badStep.find("seq ") + 8 + 4 * 5, 4, std::string("\x09\0\0\0", 4));
    std::string hugeChunk = good;
    hugeChunk.replace(hugeChunk.find("LIST") + 4, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"not ACON", good.substr(0, 8) + "WAVE" + good.substr(12)},
        {"header only", good.substr(0, 12 + 8 + 36)},
        {"step names a missing frame", badStep},
        {"chunk larger than the file", hugeChunk},
    };
    for (const auto& c : cases) EXPECT_FALSE(ui::ReadAniFile(c.bytes)) << c.what;
    EXPECT_TRUE(ui::ReadAniFile(good));
}

TEST(AnimatedCursors, RegistrationLeavesNoTemporaryFile) {
    App();
    testing_support::TempDir tmp;
    TmpDirOverride over(tmp.Path());
    ui::ResetCursorTable();
    for (auto [name, number] :
         {std::pair{"CRCURSOR_PRINT", 5001}, {"CRCURSOR_WAIT", 5000}, {"CRCURSOR_PDF", 5002}})
        ui::RegisterAnimatedCursor(name, number);
    EXPECT_TRUE(ui::HasCursor(5000) && ui::HasCursor(5001) && ui::HasCursor(5002));
    EXPECT_TRUE(std::filesystem::is_empty(tmp.Path()));
    ui::RegisterAnimatedCursor("NO_SUCH_CURSOR", 5003);
    EXPECT_FALSE(ui::HasCursor(5003));
}

TEST(AnimatedCursors, WaitCursorShowsItsFramesAndEndsOnTheDefault) {
    App();
    testing_support::TempDir tmp;
    TmpDirOverride over(tmp.Path());
    ui::ResetCursorTable();
    ui::RegisterAnimatedCursor("CRCURSOR_WAIT", ui::kCursorWait);
    ui::BeginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(16, 16));
    ui::EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui::ScreenCursor(), 0);
}

TEST(AnimatedCursors, UnwritableTemporaryFolderLeavesTheDefaultArrow) {
    App();
    TmpDirOverride over("/nonexistent/vorlux-tmp");
    ui::ResetCursorTable();
    ui::RegisterAnimatedCursor("CRCURSOR_WAIT", ui::kCursorWait);
    EXPECT_FALSE(ui::HasCursor(ui::kCursorWait));
    ui::BeginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    ui::EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
