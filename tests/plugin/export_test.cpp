// The module as the host meets it: the built Vorlux.so loaded with dlopen, its window driven by keys.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>

#include "tests/support/shm_area.h"
#include "tools/calchost/modal_driver.h"

using testing_support::ShmArea;

namespace {

using RunFn = int32_t (*)(const char*);

RunFn LoadModule() {
    static int argc = 1;
    static char name[] = "export_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    const char* dir = std::getenv("VORLUX_BUILD_DIR");
    std::string path = std::string(dir ? dir : ".") + "/Vorlux.so";
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) ADD_FAILURE() << dlerror();
    return lib ? reinterpret_cast<RunFn>(dlsym(lib, "CalcModuleRun")) : nullptr;
}

struct ModuleRun {
    int32_t result = -1;
    std::vector<std::string> messages;
};

// Calls the module; message windows are answered with Enter, the function window gets `key`.
ModuleRun RunModule(const std::string& areaName, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    ModuleRun r;
    RunFn run = LoadModule();
    if (!run) return r;
    host::ModalDriver driver([&](QWidget* modal) {
        if (host::ModalDriver::IsMessage(modal)) {
            r.messages.push_back(host::ModalDriver::MessageText(modal).toStdString());
            host::ModalDriver::PressKey(modal, Qt::Key_Return);
        } else {
            host::ModalDriver::PressKey(modal, key, mods);
        }
    });
    r.result = run(areaName.c_str());
    return r;
}

int OpenFdCount() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d)) ++n;
        closedir(d);
    }
    return n;
}

const std::string kOrder =
    "\"Ident\",\"ValueA\",\"ValueB\",\r\n"
    "\"Netto\",,\"1\",\r\n"
    "\"ADRESSNAME\",,\"Bau GmbH\",\r\n"
    "\"CalcFileName\",,\"K7.CAL\",\r\n";

}  // namespace

TEST(Export, MissingAreaShowsTheOpenErrorAndReturnsZero) {
    LoadModule();
    const int fds = OpenFdCount();
    ModuleRun r = RunModule("vorlux_no_such_area", Qt::Key_Escape);
    EXPECT_EQ(r.result, 0);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], "Error opening file mapping object vorlux_no_such_area\r\nCode 2");
    EXPECT_EQ(OpenFdCount(), fds);
}

TEST(Export, CancelLeavesTheAreaByteForByte) {
    for (auto mods : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        ShmArea area(1000000, kOrder);
        const std::string before = area.Bytes();
        ModuleRun r = RunModule(area.Name(), Qt::Key_Escape, mods);
        EXPECT_EQ(r.result, 0);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(area.Bytes(), before);
    }
}

TEST(Export, AcceptWritesTheTableBackWithTheReply) {
    ShmArea area(1000000, kOrder);
    ModuleRun r = RunModule(area.Name(), Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(r.result, 0);
    EXPECT_TRUE(r.messages.empty());
    std::string text = area.Text();
    EXPECT_EQ(text.rfind(kOrder, 0), 0u) << text;
    EXPECT_NE(text.find("\"ACTION\",,\"WRITE\",\r\n"), std::string::npos) << text;
}

TEST(Export, GrossOrReadOnlyOrdersAreRefusedAndNotWritten) {
    for (const char* rows : {"\"Netto\",,\"0\",\r\n", "\"Netto\",,\"1\",\r\n\"Browse\",,\"1\",\r\n"}) {
        ShmArea area(1000000, std::string("\"Ident\",\"ValueA\",\"ValueB\",\r\n") + rows);
        const std::string before = area.Bytes();
        ModuleRun r = RunModule(area.Name(), Qt::Key_F3);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_NE(r.messages[0].find("Der Auftrag muss im Bearbeitungsmodus sein, und in Netto vorliegen."),
                  std::string::npos);
        EXPECT_EQ(area.Bytes(), before);
    }
}
