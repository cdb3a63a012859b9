// 8-bit off-screen pictures and the blitter.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/geometry.h"

namespace dw {

class Surface {
public:
    // Largest side and pixel count a surface may have; larger requests make no surface.
    static constexpr int kMaxSide = 8192;
    static constexpr int64_t kMaxPixels = int64_t(4096) * 4096;

    // Returns nullptr for sizes that are not positive or exceed the limits.
    static std::unique_ptr<Surface> Create(int width, int height);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rect Bounds() const { return Rect{0, 0, width_, height_}; }

    // Row-major pixels, pitch == Width().
    uint8_t* Pixels() { return pixels_.data(); }
    const uint8_t* Pixels() const { return pixels_.data(); }
    uint8_t* Row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const uint8_t* Row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }

    // Bounds-checked pixel access: reads outside give 0, writes outside do nothing.
    uint8_t Get(int x, int y) const;
    void Set(int x, int y, uint8_t value);
    void Fill(uint8_t value);

    // Source colour key: pixels of this value are skipped by keyed blits.
    void SetColorKey(uint8_t key) { colorKey_ = key; }
    std::optional<uint8_t> ColorKey() const { return colorKey_; }

    // The colour table the picture was loaded with (a bitmap's own table).
    const ColorTable& Colors() const { return colors_; }
    void SetColors(const ColorTable& colors) { colors_ = colors; }

private:
    Surface(int width, int height);

    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
    std::optional<uint8_t> colorKey_;
    ColorTable colors_{};
};

enum BlitFlags : unsigned {
    kBlitPlain = 0,
    kBlitKeySrc = 1u << 0,  // skip source pixels equal to the source's colour key
    kBlitMirror = 1u << 1,  // mirror left-right
};

// Copies srcRect of src onto dstRect of dst. Different sizes stretch (nearest neighbour).
// Everything is clipped to both surfaces: destination pixels outside dst are not written
// and destination pixels whose source pixel lies outside src are left alone.
// Returns false (and draws nothing) for an empty or inverted rectangle.
bool Blit(Surface& dst, const Rect& dstRect, const Surface& src, const Rect& srcRect, unsigned flags = kBlitPlain);

}  // namespace dw
