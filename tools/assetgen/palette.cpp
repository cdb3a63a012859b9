// The master palette and the writers of bitmaps and plain files.
#include <fstream>
#include <stdexcept>

#include "assetgen.h"
#include "palette_ramps.h"

namespace assetgen {
namespace {

dw::ColorTable BuildPalette() {
    dw::ColorTable t{};
    int n = 0;
    auto add = [&](uint8_t r, uint8_t g, uint8_t b) { t[size_t(n++)] = dw::PaletteEntry{r, g, b}; };
    add(0, 0, 0);
    static_assert(kRampBase == 19 && kWhiteIndex == 1);
    // Exact colours of the menus, gauges and texts, so they draw without rounding.
    for (uint32_t c :
         {0xFFFFFFu, 0x808080u, 0xBFBFBFu, 0x7F7F7Fu, 0x5F5F5Fu, 0x3F3F3Fu, 0xC8C8C8u, 0x0000FFu, 0xFF0000u, 0x00FF00u,
          0xB40000u, 0x0000B4u, 0x008000u, 0x007800u, 0x00D200u, 0xD200D2u, 0x800000u, 0x000080u})
        add(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
    // Ramps: kRampLength shades of each hue, dark to light.
    for (const RampSpec& spec : kRamps) {
        for (int i = 0; i < kRampLength; ++i) {
            const RampColor c = RampShade(spec, i);
            add(c.r, c.g, c.b);
        }
    }
    // What is left before magenta: a fine grey ramp.
    for (int i = 0; i < kGreyCount; ++i) {
        const auto v = uint8_t(8 + (240 * i) / (kGreyCount - 1));
        add(v, v, v);
    }
    t[kMagentaIndex] = dw::PaletteEntry{255, 0, 255};
    return t;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

const dw::ColorTable& MasterPalette() {
    static const dw::ColorTable table = BuildPalette();
    return table;
}

uint8_t Ink(uint8_t r, uint8_t g, uint8_t b) {
    const dw::ColorTable& t = MasterPalette();
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int dr = t[size_t(i)].r - r;
        const int dg = t[size_t(i)].g - g;
        const int db = t[size_t(i)].b - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return uint8_t(best);
}

void WriteBmp(const fs::path& path, const Image& image) {
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != size_t(image.width) * size_t(image.height))
        throw std::runtime_error("bad image for " + path.string());
    const uint32_t pitch = (uint32_t(image.width) + 3u) & ~3u;
    const uint32_t pixelOffset = 14 + 40 + 256 * 4;
    const uint32_t imageSize = pitch * uint32_t(image.height);
    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + imageSize);
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, uint32_t(image.width));
    Put32(out, uint32_t(image.height));  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // uncompressed
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (const dw::PaletteEntry& e : MasterPalette()) {
        out.push_back(e.b);
        out.push_back(e.g);
        out.push_back(e.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const auto row = image.pixels.begin() + ptrdiff_t(y) * image.width;
        out.insert(out.end(), row, row + image.width);
        out.resize(out.size() + (pitch - uint32_t(image.width)), 0);
    }
    WriteFile(path, out);
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    if (ec) throw std::runtime_error("cannot make directory for " + path.string());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path.string());
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    f.close();
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace assetgen
