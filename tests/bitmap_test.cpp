#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <tuple>
#include <vector>

#include "platform/bitmap.h"
#include "platform/display.h"
#include "test_support.h"

namespace dw {
namespace {

// Header field offsets.
constexpr size_t kOffBits = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28,
                 kCompression = 30, kClrUsed = 46;

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

PaletteEntry TestColour(size_t i) { return {uint8_t(i * 7 + 1), uint8_t(i * 5 + 2), uint8_t(i * 3 + 3)}; }

// A whole 8-bit file: headers, `colours` RGBQUADs of TestColour, then `data`.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint32_t compression, uint32_t colours,
                         const std::vector<uint8_t>& data, uint32_t infoSize = 40) {
    const size_t tableAt = 14 + infoSize;
    // Sized for the whole file up front: appending the pixels to a header-sized buffer
    // makes GCC's optimiser warn about a write past its end.
    const size_t offBits = tableAt + 4 * colours;
    std::vector<uint8_t> b(offBits + data.size(), 0);
    b[0] = 'B', b[1] = 'M';
    for (auto [at, v, n] : {std::tuple{kOffBits, uint32_t(offBits), 4},
                            {kInfoSize, infoSize, 4},
                            {kWidth, uint32_t(width), 4},
                            {kHeight, uint32_t(height), 4},
                            {kPlanes, 1u, 2},
                            {kBitCount, 8u, 2},
                            {kCompression, compression, 4},
                            {kClrUsed, colours == 256 ? 0 : colours, 4}})
        Put(b, at, v, n);
    for (size_t i = 0; i < colours; ++i)
        Put(b, tableAt + 4 * i, TestColour(i).b | TestColour(i).g << 8 | TestColour(i).r << 16);
    std::copy(data.begin(), data.end(), b.begin() + std::ptrdiff_t(offBits));
    return b;
}

// 3 x 2, rows padded to 4 bytes, stored bottom row first; pixel 200 lies beyond the table.
const std::vector<uint8_t> kRows = {1, 2, 200, 0, 4, 5, 6, 0};
// 6 x 3 RLE8: an encoded run and an odd absolute run, end of line, a delta up two rows.
const std::vector<uint8_t> kRle = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1};

TEST(BitmapDecode, PixelsComeOutTopDownWithTheColourTableAndMalformedFilesAreRejected) {
    std::vector<uint8_t> fullTable = Bmp(1, 1, 0, 256, {9, 0, 0, 0});
    Put(fullTable, kClrUsed, 256);
    struct Row {
        const char* what;
        std::vector<uint8_t> file;
        int width;
        std::vector<uint8_t> pixels;
        size_t colours = 4;
    };
    const Row rows[] = {
        {"bottom-up", Bmp(3, 2, 0, 4, kRows), 3, {4, 5, 6, 1, 2, 200}},
        {"top-down", Bmp(3, -2, 0, 4, kRows), 3, {1, 2, 200, 4, 5, 6}},
        {"108-byte header", Bmp(3, 2, 0, 4, kRows, 108), 3, {4, 5, 6, 1, 2, 200}},
        {"full table", fullTable, 1, {9}, 256},
        {"RLE8", Bmp(6, 3, 1, 4, kRle), 6, {0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 1, 2, 3}},
        // Runs filling a row exactly, then a delta to the far corner.
        {"RLE8 to the edges",
         Bmp(4, 2, 1, 4, {4, 1, 0, 0, 0, 4, 1, 2, 3, 4, 0, 2, 0, 1, 0, 1}),
         4,
         {1, 2, 3, 4, 1, 1, 1, 1}},
    };
    for (const Row& r : rows) {
        DecodedBitmap out;
        ASSERT_TRUE(DecodeBitmap(r.file, out)) << r.what;
        EXPECT_TRUE(out.width == r.width && out.width * out.height == int(r.pixels.size())) << r.what;
        EXPECT_EQ(out.pixels, r.pixels) << r.what;
        for (size_t i = 0; i < 256; ++i)
            ASSERT_EQ(out.colors[i], i < r.colours ? TestColour(i) : PaletteEntry{}) << r.what << " colour " << i;
    }

    auto patched = [](size_t at, uint32_t value, int bytes = 4) {
        std::vector<uint8_t> file = Bmp(3, 2, 0, 4, kRows);
        Put(file, at, value, bytes);
        return file;
    };
    // An RLE8 file holding only "end of bitmap" is tiny whatever its size, so only the
    // dimension checks stand between it and a huge allocation.
    auto empty = [](int32_t w, int32_t h) { return Bmp(w, h, 1, 2, {0, 1}); };
    // RLE8 data of a 4 x 2 picture.
    auto rle = [](std::vector<uint8_t> data) { return Bmp(4, 2, 1, 2, data); };
    const std::pair<std::vector<uint8_t>, bool> files[] = {
        {patched(0, 'B' | 'A' << 8, 2), false},
        {patched(0, 'A' | 'M' << 8, 2), false},  // magic
        {patched(kBitCount, 24, 2), false},
        {patched(kPlanes, 2, 2), false},
        {patched(kCompression, 2), false},
        {Bmp(6, -3, 1, 4, kRle), false},  // RLE4; top-down RLE8
        {patched(kClrUsed, 3), true},
        {patched(kClrUsed, 257), false},
        {patched(kClrUsed, 5), false},
        {patched(kOffBits, 14 + 40 + 12), false},  // table past the pixels
        {patched(kOffBits, 0xFFFFFFF0), false},
        {patched(kOffBits, 14 + 40 + 16 + 9), false},
        {patched(kInfoSize, 39), false},
        {patched(kInfoSize, 0xFFFFFFF0), false},
        {patched(kWidth, 0), false},
        {patched(kWidth, uint32_t(-3)), false},
        {patched(kHeight, 0), false},
        {patched(kHeight, uint32_t(INT32_MIN)), false},
        {empty(8192, 1), true},
        {empty(1, 8192), true},
        {empty(4096, 4096), true},
        {empty(8193, 1), false},
        {empty(1, 8193), false},
        {empty(4097, 4096), false},
        {empty(8192, 8192), false},
        {empty(65536, 65536), false},  // 2^32 pixels wrap to 0
        {empty(INT32_MAX, 2), false},
        {Bmp(1, -8193, 0, 2, std::vector<uint8_t>(4 * 8193)), false},
        // Runs past the row end (encoded, a second one, absolute), or below the bottom row.
        {rle({5, 1, 0, 1}), false},
        {rle({4, 1, 1, 1, 0, 1}), false},
        {rle({2, 1, 0, 3, 1, 2, 3, 0, 0, 1}), false},
        {rle({0, 0, 0, 0, 1, 1, 0, 1}), false},
        {rle({0, 2, 0, 2, 0, 3, 1, 2, 3, 0}), false},
        // End of line below the bottom row; deltas right of, below, and from x 3 past the edge.
        {rle({0, 0, 0, 0, 0, 0, 0, 1}), false},
        {rle({0, 2, 5, 0, 0, 1}), false},
        {rle({0, 2, 0, 3, 0, 1}), false},
        {rle({3, 1, 0, 2, 2, 0, 0, 1}), false},
        // Absolute runs past the data or missing their pad byte, a delta past the data, no end of bitmap.
        {rle({0, 4, 1, 2}), false},
        {rle({0, 3, 1, 2, 3}), false},
        {rle({0, 2, 1}), false},
        {rle({2, 1}), false},
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        DecodedBitmap out;
        EXPECT_EQ(DecodeBitmap(files[i].first, out), files[i].second) << "row " << i;
    }
    for (const auto& full : {Bmp(3, 2, 0, 4, kRows), Bmp(6, 3, 1, 16, kRle)}) {
        for (size_t n = 0; n < full.size(); ++n) {
            DecodedBitmap out;
            EXPECT_FALSE(DecodeBitmap(std::span(full.data(), n), out)) << "length " << n;
        }
    }
}

