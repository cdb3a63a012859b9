// Small shared value types of the platform layer.
#pragma once

#include <array>
#include <cstdint>

namespace dw {

// A rectangle with right and bottom exclusive, as the game writes them.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Empty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// Intersection of two rectangles; empty (all zero) when they do not meet.
constexpr Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
           a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.Empty()) return Rect{};
    return r;
}

struct PaletteEntry {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend constexpr bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// The 256 colours of an 8-bit picture or of the screen.
using ColorTable = std::array<PaletteEntry, 256>;

// Colours in the game's own notation: 0x00BBGGRR.
using ColorRef = uint32_t;
constexpr ColorRef Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint8_t RedOf(ColorRef c) { return uint8_t(c & 0xFF); }
constexpr uint8_t GreenOf(ColorRef c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(ColorRef c) { return uint8_t((c >> 16) & 0xFF); }

// Index of the palette entry nearest to a colour (squared RGB distance, lowest index on ties).
uint8_t NearestIndex(const ColorTable& table, ColorRef colour);

}  // namespace dw
