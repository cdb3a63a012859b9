#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
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
    Put(b, 0, 'B' | 'M' << 8, 2);
    Put(b, kOffBits, uint32_t(offBits));
    Put(b, kInfoSize, infoSize);
    Put(b, kWidth, uint32_t(width));
    Put(b, kHeight, uint32_t(height));
    Put(b, kPlanes, 1, 2);
    Put(b, kBitCount, 8, 2);
    Put(b, kCompression, compression);
    Put(b, kClrUsed, colours == 256 ? 0 : colours);
    for (size_t i = 0; i < colours; ++i)
        Put(b, tableAt + 4 * i, TestColour(i).b | TestColour(i).g << 8 | TestColour(i).r << 16);
    std::copy(data.begin(), data.end(), b.begin() + std::ptrdiff_t(offBits));
    return b;
}

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
// 3 x 2, rows padded to 4 bytes, stored bottom row first; pixel 200 lies beyond the table.
const std::vector<uint8_t> kRows = {1, 2, 200, 0, 4, 5, 6, 0};
// 6 x 3 RLE8: an encoded run and an odd absolute run, end of line, a delta up two rows.
const std::vector<uint8_t> kRle = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1};

TEST(BitmapDecode, PixelsComeOutTopDownWithTheColourTableAndMalformedFilesAreRejected) {
    std::vector<uint8_t> fullTable = Bmp(1, 1, kRgb, 256, {9, 0, 0, 0});
    Put(fullTable, kClrUsed, 256);
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        int width;
        std::vector<uint8_t> pixels;
        size_t colours = 4;
    } rows[] = {
        {.what = "bottom-up", .file = Bmp(3, 2, kRgb, 4, kRows), .width = 3, .pixels = {4, 5, 6, 1, 2, 200}},
        {.what = "top-down", .file = Bmp(3, -2, kRgb, 4, kRows), .width = 3, .pixels = {1, 2, 200, 4, 5, 6}},
        {.what = "108-byte header", .file = Bmp(3, 2, kRgb, 4, kRows, 108), .width = 3, .pixels = {4, 5, 6, 1, 2, 200}},
        {.what = "full table", .file = fullTable, .width = 1, .pixels = {9}, .colours = 256},
        {.what = "RLE8",
         .file = Bmp(6, 3, kRle8, 4, kRle),
         .width = 6,
         .pixels = {0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 1, 2, 3}},
        // Runs filling a row exactly, then a delta to the far corner.
        {.what = "RLE8 to the edges",
         .file = Bmp(4, 2, kRle8, 4, {4, 1, 0, 0, 0, 4, 1, 2, 3, 4, 0, 2, 0, 1, 0, 1}),
         .width = 4,
         .pixels = {1, 2, 3, 4, 1, 1, 1, 1}},
    };
    for (const auto& r : rows) {
        DecodedBitmap out;
        ASSERT_TRUE(DecodeBitmap(r.file, out)) << r.what;
        EXPECT_EQ(out.width, r.width) << r.what;
        EXPECT_EQ(size_t(out.width) * size_t(out.height), r.pixels.size()) << r.what;
        EXPECT_EQ(out.pixels, r.pixels) << r.what;
        ColorTable colours{};
        for (size_t i = 0; i < r.colours; ++i) colours[i] = TestColour(i);
        EXPECT_EQ(out.colors, colours) << r.what;
    }

    auto patched = [](size_t at, uint32_t value, int bytes = 4) {
        std::vector<uint8_t> file = Bmp(3, 2, kRgb, 4, kRows);
        Put(file, at, value, bytes);
        return file;
    };
    // An RLE8 file holding only "end of bitmap" is tiny whatever its size, so only the
    // dimension checks stand between it and a huge allocation.
    auto empty = [](int32_t w, int32_t h) { return Bmp(w, h, kRle8, 2, {0, 1}); };
    // RLE8 data of a 4 x 2 picture.
    auto rle = [](std::vector<uint8_t> data) { return Bmp(4, 2, kRle8, 2, data); };
    const struct {
        std::vector<uint8_t> file;
        bool ok;
    } files[] = {
        {.file = patched(0, 'B' | 'A' << 8, 2), .ok = false},
        {.file = patched(0, 'A' | 'M' << 8, 2), .ok = false},
        {.file = patched(kBitCount, 24, 2), .ok = false},
        {.file = patched(kPlanes, 2, 2), .ok = false},
        {.file = patched(kCompression, 2), .ok = false},    // RLE4
        {.file = Bmp(6, -3, kRle8, 4, kRle), .ok = false},  // top-down RLE8
        {.file = patched(kClrUsed, 3), .ok = true},
        {.file = patched(kClrUsed, 257), .ok = false},
        {.file = patched(kOffBits, 14 + 40 + 12), .ok = false},  // table past the pixels
        {.file = patched(kOffBits, 14 + 40 + 16 + 9), .ok = false},
        {.file = patched(kInfoSize, 39), .ok = false},
        {.file = patched(kInfoSize, 0xFFFFFFF0), .ok = false},
        {.file = patched(kWidth, 0), .ok = false},
        {.file = patched(kHeight, 0), .ok = false},
        {.file = patched(kHeight, uint32_t(INT32_MIN)), .ok = false},
        {.file = empty(8192, 1), .ok = true},
        {.file = empty(1, 8192), .ok = true},
        {.file = empty(4096, 4096), .ok = true},
        {.file = empty(8193, 1), .ok = false},
        {.file = empty(1, 8193), .ok = false},
        {.file = empty(4097, 4096), .ok = false},
        // Runs past the row end (encoded, a second one, absolute), or below the bottom row.
        {.file = rle({5, 1, 0, 1}), .ok = false},
        {.file = rle({4, 1, 1, 1, 0, 1}), .ok = false},
        {.file = rle({2, 1, 0, 3, 1, 2, 3, 0, 0, 1}), .ok = false},
        {.file = rle({0, 0, 0, 0, 1, 1, 0, 1}), .ok = false},
        {.file = rle({0, 2, 0, 2, 0, 3, 1, 2, 3, 0}), .ok = false},
        // End of line below the bottom row; deltas right of, below, and from x 3 past the edge.
        {.file = rle({0, 0, 0, 0, 0, 0, 0, 1}), .ok = false},
        {.file = rle({0, 2, 5, 0, 0, 1}), .ok = false},
        {.file = rle({0, 2, 0, 3, 0, 1}), .ok = false},
        {.file = rle({3, 1, 0, 2, 2, 0, 0, 1}), .ok = false},
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        DecodedBitmap out;
        EXPECT_EQ(DecodeBitmap(files[i].file, out), files[i].ok) << "row " << i;
    }
    // No file cut short decodes: RLE8 runs and deltas past the data, an absolute run without
    // its pad byte, data without an end of bitmap.
    for (const auto& full : {Bmp(3, 2, kRgb, 4, kRows), Bmp(6, 3, kRle8, 16, kRle)})
        for (size_t n = 0; n < full.size(); ++n) {
            DecodedBitmap out;
            EXPECT_FALSE(DecodeBitmap(std::span(full.data(), n), out)) << "length " << n;
        }
}

