#pragma once
// The 32-bit colour value of the system: 0x00BBGGRR for an RGB colour (red in the low byte),
// 0x80000000 + index for a system colour (resolved when drawn), 0x1FFFFFFF for "none".
#include <QColor>
#include <cstdint>

namespace gui {

using TColor = uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clSystemColor = 0x80000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clGray = 0x808080;

// System colour indices, as the window manager numbers them.
enum SystemColorIndex : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_WINDOW = 5,
    COLOR_WINDOWTEXT = 8,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};

inline constexpr TColor SystemColor(int index) {
    return clSystemColor + static_cast<TColor>(index);
}
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);

inline constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000u) == clSystemColor;
}

// 0x00BBGGRR for any value: system colours are looked up in the fixed table of the platform's
// default scheme, "none" gives white.
TColor ColorToRGB(TColor c);
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);
inline constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace gui
