#pragma once
// Reader of animated-cursor files (RIFF "ACON"): the header, the frames as embedded icon or cursor files,
// and the steps to play (frame index and duration in 1/60 s). No Qt: the pictures are decoded elsewhere.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct AniStep {
    uint32_t frame = 0;
    uint32_t jiffies = 0;  // 1/60 s
};

struct AniFile {
    uint32_t frameCount = 0;
    uint32_t stepCount = 0;
    uint32_t defaultJiffies = 0;
    uint32_t flags = 0;               // bit 0: frames are icon/cursor files; bit 1: a sequence is given
    std::vector<std::string> frames;  // each an icon or cursor file, unchanged
    std::vector<AniStep> steps;       // what to show, in order
};

// The hot spot stored in a cursor file's directory entry; (0, 0) for icon files and malformed data.
struct Hotspot {
    int x = 0, y = 0;
};
Hotspot CursorHotspot(std::string_view iconOrCursorFile);

// nullopt when the bytes are no animated cursor this reader understands (bad RIFF structure, no frames,
// a step naming a missing frame, raw-bitmap frames).
std::optional<AniFile> ReadAniFile(std::string_view bytes);

}  // namespace ui