TEST(BitmapLoad, FilesAndResourcesBecomeSurfacesAndSetThePalette) {
    testing_support::TempDir dir;
    testing_support::ScopedCwd cwd(dir.Path());
    using testing_support::WriteAll;
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    WriteAll("pic.bmp", Bmp(3, 2, 0, 4, kRows));
    std::unique_ptr<Surface> s = LoadBitmapSurface(&display, "pic.bmp");
    ASSERT_TRUE(s && s->Bounds() == (Rect{0, 0, 3, 2}));
    EXPECT_EQ(std::vector<uint8_t>(s->Pixels(), s->Pixels() + 6), (std::vector<uint8_t>{4, 5, 6, 1, 2, 200}));
    EXPECT_TRUE(s->Colors()[3] == TestColour(3) && display.Palette() == s->Colors());

    // Colours map to pixels by the screen palette.
    for (auto [c, want] : {std::pair{Rgb(22, 17, 12), 3u}, {Rgb(20, 18, 13), 3u}, {0xFFFFFFFFu, 0xFFFFFFFFu}})
        EXPECT_EQ(ColorToPixel(&display, s.get(), c), want) << std::hex << c;
    EXPECT_TRUE(ColorToPixel(nullptr, s.get(), 0) == 0xFFFFFFFF && ColorToPixel(&display, nullptr, 0) == 0xFFFFFFFF);

    // Failures leave the screen palette alone.
    const ColorTable before = display.Palette();
    WriteAll("short.bmp", Bmp(3, 2, 0, 4, {1, 2, 3}));
    WriteAll("huge.bmp", Bmp(3, 2, 0, 4, kRows));
    std::filesystem::resize_file("huge.bmp", (uintmax_t(64) << 20) + 1);  // a picture, then more than a file may hold
    std::filesystem::create_directory("dir.bmp");
    for (const char* name : {"missing.bmp", "short.bmp", "huge.bmp", "dir.bmp", ""})
        EXPECT_EQ(LoadBitmapSurface(&display, name), nullptr) << name;
    EXPECT_TRUE(display.Palette() == before && LoadBitmapSurface(nullptr, "pic.bmp") == nullptr);

    // A built-in resource wins over a file of its name, in any case.
    WriteAll("SABAKU", Bmp(3, 2, 0, 4, kRows));
    s = LoadBitmapSurface(&display, "sabaku");
    EXPECT_TRUE(s && s->Bounds() != (Rect{0, 0, 3, 2}));
    display.Close();
    EXPECT_TRUE(LoadBitmapSurface(&display, "pic.bmp") == nullptr && ColorToPixel(&display, s.get(), 0) == 0xFFFFFFFF);
}

}  // namespace
}  // namespace dw
