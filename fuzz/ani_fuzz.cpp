// Reads arbitrary bytes as an animated-cursor file: never crashes, and every step names an existing frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/ani_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto ani = ui::ReadAniFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!ani) return 0;
    for (const auto& step : ani->steps)
        if (step.frame >= ani->frames.size() || step.jiffies == 0) std::abort();
    for (const auto& frame : ani->frames) ui::CursorHotspot(frame);
    return 0;
}
