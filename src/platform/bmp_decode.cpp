// 8-bit BMP decoding. No SDL here: the fuzzers link this file on its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/bitmap.h"

namespace dw {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMinInfoSize = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr int64_t kMaxSide = 8192;
constexpr int64_t kMaxPixels = int64_t(4096) * 4096;

uint16_t Le16(std::span<const uint8_t> d, size_t at) { return uint16_t(d[at] | (d[at + 1] << 8)); }
uint32_t Le32(std::span<const uint8_t> d, size_t at) {
    return uint32_t(d[at]) | (uint32_t(d[at + 1]) << 8) | (uint32_t(d[at + 2]) << 16) | (uint32_t(d[at + 3]) << 24);
}

bool Fail(std::string* why, const char* message) {
    if (why) *why = message;
    return false;
}

// Decodes RLE8 data starting at `at` into top-down pixels of a bottom-up picture.
// Any run that leaves the picture or reads past the data is an error.
bool DecodeRle8(std::span<const uint8_t> file, size_t at, int width, int height, std::vector<uint8_t>& pixels,
                std::string* why) {
    const size_t size = file.size();
    const auto w = size_t(width);
    const auto h = size_t(height);
    size_t x = 0;
    size_t y = 0;  // counted from the bottom row
    auto row = [&]() { return pixels.data() + (h - 1 - y) * w; };
    for (;;) {
        if (size - at < 2) return Fail(why, "RLE data ends without end of bitmap");
        const size_t count = file[at];
        const uint8_t value = file[at + 1];
        at += 2;
        if (count > 0) {  // encoded run
            if (y >= h || count > w - x) return Fail(why, "RLE run leaves the picture");
            std::memset(row() + x, value, count);
            x += count;
            continue;
        }
        switch (value) {
        case 0:  // end of line
            if (y >= h) return Fail(why, "RLE end of line below the picture");
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return true;
        case 2: {  // delta
            if (size - at < 2) return Fail(why, "RLE delta past the data");
            const size_t dx = file[at];
            const size_t dy = file[at + 1];
            at += 2;
            if (dx > w - x || dy > h - y) return Fail(why, "RLE delta leaves the picture");
            x += dx;
            y += dy;
            break;
        }
        default: {  // absolute run, padded to an even length
            const size_t n = value;
            const size_t stored = n + (n & 1);
            if (size - at < stored) return Fail(why, "RLE absolute run past the data");
            if (y >= h || n > w - x) return Fail(why, "RLE absolute run leaves the picture");
            std::memcpy(row() + x, file.data() + at, n);
            x += n;
            at += stored;
            break;
        }
        }
    }
}

}  // namespace

bool DecodeBitmap(std::span<const uint8_t> file, DecodedBitmap& out, std::string* why) {
    const uint64_t size = file.size();
    if (size < kFileHeaderSize + kMinInfoSize) return Fail(why, "file too short for the headers");
    if (file[0] != 'B' || file[1] != 'M') return Fail(why, "not a bitmap (no BM)");
    const uint64_t offBits = Le32(file, 10);
    const uint64_t infoSize = Le32(file, 14);
    if (infoSize < kMinInfoSize) return Fail(why, "unsupported info header size");
    if (kFileHeaderSize + infoSize > size) return Fail(why, "info header past the data");

    const int64_t width = int32_t(Le32(file, 18));
    const int64_t rawHeight = int32_t(Le32(file, 22));
    const uint16_t planes = Le16(file, 26);
    const uint16_t bitCount = Le16(file, 28);
    const uint32_t compression = Le32(file, 30);
    const uint32_t clrUsed = Le32(file, 46);

    if (planes != 1) return Fail(why, "planes must be 1");
    if (bitCount != 8) return Fail(why, "only 8 bits per pixel are supported");
    if (compression != kRgb && compression != kRle8) return Fail(why, "unsupported compression");
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -rawHeight : rawHeight;
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide || width * height > kMaxPixels)
        return Fail(why, "bad dimensions");
    if (compression == kRle8 && topDown) return Fail(why, "RLE8 bitmaps must be bottom-up");
    if (clrUsed > 256) return Fail(why, "colour table too large");

    const uint64_t colours = clrUsed == 0 ? 256 : clrUsed;
    const uint64_t tableAt = kFileHeaderSize + infoSize;
    const uint64_t tableEnd = tableAt + colours * 4;
    if (tableEnd > offBits || offBits > size) return Fail(why, "colour table or pixel offset outside the data");

    DecodedBitmap result;
    result.width = int(width);
    result.height = int(height);
    for (uint64_t i = 0; i < colours; ++i) {
        const size_t at = size_t(tableAt + i * 4);
        result.colors[i] = PaletteEntry{file[at + 2], file[at + 1], file[at]};
    }
    const auto w = size_t(width);
    const auto h = size_t(height);
    result.pixels.assign(w * h, 0);

    if (compression == kRgb) {
        const uint64_t stride = (uint64_t(width) + 3) & ~uint64_t(3);
        if (stride * h > size - offBits) return Fail(why, "pixel rows past the data");
        for (size_t r = 0; r < h; ++r) {
            const size_t dstRow = topDown ? r : h - 1 - r;
            std::memcpy(result.pixels.data() + dstRow * w, file.data() + offBits + r * stride, w);
        }
    } else if (!DecodeRle8(file, size_t(offBits), result.width, result.height, result.pixels, why)) {
        return false;
    }
    out = std::move(result);
    return true;
}

}  // namespace dw
