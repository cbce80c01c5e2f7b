#include "ui/animated_cursors.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <vector>

#include "ui/ani_file.h"

namespace ui {

namespace {

struct Entry {
    AniFile ani;
    std::vector<QCursor> cursors;  // built on first show, one per frame
};

struct CursorTable {
    std::map<int, Entry> entries;
    int current = 0;
    bool overridden = false;
    size_t step = 0;
    QTimer* timer = nullptr;
};

CursorTable& Table() {
    static CursorTable table;
    return table;
}

// "" when there is no usable temporary folder.
std::string TemporaryAniName() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) return "";
    static std::mt19937 random{std::random_device{}()};
    for (;;) {
        std::filesystem::path candidate = dir / ("cur" + std::to_string(random() % 1000000) + ".ANI");
        if (!std::filesystem::exists(candidate, ec)) return candidate.string();
    }
}

bool BuildCursors(Entry& e) {
    if (!e.cursors.empty()) return true;
    for (const std::string& frame : e.ani.frames) {
        QImage image =
            QImage::fromData(reinterpret_cast<const uchar*>(frame.data()), static_cast<int>(frame.size()));
        if (image.isNull()) {
            e.cursors.clear();
            return false;
        }
        Hotspot h = CursorHotspot(frame);
        e.cursors.emplace_back(QPixmap::fromImage(image), h.x, h.y);
    }
    return true;
}

void ShowStep() {
    CursorTable& t = Table();
    auto it = t.entries.find(t.current);
    QCursor cursor(Qt::ArrowCursor);
    int delayMs = 0;
    if (it != t.entries.end() && BuildCursors(it->second)) {
        const AniStep& s = it->second.ani.steps[t.step % it->second.ani.steps.size()];
        cursor = it->second.cursors[s.frame];
        delayMs = static_cast<int>(s.jiffies * 1000 / 60);
    }
    if (t.overridden) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        t.overridden = true;
    }
    if (delayMs > 0 && it->second.ani.steps.size() > 1) {
        if (!t.timer) {
            t.timer = new QTimer(QCoreApplication::instance());
            t.timer->setSingleShot(true);
            QObject::connect(t.timer, &QTimer::timeout, [] {
                ++Table().step;
                if (Table().overridden) ShowStep();
            });
        }
        t.timer->start(std::max(delayMs, 16));
    }
}

}  // namespace

void RegisterAnimatedCursor(const std::string& resourceName, int number) {
    QFile resource(QString::fromStdString(":/cursors/" + resourceName + ".ani"));
    if (!resource.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = resource.readAll();
    const std::string file = TemporaryAniName();
    if (file.empty()) return;
    std::string loaded;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out) return;
        out.write(bytes.constData(), bytes.size());
        out.close();
        std::ifstream in(file, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        loaded = ss.str();
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (loaded.size() != static_cast<size_t>(bytes.size())) return;
    if (auto ani = ReadAniFile(loaded)) Table().entries[number] = Entry{std::move(*ani), {}};
}

void RegisterModuleCursors() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterAnimatedCursor("CRCURSOR_PRINT", kCursorPrint);
        RegisterAnimatedCursor("CRCURSOR_WAIT", kCursorWait);
        RegisterAnimatedCursor("CRCURSOR_PDF", kCursorPdf);
    });
}

bool HasCursor(int number) {
    return Table().entries.count(number) != 0;
}

int ScreenCursor() {
    return Table().current;
}

void SetScreenCursor(int number) {
    CursorTable& t = Table();
    t.current = number;
    t.step = 0;
    if (t.timer) t.timer->stop();
    if (number == 0) {
        if (t.overridden) QGuiApplication::restoreOverrideCursor();
        t.overridden = false;
        return;
    }
    ShowStep();
}

void ResetCursorTable() {
    SetScreenCursor(0);
    Table().entries.clear();
}

}  // namespace ui
