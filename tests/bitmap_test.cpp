#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "platform/bitmap.h"
#include "platform/display.h"

namespace dw {
namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

PaletteEntry TestColour(size_t i) { return {uint8_t(i * 7 + 1), uint8_t(i * 5 + 2), uint8_t(i * 3 + 3)}; }

// Header field offsets.
constexpr size_t kOffBits = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                 kBitCount = 28, kCompression = 30, kClrUsed = 46;

// A whole 8-bit file: headers, `colours` RGBQUADs of TestColour, then `data`.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint32_t compression, uint32_t colours,
                             const std::vector<uint8_t>& data, uint32_t infoSize = 40) {
    const size_t tableAt = 14 + infoSize;
    const size_t offBits = tableAt + 4 * colours;
    std::vector<uint8_t> b(offBits + data.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, uint32_t(offBits + data.size()));
    Put32(b, kOffBits, uint32_t(offBits));
    Put32(b, kInfoSize, infoSize);
    Put32(b, kWidth, uint32_t(width));
    Put32(b, kHeight, uint32_t(height));
    Put16(b, kPlanes, 1);
    Put16(b, kBitCount, 8);
    Put32(b, kCompression, compression);
    Put32(b, 34, uint32_t(data.size()));
    Put32(b, kClrUsed, colours == 256 ? 0 : colours);
    for (size_t i = 0; i < colours; ++i) {
        const PaletteEntry c = TestColour(i);
        b[tableAt + 4 * i] = c.b;
        b[tableAt + 4 * i + 1] = c.g;
        b[tableAt + 4 * i + 2] = c.r;
    }
    std::copy(data.begin(), data.end(), b.begin() + std::ptrdiff_t(offBits));
    return b;
}

// 3 x 2, rows padded to 4 bytes, stored bottom row first; pixel 200 lies beyond the table.
std::vector<uint8_t> SmallBmp() {
    return MakeBmp(3, 2, 0, 4, {1, 2, 200, 0, 4, 5, 6, 0});
}

// 6 x 3 RLE8: bottom row = encoded run + odd absolute run; then a delta up two rows.
const std::vector<uint8_t> kRleData = {
    3, 7,  0, 3, 1, 2, 3, 0,  // 7 7 7 then absolute 1 2 3 (+ pad)
    0, 0,                     // end of line
    0, 2, 2, 1,               // delta: right 2, up 1 -> (2, 2)
    2, 9,                     // 9 9
    0, 1,                     // end of bitmap
};

bool Decodes(const std::vector<uint8_t>& file) {
    DecodedBitmap out;
    return DecodeBitmap(file, out);
}

TEST(BitmapDecode, UncompressedBothOrientationsAndHeaderSizes) {
    for (uint32_t infoSize : {40u, 108u, 124u}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << "info " << infoSize << " topDown " << topDown);
            DecodedBitmap out;
            ASSERT_TRUE(DecodeBitmap(MakeBmp(3, topDown ? -2 : 2, 0, 4, {1, 2, 200, 0, 4, 5, 6, 0}, infoSize), out));
            EXPECT_EQ(out.width, 3);
            EXPECT_EQ(out.height, 2);
            const std::vector<uint8_t> want = topDown ? std::vector<uint8_t>{1, 2, 200, 4, 5, 6}
                                                      : std::vector<uint8_t>{4, 5, 6, 1, 2, 200};
            EXPECT_EQ(out.pixels, want);
            for (size_t i = 0; i < 4; ++i) EXPECT_EQ(out.colors[i], TestColour(i));
            for (size_t i = 4; i < 256; ++i) EXPECT_EQ(out.colors[i], PaletteEntry{});
        }
    }
    // A full table (biClrUsed 0) is read whole.
    DecodedBitmap out;
    ASSERT_TRUE(DecodeBitmap(MakeBmp(1, 1, 0, 256, {9, 0, 0, 0}), out));
    EXPECT_EQ(out.colors[255], TestColour(255));
}

