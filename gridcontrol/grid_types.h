#pragma once
// Value types shared by the grid family: positions, the option set, draw states and modes.
// Plain C++ so that the geometry and the storage can be used without a window.
#include <cstdint>
#include <initializer_list>

// A grid position. Second is true when the position is on the row's second text line.
struct TCellPos {
    int32_t Col = 0;
    int32_t Row = 0;
    bool Second = false;

    friend bool operator==(const TCellPos&, const TCellPos&) = default;
};

// The grid's option flags, numbered as they are stored. There is no range-select member.
enum TGridOption : uint16_t {
    goFixedVertLine = 0,
    goFixedHorzLine = 1,
    goVertLine = 2,
    goHorzLine = 3,
    goDrawFocusSelected = 4,
    goRowSizing = 5,
    goColSizing = 6,
    goRowMoving = 7,
    goColMoving = 8,
    goEditing = 9,
    goTabs = 10,
    goRowSelect = 11,
    goAlwaysShowEditor = 12,
    goThumbTracking = 13,
};

// A 16-bit set of TGridOption.
class TGridOptions {
  public:
    constexpr TGridOptions() = default;
    constexpr TGridOptions(std::initializer_list<TGridOption> options) {
        for (TGridOption o : options) bits_ |= Bit(o);
    }
    static constexpr TGridOptions FromBits(uint16_t bits) {
        TGridOptions o;
        o.bits_ = bits;
        return o;
    }

    constexpr bool Contains(TGridOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr TGridOptions& Include(TGridOption o) {
        bits_ |= Bit(o);
        return *this;
    }
    constexpr TGridOptions& Exclude(TGridOption o) {
        bits_ &= static_cast<uint16_t>(~Bit(o));
        return *this;
    }
    constexpr uint16_t Bits() const { return bits_; }
    friend constexpr bool operator==(TGridOptions, TGridOptions) = default;

  private:
    static constexpr uint16_t Bit(TGridOption o) { return static_cast<uint16_t>(1u << o); }
    uint16_t bits_ = 0;
};

inline constexpr TGridOptions kDefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};

// The state a cell is drawn in.
enum TGridDrawStateFlag : uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = uint8_t;

// Number kinds of a column and of the numeric editor.
enum TEditDataType_ { deInteger, deFloat, deCurrency };

enum class TGridMode { Normal, RowSizing, ColSizing };

// Scroll-bar request codes, in the order the platform numbers them.
enum class TScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,
    Bottom,
    EndScroll
};