TEST(BitmapLoad, FilesAndResourcesBecomeSurfacesAndSetThePalette) {
    testing_support::TempDir dir;
    testing_support::ScopedCwd cwd(dir.Path());
    using testing_support::WriteAll;
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    WriteAll("pic.bmp", Bmp(3, 2, kRgb, 4, kRows));
    std::unique_ptr<Surface> s = LoadBitmapSurface(&display, "pic.bmp");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Bounds(), (Rect{0, 0, 3, 2}));
    EXPECT_EQ(std::vector<uint8_t>(s->Pixels(), s->Pixels() + 6), (std::vector<uint8_t>{4, 5, 6, 1, 2, 200}));
    EXPECT_EQ(display.Palette(), s->Colors());

    // Colours map to pixels by the screen palette: TestColour(3) is (22, 17, 12).
    EXPECT_EQ(ColorToPixel(&display, s.get(), Rgb(22, 17, 12)), 3u);
    EXPECT_EQ(ColorToPixel(&display, s.get(), Rgb(20, 18, 13)), 3u);

    // Failures leave the screen palette alone.
    const ColorTable before = display.Palette();
    WriteAll("short.bmp", Bmp(3, 2, kRgb, 4, {1, 2, 3}));
    WriteAll("huge.bmp", Bmp(3, 2, kRgb, 4, kRows));
    std::filesystem::resize_file("huge.bmp", (uintmax_t(64) << 20) + 1);  // a picture, then more than a file may hold
    std::filesystem::create_directory("dir.bmp");
    for (const char* name : {"missing.bmp", "short.bmp", "huge.bmp", "dir.bmp", ""})
        EXPECT_EQ(LoadBitmapSurface(&display, name), nullptr) << name;
    EXPECT_EQ(display.Palette(), before);

    // A built-in resource wins over a file of its name, in any case.
    WriteAll("SABAKU", Bmp(3, 2, kRgb, 4, kRows));
    s = LoadBitmapSurface(&display, "sabaku");
    ASSERT_TRUE(s);
    EXPECT_NE(s->Bounds(), (Rect{0, 0, 3, 2}));
    display.Close();
    EXPECT_EQ(LoadBitmapSurface(&display, "pic.bmp"), nullptr);
    EXPECT_EQ(ColorToPixel(&display, s.get(), 0), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace dw