TEST(BitmapDecode, Rle8RunsDeltaAndEndOfLine) {
    DecodedBitmap out;
    std::string why;
    ASSERT_TRUE(DecodeBitmap(MakeBmp(6, 3, 1, 16, kRleData), out, &why)) << why;
    const std::vector<uint8_t> want = {
        0, 0, 9, 9, 0, 0,  // top row, reached by the delta
        0, 0, 0, 0, 0, 0,  // skipped row stays 0
        7, 7, 7, 1, 2, 3,  // bottom row
    };
    EXPECT_EQ(out.pixels, want);

    // Runs exactly filling a row, and a delta to the far corner, are fine.
    EXPECT_TRUE(Decodes(MakeBmp(4, 2, 1, 2, {4, 1, 0, 0, 0, 4, 1, 2, 3, 4, 0, 2, 0, 1, 0, 1})));
}

TEST(BitmapDecode, EveryTruncationIsRejected) {
    for (const auto& full : {SmallBmp(), MakeBmp(6, 3, 1, 16, kRleData)}) {
        ASSERT_TRUE(Decodes(full));
        for (size_t n = 0; n < full.size(); ++n) {
            DecodedBitmap out;
            EXPECT_FALSE(DecodeBitmap(std::span(full.data(), n), out)) << "length " << n;
        }
    }
}

TEST(BitmapDecode, BadHeaderFieldsAreRejected) {
    struct Patch {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
    };
    const std::vector<uint8_t> base = SmallBmp();
    const Patch patches[] = {
        {"magic", 0, 'B' | ('A' << 8), false},
        {"bit count 24", kBitCount, 24, false},
        {"bit count 4", kBitCount, 4, false},
        {"planes", kPlanes, 2, false},
        {"RLE4", kCompression, 2, true},
        {"bitfields", kCompression, 3, true},
        {"clrUsed 257", kClrUsed, 257, true},
        {"clrUsed past offset", kClrUsed, 5, true},
        {"offset inside table", kOffBits, 14 + 40 + 12, true},
        {"offset past data", kOffBits, uint32_t(base.size() + 1), true},
        {"offset huge", kOffBits, 0xFFFFFFF0, true},
        {"core header", kInfoSize, 12, true},
        {"info size past data", kInfoSize, 0xFFFFFFF0, true},
        {"width 0", kWidth, 0, true},
        {"width negative", kWidth, uint32_t(-3), true},
        {"height 0", kHeight, 0, true},
        {"height INT_MIN", kHeight, uint32_t(INT32_MIN), true},
    };
    for (const Patch& p : patches) {
        std::vector<uint8_t> file = base;
        if (p.wide)
            Put32(file, p.at, p.value);
        else
            Put16(file, p.at, p.value);
        EXPECT_FALSE(Decodes(file)) << p.what;
    }
    // RLE8 pictures must be stored bottom-up.
    EXPECT_FALSE(Decodes(MakeBmp(6, -3, 1, 16, kRleData)));
}

TEST(BitmapDecode, DimensionLimits) {
    // An RLE8 file holding only "end of bitmap" is tiny whatever its size, so only the
    // dimension checks stand between it and a huge allocation.
    auto empty = [](int32_t w, int32_t h) { return MakeBmp(w, h, 1, 2, {0, 1}); };
    EXPECT_TRUE(Decodes(empty(8192, 1)));
    EXPECT_TRUE(Decodes(empty(1, 8192)));
    EXPECT_TRUE(Decodes(empty(4096, 4096)));
    EXPECT_FALSE(Decodes(empty(8193, 1)));
    EXPECT_FALSE(Decodes(empty(1, 8193)));
    EXPECT_FALSE(Decodes(empty(4097, 4096)));
    EXPECT_FALSE(Decodes(empty(8192, 8192)));
    EXPECT_FALSE(Decodes(empty(65536, 65536)));  // product wraps to 0 in 32 bits
    EXPECT_FALSE(Decodes(empty(INT32_MAX, 2)));
    EXPECT_FALSE(Decodes(MakeBmp(1, -8193, 0, 2, std::vector<uint8_t>(4 * 8193))));
}

