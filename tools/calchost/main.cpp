// calchost: the reference host. It creates an exchange area, fills it with an order, loads the module,
// calls CalcModuleRun, and prints what came back.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/core/cp1252.h"
#include "platform/core/paths.h"
#include "platform/core/profile.h"
#include "plugin/param_table_text.h"
#include "plugin/payload_compression.h"
#include "tools/calchost/modal_driver.h"

namespace {

constexpr size_t kAreaSize = 1000000;

const char kUsage[] =
    "usage: calchost [--module PATH | --registry DIR] [--accept | --cancel] [--screenshot FILE.png]\n"
    "                [--out AREA_OUT] AREA_IN\n"
    "\n"
    "Creates a shared-memory exchange area of 1,000,000 bytes, fills it from AREA_IN (a raw area file, or a\n"
    "shorter parameter-table text that is padded with zero bytes), loads the module and calls "
    "CalcModuleRun.\n"
    "\n"
    "  --module PATH       the module to load (default: Vorlux.so beside calchost)\n"
    "  --registry DIR      load the module that Kelmar registered in DIR (VorluxUSERCALC.INI, GLOBAL/DLL)\n"
    "  --accept            accept the module's window (F3); message boxes are answered with their default\n"
    "  --cancel            cancel the module's window (Escape)\n"
    "  --screenshot FILE   save the module's window as PNG just before the accept or cancel\n"
    "  --out AREA_OUT      write the whole area after the call to this file\n"
    "\n"
    "Without a display calchost runs offscreen; without --accept it then cancels.\n"
    "Exit code 0 when the call ran, 2 for bad arguments, 3 when the area or the module cannot be used.\n";

struct Options {
    std::string module, registry, screenshot, out, in;
    enum { None, Accept, Cancel } drive = None;
};

std::string Utf8(const std::string& cp1252) {
    std::string out;
    for (char32_t cp : core::Cp1252Decode(cp1252)) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// The named area, removed again when the host is done.
class Area {
  public:
    explicit Area(std::string name) : name_(std::move(name)) {
        int fd = shm_open(("/" + name_).c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
        if (fd < 0) throw std::runtime_error("cannot create the shared-memory area /" + name_);
        created_ = true;
        bool ok = ftruncate(fd, kAreaSize) == 0;
        void* p = ok ? mmap(nullptr, kAreaSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
        close(fd);
        if (p == MAP_FAILED) throw std::runtime_error("cannot map the shared-memory area /" + name_);
        view_ = static_cast<char*>(p);
    }
    ~Area() {
        if (view_) munmap(view_, kAreaSize);
        if (created_) shm_unlink(("/" + name_).c_str());
    }
    const std::string& Name() const { return name_; }
    char* Data() { return view_; }

  private:
    std::string name_;
    bool created_ = false;
    char* view_ = nullptr;
};

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) return false;
            target = argv[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (a == "--module") {
            if (!value(o.module)) return false;
        } else if (a == "--registry") {
            if (!value(o.registry)) return false;
        } else if (a == "--screenshot") {
            if (!value(o.screenshot)) return false;
        } else if (a == "--out") {
            if (!value(o.out)) return false;
        } else if (a == "--accept") {
            o.drive = Options::Accept;
        } else if (a == "--cancel") {
            o.drive = Options::Cancel;
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "calchost: unknown option " << a << "\n";
            return false;
        } else if (o.in.empty()) {
            o.in = a;
        } else {
            return false;
        }
    }
    return !o.in.empty() && (o.module.empty() || o.registry.empty());
}

// The library a registration names: "DLL" in section "GLOBAL" of the module's own file in `dir`.
std::string RegisteredModule(const std::string& dir) {
    std::string ini = core::WithTrailingBackslash(dir) + "VorluxUSERCALC.INI";
    std::string module = core::IniFile(ini).ReadString("GLOBAL", "DLL", "");
    if (module.empty()) std::cerr << "calchost: no module registered in " << ini << " (GLOBAL/DLL)\n";
    return module;
}

void PrintSummary(const std::string& area) {
    plugin::ParamTable table;
    plugin::ParamTableFromText(area, table);
    bool written = false;
    std::cout << "returned table: " << table.RecordCount() << " rows\n";
    for (const auto& row : table.Rows()) {
        std::string ident = row.Ident.value_or("(null)");
        std::cout << "  " << Utf8(ident);
        if (row.ValueB) std::cout << " = \"" << Utf8(*row.ValueB) << "\"";
        if (row.ValueA) std::cout << "  [payload " << row.ValueA->size() << " bytes]";
        std::cout << "\n";
        if (row.ValueA && row.ValueA->rfind("{\\rtf", 0) == 0) {
            const std::string& rtf = *row.ValueA;
            std::cout << "    " << Utf8(rtf.substr(0, 240)) << (rtf.size() > 240 ? "..." : "") << "\n";
        }
        if (ident == "ACTION" && row.ValueB.value_or("") == "WRITE") written = true;
    }
    if (table.Locate("DATA")) {
        // The order lines, decoded whether or not they were compressed, one text line each.
        core::MemoryStream src(table.FieldAsText(plugin::ParamField::ValueA)), lines;
        plugin::DecompressStream(src, lines);
        std::cout << "order lines (DATA):\n";
        std::istringstream text(lines.Bytes());
        for (std::string l; std::getline(text, l);) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            std::cout << "  | " << Utf8(l) << "\n";
        }
    }
    std::cout << (written ? "ACTION = WRITE came back: the order was written back\n"
                          : "no ACTION = WRITE: the area is as the host left it\n");
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::cerr << kUsage;
        return 2;
    }
    const bool headless = !getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY");
    if (headless && !getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const bool offscreen =
        std::string(getenv("QT_QPA_PLATFORM") ? getenv("QT_QPA_PLATFORM") : "") == "offscreen";
    if (o.drive == Options::None && offscreen) {
        std::cerr << "calchost: no display and no --accept/--cancel: cancelling\n";
        o.drive = Options::Cancel;
    }
    if (!o.registry.empty()) {
        o.module = RegisteredModule(o.registry);
        if (o.module.empty()) return 3;
    }
    if (o.module.empty()) o.module = core::ExecutableDir() + "Vorlux.so";

    std::ifstream in(o.in, std::ios::binary);
    if (!in) {
        std::cerr << "calchost: cannot read " << o.in << "\n";
        return 3;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string input = buffer.str();
    if (input.size() > kAreaSize) {
        std::cerr << "calchost: " << o.in << " is larger than the area (" << kAreaSize << " bytes)\n";
        return 3;
    }

    QApplication app(argc, argv);
    app.setApplicationName("calchost");
    try {
        Area area("calchost_" + std::to_string(getpid()));
        std::memset(area.Data(), 0, kAreaSize);
        std::memcpy(area.Data(), input.data(), input.size());

        void* lib = dlopen(o.module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            std::cerr << "calchost: cannot load the module: " << dlerror() << "\n";
            return 3;
        }
        using RunFn = int32_t (*)(const char*);
        auto run = reinterpret_cast<RunFn>(dlsym(lib, "CalcModuleRun"));
        if (!run) {
            std::cerr << "calchost: " << o.module << " has no export CalcModuleRun\n";
            return 3;
        }

        bool shot = false;
        host::ModalDriver driver([&](QWidget* modal) {
            if (host::ModalDriver::IsMessage(modal)) {
                std::cerr << "message: " << host::ModalDriver::MessageText(modal).toStdString() << "\n";
                if (!o.screenshot.empty() && !shot)
                    shot = modal->grab().save(QString::fromStdString(o.screenshot));
                host::ModalDriver::PressKey(modal, Qt::Key_Return);
                return;
            }
            if (!o.screenshot.empty() && !shot)
                shot = modal->grab().save(QString::fromStdString(o.screenshot));
            if (o.drive == Options::Accept) host::ModalDriver::PressKey(modal, Qt::Key_F3);
            if (o.drive == Options::Cancel) host::ModalDriver::PressKey(modal, Qt::Key_Escape);
        });

        int32_t result = run(area.Name().c_str());
        std::cout << "CalcModuleRun returned " << result << "\n";
        if (!o.screenshot.empty())
            std::cout << (shot ? "screenshot saved to " : "no screenshot taken for ") << o.screenshot << "\n";

        std::string after(area.Data(), kAreaSize);
        if (!o.out.empty()) {
            std::ofstream out(o.out, std::ios::binary | std::ios::trunc);
            out.write(after.data(), static_cast<std::streamsize>(after.size()));
        }
        PrintSummary(after);
    } catch (const std::exception& e) {
        std::cerr << "calchost: " << e.what() << "\n";
        return 3;
    }
    return 0;
}
