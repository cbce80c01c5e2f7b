#include "ui/ani_file.h"

#include <cstring>

namespace ui {

namespace {

constexpr uint32_t kIconFlag = 1;
constexpr uint32_t kSequenceFlag = 2;
constexpr uint32_t kMaxSteps = 4096;
constexpr uint32_t kDefaultJiffies = 10;

uint32_t U32(std::string_view s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
}

struct Chunk {
    std::string_view tag, data;
};

// Splits a run of RIFF chunks; false when a chunk claims more bytes than there are.
bool Chunks(std::string_view body, std::vector<Chunk>& out) {
    size_t at = 0;
    while (at + 8 <= body.size()) {
        uint32_t size = U32(body, at + 4);
        if (size > body.size() - at - 8) return false;
        out.push_back({body.substr(at, 4), body.substr(at + 8, size)});
        at += 8 + size + (size & 1);
    }
    return true;
}

std::vector<uint32_t> Dwords(std::string_view data, uint32_t count) {
    std::vector<uint32_t> v;
    for (uint32_t i = 0; i < count && 4 * static_cast<size_t>(i) + 4 <= data.size(); ++i)
        v.push_back(U32(data, 4 * i));
    return v;
}

}  // namespace

Hotspot CursorHotspot(std::string_view file) {
    // Directory: reserved, type (2 = cursor), count; then the first entry, whose planes and bit count
    // fields hold the hot spot in a cursor file.
    if (file.size() < 6 + 16 || file[2] != 2 || file[3] != 0) return {};
    auto u16 = [&](size_t at) {
        return static_cast<int>(static_cast<unsigned char>(file[at]) |
                                (static_cast<unsigned char>(file[at + 1]) << 8));
    };
    return {u16(10), u16(12)};
}

std::optional<AniFile> ReadAniFile(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "ACON")
        return std::nullopt;
    uint32_t riffSize = U32(bytes, 4);
    if (riffSize < 4) return std::nullopt;
    std::string_view body = bytes.substr(12, std::min<size_t>(riffSize - 4, bytes.size() - 12));
    std::vector<Chunk> chunks;
    if (!Chunks(body, chunks)) return std::nullopt;

    AniFile ani;
    bool haveHeader = false;
    std::string_view rate, seq;
    for (const Chunk& c : chunks) {
        if (c.tag == "anih" && c.data.size() >= 36) {
            ani.frameCount = U32(c.data, 4);
            ani.stepCount = U32(c.data, 8);
            ani.defaultJiffies = U32(c.data, 28);
            ani.flags = U32(c.data, 32);
            haveHeader = true;
        } else if (c.tag == "rate") {
            rate = c.data;
        } else if (c.tag == "seq ") {
            seq = c.data;
        } else if (c.tag == "LIST" && c.data.size() >= 4 && c.data.substr(0, 4) == "fram") {
            std::vector<Chunk> icons;
            if (!Chunks(c.data.substr(4), icons)) return std::nullopt;
            for (const Chunk& icon : icons)
                if (icon.tag == "icon") ani.frames.emplace_back(icon.data);
        }
    }
    if (!haveHeader || !(ani.flags & kIconFlag) || ani.frames.empty()) return std::nullopt;
    if (ani.stepCount == 0) ani.stepCount = ani.frameCount;
    if (ani.stepCount == 0 || ani.stepCount > kMaxSteps) return std::nullopt;
    if (ani.defaultJiffies == 0) ani.defaultJiffies = kDefaultJiffies;

    std::vector<uint32_t> order =
        (ani.flags & kSequenceFlag) ? Dwords(seq, ani.stepCount) : std::vector<uint32_t>{};
    std::vector<uint32_t> rates = Dwords(rate, ani.stepCount);
    for (uint32_t i = 0; i < ani.stepCount; ++i) {
        AniStep step;
        step.frame = (ani.flags & kSequenceFlag) ? (i < order.size() ? order[i] : UINT32_MAX) : i;
        step.jiffies = i < rates.size() && rates[i] != 0 ? rates[i] : ani.defaultJiffies;
        if (step.frame >= ani.frames.size()) return std::nullopt;
        ani.steps.push_back(step);
    }
    return ani;
}

}  // namespace ui
