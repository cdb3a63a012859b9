#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
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
    std::vector<uint8_t> b(tableAt + 4 * colours, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put(b, kOffBits, uint32_t(b.size()));
    Put(b, kInfoSize, infoSize);
    Put(b, kWidth, uint32_t(width));
    Put(b, kHeight, uint32_t(height));
    Put(b, kPlanes, 1, 2);
    Put(b, kBitCount, 8, 2);
    Put(b, kCompression, compression);
    Put(b, kClrUsed, colours == 256 ? 0 : colours);
    for (size_t i = 0; i < colours; ++i) {
        const PaletteEntry c = TestColour(i);
        Put(b, tableAt + 4 * i, uint32_t(c.b | c.g << 8 | c.r << 16));
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// 3 x 2, rows padded to 4 bytes, stored bottom row first; pixel 200 lies beyond the table.
const std::vector<uint8_t> kRows = {1, 2, 200, 0, 4, 5, 6, 0};
// 6 x 3 RLE8: an encoded run and an odd absolute run, end of line, a delta up two rows.
const std::vector<uint8_t> kRle = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1};

bool Decodes(const std::vector<uint8_t>& file) {
    DecodedBitmap out;
    return DecodeBitmap(file, out);
}

TEST(BitmapDecode, PixelsComeOutTopDownWithTheColourTable) {
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
        {"RLE8 to the edges", Bmp(4, 2, 1, 4, {4, 1, 0, 0, 0, 4, 1, 2, 3, 4, 0, 2, 0, 1, 0, 1}), 4,
         {1, 2, 3, 4, 1, 1, 1, 1}},
    };
    for (const Row& r : rows) {
        DecodedBitmap out;
        std::string why;
        ASSERT_TRUE(DecodeBitmap(r.file, out, &why)) << r.what << ": " << why;
        EXPECT_EQ(out.width, r.width) << r.what;
        EXPECT_EQ(out.width * out.height, int(r.pixels.size())) << r.what;
        EXPECT_EQ(out.pixels, r.pixels) << r.what;
        for (size_t i = 0; i < 256; ++i)
            ASSERT_EQ(out.colors[i], i < r.colours ? TestColour(i) : PaletteEntry{}) << r.what << " colour " << i;
    }
}

TEST(BitmapDecode, HeaderFieldsAreChecked) {
    struct Patch {
        const char* what;
        size_t at;
        uint32_t value;
        int bytes;
        bool ok;
    };
    const std::vector<uint8_t> base = Bmp(3, 2, 0, 4, kRows);
    const Patch patches[] = {
        {"magic", 0, 'B' | 'A' << 8, 2, false},
        {"magic", 0, 'A' | 'M' << 8, 2, false},
        {"bit count 24", kBitCount, 24, 2, false},
        {"planes", kPlanes, 2, 2, false},
        {"RLE4", kCompression, 2, 4, false},
        {"clrUsed 3", kClrUsed, 3, 4, true},
        {"clrUsed 257", kClrUsed, 257, 4, false},
        {"clrUsed past offset", kClrUsed, 5, 4, false},
        {"offset inside table", kOffBits, 14 + 40 + 12, 4, false},
        {"offset past data", kOffBits, uint32_t(base.size() + 1), 4, false},
        {"offset huge", kOffBits, 0xFFFFFFF0, 4, false},
        {"info 39", kInfoSize, 39, 4, false},
        {"info size past data", kInfoSize, 0xFFFFFFF0, 4, false},
        {"width 0", kWidth, 0, 4, false},
        {"width negative", kWidth, uint32_t(-3), 4, false},
        {"height 0", kHeight, 0, 4, false},
        {"height INT_MIN", kHeight, uint32_t(INT32_MIN), 4, false},
    };
    for (const Patch& p : patches) {
        std::vector<uint8_t> file = base;
        Put(file, p.at, p.value, p.bytes);
        EXPECT_EQ(Decodes(file), p.ok) << p.what;
    }
    // RLE8 pictures must be stored bottom-up.
    EXPECT_FALSE(Decodes(Bmp(6, -3, 1, 4, kRle)));
}

TEST(BitmapDecode, DimensionLimits) {
    // An RLE8 file holding only "end of bitmap" is tiny whatever its size, so only the
    // dimension checks stand between it and a huge allocation.
    const std::tuple<int32_t, int32_t, bool> sizes[] = {
        {8192, 1, true},   {1, 8192, true},   {4096, 4096, true},     {8193, 1, false}, {1, 8193, false},
        {4097, 4096, false}, {8192, 8192, false}, {65536, 65536, false}, {INT32_MAX, 2, false}};
    for (auto [w, h, ok] : sizes) EXPECT_EQ(Decodes(Bmp(w, h, 1, 2, {0, 1})), ok) << w << " x " << h;
    EXPECT_FALSE(Decodes(Bmp(1, -8193, 0, 2, std::vector<uint8_t>(4 * 8193))));
}