TEST(BitmapDecode, RleRunsLeavingThePictureOrDataAreRejected) {
    // 4 x 2 picture.
    const std::vector<std::vector<uint8_t>> bad = {
        {5, 1, 0, 1},                    // encoded run past the row end
        {4, 1, 1, 1, 0, 1},              // a second run past the row end
        {0, 0, 0, 0, 1, 1, 0, 1},        // run below the bottom row
        {0, 0, 0, 0, 0, 0, 0, 1},        // end of line below the bottom row
        {0, 2, 5, 0, 0, 1},              // delta right of the picture
        {0, 2, 0, 3, 0, 1},              // delta below the picture
        {3, 1, 0, 2, 2, 0, 0, 1},        // delta from x 3 past the edge
        {0, 5, 1, 2, 3, 4, 5, 0, 0, 1},  // absolute run wider than the picture
        {0, 4, 1, 2},                    // absolute run past the data
        {0, 3, 1, 2, 3},                 // absolute run missing its pad byte
        {0, 2, 1},                       // delta past the data
        {2, 1},                          // no end of bitmap
    };
    for (size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(Decodes(MakeBmp(4, 2, 1, 2, bad[i]))) << "case " << i;
}

// ---- loading into surfaces --------------------------------------------------------------

class BitmapLoad : public testing::Test {
protected:
    void SetUp() override {
        old_ = std::filesystem::current_path();
        dir_ = std::filesystem::temp_directory_path() /
               ("dw_bitmap_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
        ASSERT_TRUE(display_.Open("test", true));
    }
    void TearDown() override {
        display_.Close();
        std::filesystem::current_path(old_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    static void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    std::filesystem::path old_, dir_;
    Display display_;
};

TEST_F(BitmapLoad, LoadsFilesSetsThePaletteAndRejectsBadOnes) {
    Write("pic.bmp", SmallBmp());
    std::unique_ptr<Surface> s = LoadBitmapSurface(&display_, "pic.bmp");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Width(), 3);
    ASSERT_EQ(s->Height(), 2);
    EXPECT_EQ(std::vector<uint8_t>(s->Pixels(), s->Pixels() + 6), (std::vector<uint8_t>{4, 5, 6, 1, 2, 200}));
    EXPECT_EQ(s->Colors()[3], TestColour(3));
    EXPECT_EQ(display_.Palette(), s->Colors());

    // Failures leave the screen palette alone.
    const ColorTable before = display_.Palette();
    std::vector<uint8_t> garbage = SmallBmp();
    garbage.resize(garbage.size() - 1);
    Write("short.bmp", garbage);
    std::filesystem::create_directory("dir.bmp");
    for (const char* name : {"missing.bmp", "short.bmp", "dir.bmp", ""})
        EXPECT_EQ(LoadBitmapSurface(&display_, name), nullptr) << name;
    EXPECT_EQ(display_.Palette(), before);

    EXPECT_EQ(LoadBitmapSurface(nullptr, "pic.bmp"), nullptr);
    Display closed;
    EXPECT_EQ(LoadBitmapSurface(&closed, "pic.bmp"), nullptr);
}

TEST_F(BitmapLoad, BuiltInResourceWinsOverAFile) {
    Write("SABAKU", SmallBmp());
    std::unique_ptr<Surface> s = LoadBitmapSurface(&display_, "sabaku");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 200);
    EXPECT_EQ(s->Height(), 200);
}

TEST_F(BitmapLoad, ColorToPixelUsesTheScreenPalette) {
    std::vector<uint8_t> file = MakeBmp(1, 1, 0, 6, {0, 0, 0, 0});
    const size_t magentaAt = 14 + 40 + 4 * 5;
    file[magentaAt] = 0xFF;      // blue
    file[magentaAt + 1] = 0;     // green
    file[magentaAt + 2] = 0xFF;  // red
    Write("m.bmp", file);
    std::unique_ptr<Surface> s = LoadBitmapSurface(&display_, "m.bmp");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(ColorToPixel(&display_, s.get(), Rgb(255, 0, 255)), 5u);
    EXPECT_EQ(ColorToPixel(&display_, s.get(), Rgb(250, 10, 240)), 5u);
    EXPECT_EQ(ColorToPixel(&display_, s.get(), 0xFFFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToPixel(nullptr, s.get(), Rgb(255, 0, 255)), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToPixel(&display_, nullptr, Rgb(255, 0, 255)), 0xFFFFFFFFu);
    Display closed;
    EXPECT_EQ(ColorToPixel(&closed, s.get(), Rgb(255, 0, 255)), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace dw
