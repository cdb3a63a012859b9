#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace dw {

std::unique_ptr<Surface> Surface::Create(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || int64_t(width) * height > kMaxPixels)
        return nullptr;
    return std::unique_ptr<Surface>(new Surface(width, height));
}

Surface::Surface(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * size_t(height), 0) {}

uint8_t Surface::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return Row(y)[x];
}

void Surface::Set(int x, int y, uint8_t value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Row(y)[x] = value;
}

void Surface::Fill(uint8_t value) { std::fill(pixels_.begin(), pixels_.end(), value); }

namespace {

// One axis of a blit: destination [dStart, dStart + dLen) samples source
// [sStart, sStart + sLen), optionally reversed. Everything in 64 bits so that any int
// rectangle maps without overflow: (d - dStart) < 2^32 and sLen < 2^32.
struct Axis {
    int64_t dStart;
    uint64_t dLen;
    int64_t sStart;
    uint64_t sLen;
    bool flip;

    Axis(int dLo, int dHi, int sLo, int sHi, bool reversed)
        : dStart(dLo),
          dLen(uint64_t(int64_t(dHi) - dLo)),
          sStart(sLo),
          sLen(uint64_t(int64_t(sHi) - sLo)),
          flip(reversed) {}

    int64_t Source(int64_t d) const {
        const auto q = int64_t(uint64_t(d - dStart) * sLen / dLen);
        return flip ? sStart + int64_t(sLen) - 1 - q : sStart + q;
    }
    // Destination coordinates inside both the rectangle and a surface side of `limit`.
    void Clip(int limit, int64_t& lo, int64_t& hi) const {
        lo = std::max<int64_t>(dStart, 0);
        hi = std::min<int64_t>(dStart + int64_t(dLen), limit);
    }
};

}  // namespace

bool Blit(Surface& dst, const Rect& dstRect, const Surface& src, const Rect& srcRect, unsigned flags) {
    if (dstRect.Empty() || srcRect.Empty()) return false;
    const bool mirror = (flags & kBlitMirror) != 0;
    const std::optional<uint8_t> key = (flags & kBlitKeySrc) ? src.ColorKey() : std::optional<uint8_t>();
    const Axis ax(dstRect.left, dstRect.right, srcRect.left, srcRect.right, mirror);
    const Axis ay(dstRect.top, dstRect.bottom, srcRect.top, srcRect.bottom, false);

    int64_t x0, x1, y0, y1;
    ax.Clip(dst.Width(), x0, x1);
    ay.Clip(dst.Height(), y0, y1);

    // Straight copy: the source columns are one contiguous run.
    const bool straight = ax.dLen == ax.sLen && !mirror;
    if (straight) {
        const int64_t shift = ax.sStart - ax.dStart;
        x0 = std::max(x0, -shift);
        x1 = std::min(x1, src.Width() - shift);
    }
    if (x0 >= x1 || y0 >= y1) return true;
    const auto count = size_t(x1 - x0);

    // Source column of every destination column, -1 where it falls outside src.
    thread_local std::vector<int32_t> columns;
    if (!straight) {
        columns.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const int64_t sx = ax.Source(x0 + int64_t(i));
            columns[i] = sx >= 0 && sx < src.Width() ? int32_t(sx) : -1;
        }
    }

    for (int64_t dy = y0; dy < y1; ++dy) {
        const int64_t sy = ay.Source(dy);
        if (sy < 0 || sy >= src.Height()) continue;
        const uint8_t* from = src.Row(int(sy));
        uint8_t* to = dst.Row(int(dy)) + x0;
        if (straight) {
            from += x0 + (ax.sStart - ax.dStart);
            if (!key) {
                std::memmove(to, from, count);
            } else {
                for (size_t i = 0; i < count; ++i)
                    if (from[i] != *key) to[i] = from[i];
            }
            continue;
        }
        for (size_t i = 0; i < count; ++i) {
            const int32_t sx = columns[i];
            if (sx < 0) continue;
            const uint8_t p = from[sx];
            if (!key || p != *key) to[i] = p;
        }
    }
    return true;
}

}  // namespace dw