TEST(BitmapDecode, RleRunsLeavingThePictureOrDataAreRejected) {
    const std::vector<uint8_t> bad[] = {
        // 4 x 2 picture.
        {5, 1, 0, 1},                    // encoded run past the row end
        {4, 1, 1, 1, 0, 1},              // a second run past the row end
        {0, 0, 0, 0, 1, 1, 0, 1},        // run below the bottom row
        {0, 0, 0, 0, 0, 0, 0, 1},        // end of line below the bottom row
        {0, 2, 5, 0, 0, 1},              // delta right of the picture
        {0, 2, 0, 3, 0, 1},              // delta below the picture
        {3, 1, 0, 2, 2, 0, 0, 1},        // delta from x 3 past the edge
        {0, 5, 1, 2, 3, 4, 5, 0, 0, 1},  // absolute run wider than the picture
        {0, 2, 0, 2, 0, 3, 1, 2, 3, 0},  // absolute run below the bottom row
        {0, 4, 1, 2},                    // absolute run past the data
        {0, 3, 1, 2, 3},                 // absolute run missing its pad byte
        {0, 2, 1},                       // delta past the data
        {2, 1},                          // no end of bitmap
    };
    for (size_t i = 0; i < std::size(bad); ++i) EXPECT_FALSE(Decodes(Bmp(4, 2, 1, 2, bad[i]))) << "case " << i;
    for (const auto& full : {Bmp(3, 2, 0, 4, kRows), Bmp(6, 3, 1, 16, kRle)}) {
        ASSERT_TRUE(Decodes(full));
        for (size_t n = 0; n < full.size(); ++n) {
            DecodedBitmap out;
            EXPECT_FALSE(DecodeBitmap(std::span(full.data(), n), out)) << "length " << n;
        }
    }
}

void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(BitmapLoad, FilesAndResourcesBecomeSurfacesAndSetThePalette) {
    testing_support::TempDir dir;
    testing_support::ScopedCwd cwd(dir.Path());
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    Write("pic.bmp", Bmp(3, 2, 0, 4, kRows));
    std::unique_ptr<Surface> s = LoadBitmapSurface(&display, "pic.bmp");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Bounds(), (Rect{0, 0, 3, 2}));
    EXPECT_EQ(std::vector<uint8_t>(s->Pixels(), s->Pixels() + 6), (std::vector<uint8_t>{4, 5, 6, 1, 2, 200}));
    EXPECT_EQ(s->Colors()[3], TestColour(3));
    EXPECT_EQ(display.Palette(), s->Colors());

    // The colour to pixel mapping follows the screen palette.
    EXPECT_EQ(ColorToPixel(&display, s.get(), Rgb(22, 17, 12)), 3u);
    EXPECT_EQ(ColorToPixel(&display, s.get(), Rgb(20, 18, 13)), 3u);
    EXPECT_EQ(ColorToPixel(&display, s.get(), 0xFFFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToPixel(nullptr, s.get(), 0), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToPixel(&display, nullptr, 0), 0xFFFFFFFFu);

    // Failures leave the screen palette alone.
    const ColorTable before = display.Palette();
    std::vector<uint8_t> cut = Bmp(3, 2, 0, 4, kRows);
    cut.pop_back();
    Write("short.bmp", cut);
    std::filesystem::create_directory("dir.bmp");
    for (const char* name : {"missing.bmp", "short.bmp", "dir.bmp", ""})
        EXPECT_EQ(LoadBitmapSurface(&display, name), nullptr) << name;
    EXPECT_EQ(display.Palette(), before);
    EXPECT_EQ(LoadBitmapSurface(nullptr, "pic.bmp"), nullptr);

    // A built-in resource wins over a file of its name, in any case.
    Write("SABAKU", Bmp(3, 2, 0, 4, kRows));
    s = LoadBitmapSurface(&display, "sabaku");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Bounds(), (Rect{0, 0, 200, 200}));

    display.Close();
    EXPECT_EQ(LoadBitmapSurface(&display, "pic.bmp"), nullptr);
    EXPECT_EQ(ColorToPixel(&display, s.get(), 0), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace dw
