#include <gtest/gtest.h>

#include <climits>

#include "platform/draw_context.h"
#include "platform/font.h"

namespace dw {
namespace {

constexpr uint8_t kBlack = 0, kWhite = 1, kRed = 2, kGreen = 3, kBlue = 4, kGrey = 5;
constexpr uint8_t kBackground = 200;

ColorTable TestPalette() {
    ColorTable t{};
    for (size_t i = 0; i < 256; ++i) t[i] = {uint8_t(i), 40, 90};
    t[kBlack] = {0, 0, 0};
    t[kWhite] = {255, 255, 255};
    t[kRed] = {255, 0, 0};
    t[kGreen] = {0, 255, 0};
    t[kBlue] = {0, 0, 255};
    t[kGrey] = {128, 128, 128};
    return t;
}

// Bounding box and count of the pixels that differ from the background.
struct Ink {
    Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    int count = 0;
    bool oneColour = true;
    uint8_t colour = 0;
};

Ink InkOf(const Surface& s) {
    Ink ink;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            const uint8_t p = s.Get(x, y);
            if (p == kBackground) continue;
            if (ink.count++ == 0) ink.colour = p;
            ink.oneColour = ink.oneColour && p == ink.colour;
            ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y),
                       std::max(ink.box.right, x + 1), std::max(ink.box.bottom, y + 1)};
        }
    }
    return ink;
}

class DrawContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface_ = Surface::Create(800, 600);
        surface_->Fill(kBackground);
    }
    uint8_t At(int x, int y) const { return surface_->Get(x, y); }

    ColorTable palette_ = TestPalette();
    std::unique_ptr<Surface> surface_;
};

TEST(NearestIndexTest, ExactNearestAndLowestOnTies) {
    ColorTable t{};
    t[1] = {10, 10, 10};
    t[2] = {10, 10, 10};
    t[9] = {200, 100, 50};
    EXPECT_EQ(NearestIndex(t, Rgb(10, 10, 10)), 1);
    EXPECT_EQ(NearestIndex(t, Rgb(4, 4, 4)), 0);
    EXPECT_EQ(NearestIndex(t, Rgb(5, 5, 5)), 0);  // equally far from 0 and 1
    EXPECT_EQ(NearestIndex(t, Rgb(6, 6, 6)), 1);
    EXPECT_EQ(NearestIndex(t, 0x3264C8), 9);  // 0x00BBGGRR
    EXPECT_EQ(NearestIndex(t, Rgb(255, 120, 40)), 9);
}

TEST_F(DrawContextTest, FillRectAndRectangleAreRightAndBottomExclusive) {
    DrawContext dc(*surface_, palette_);
    EXPECT_EQ(dc.Index(0x0000FF), kRed);
    EXPECT_EQ(dc.Index(0xFF0000), kBlue);
    EXPECT_EQ(dc.Index(0x808080), kGrey);

    dc.FillRect({10, 10, 20, 15}, Brush{false, 0x00FF00});
    Ink ink = InkOf(*surface_);
    EXPECT_EQ(ink.box, (Rect{10, 10, 20, 15}));
    EXPECT_EQ(ink.count, 50);
    EXPECT_EQ(ink.colour, kGreen);
    dc.FillRect({-5, -5, 900, 2}, Brush{true, 0});  // hollow: nothing
    dc.FillRect({795, 598, 900, 700}, Brush{false, 0});  // clipped
    EXPECT_EQ(At(799, 599), kBlack);
    EXPECT_EQ(At(794, 599), kBackground);

    // Pen 1: outline on the outermost pixels, brush inside.
    surface_->Fill(kBackground);
    const Pen red{1, 0x0000FF};
    const Brush blue{false, 0xFF0000};
    dc.SelectPen(&red);
    dc.SelectBrush(&blue);
    dc.Rectangle(10, 10, 20, 16);
    ink = InkOf(*surface_);
    EXPECT_EQ(ink.box, (Rect{10, 10, 20, 16}));
    EXPECT_EQ(ink.count, 60);
    for (int x = 10; x < 20; ++x) EXPECT_TRUE(At(x, 10) == kRed && At(x, 15) == kRed) << x;
    for (int y = 10; y < 16; ++y) EXPECT_TRUE(At(10, y) == kRed && At(19, y) == kRed) << y;
    EXPECT_EQ(At(11, 11), kBlue);
    EXPECT_EQ(At(18, 14), kBlue);

    // A hollow brush leaves the inside alone; Select returns what it replaces.
    surface_->Fill(kBackground);
    const Brush none{true, 0};
    EXPECT_EQ(dc.SelectBrush(&none), &blue);
    dc.Rectangle(20, 16, 10, 10);  // inverted corners are the same rectangle
    ink = InkOf(*surface_);
    EXPECT_EQ(ink.box, (Rect{10, 10, 20, 16}));
    EXPECT_EQ(ink.count, 28);
    EXPECT_TRUE(ink.oneColour);

    // Nothing selected: GDI's stock black pen and white brush.
    surface_->Fill(kBackground);
    EXPECT_EQ(dc.SelectPen(nullptr), &red);
    dc.SelectBrush(nullptr);
    dc.Rectangle(0, 0, 3, 3);
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(At(2, 2), kBlack);
    EXPECT_EQ(At(1, 1), kWhite);
    EXPECT_EQ(At(3, 3), kBackground);
}

TEST_F(DrawContextTest, WidePenIsCentredOnTheOutline) {
    DrawContext dc(*surface_, palette_);
    const Pen pen{6, 0x0000FF};
    const Brush green{false, 0x00FF00};
    dc.SelectPen(&pen);
    dc.SelectBrush(&green);
    dc.Rectangle(100, 100, 200, 150);
    // Left edge at x = 100 covers 97..102, right edge at 199 covers 196..201.
    EXPECT_EQ(At(96, 125), kBackground);
    EXPECT_EQ(At(97, 125), kRed);
    EXPECT_EQ(At(102, 125), kRed);
    EXPECT_EQ(At(103, 125), kGreen);
    EXPECT_EQ(At(195, 125), kGreen);
    EXPECT_EQ(At(196, 125), kRed);
    EXPECT_EQ(At(201, 125), kRed);
    EXPECT_EQ(At(202, 125), kBackground);
    EXPECT_EQ(At(150, 97), kRed);
    EXPECT_EQ(At(150, 96), kBackground);
    EXPECT_EQ(At(150, 151), kRed);
    EXPECT_EQ(At(150, 152), kBackground);
    EXPECT_EQ(At(97, 97), kBackground);  // round corners
    EXPECT_EQ(InkOf(*surface_).box, (Rect{97, 97, 202, 152}));
}

TEST_F(DrawContextTest, LinesExcludeTheirEndPointAndWidePensAreRound) {
    DrawContext dc(*surface_, palette_);
    const Pen thin{1, 0xFFFFFF};
    dc.SelectPen(&thin);
    dc.MoveTo(10, 10);
    dc.LineTo(20, 10);
    dc.LineTo(20, 5);  // continues from the last end point
    Ink ink = InkOf(*surface_);
    EXPECT_EQ(ink.count, 15);
    EXPECT_EQ(ink.box, (Rect{10, 6, 21, 11}));
    EXPECT_EQ(At(20, 5), kBackground);

    surface_->Fill(kBackground);
    dc.MoveTo(0, 0);
    dc.LineTo(5, 5);
    dc.MoveTo(30, 30);
    dc.LineTo(32, 40);  // steep
    dc.MoveTo(50, 50);
    dc.LineTo(50, 50);  // empty
    ink = InkOf(*surface_);
    EXPECT_EQ(ink.count, 15);
    EXPECT_EQ(At(4, 4), kWhite);
    EXPECT_EQ(At(5, 5), kBackground);
    EXPECT_EQ(At(30, 30), kWhite);
    EXPECT_EQ(At(32, 39), kWhite);

    // Pen 8 covers y - 4 .. y + 3 along a horizontal line, round at both ends.
    surface_->Fill(kBackground);
    const Pen wide{8, 0x00FF00};
    dc.SelectPen(&wide);
    dc.MoveTo(100, 300);
    dc.LineTo(200, 300);
    ink = InkOf(*surface_);
    EXPECT_EQ(ink.box, (Rect{96, 296, 204, 304}));
    EXPECT_EQ(ink.colour, kGreen);
    EXPECT_EQ(At(96, 300), kGreen);
    EXPECT_EQ(At(96, 296), kBackground);

    // Lines far outside the surface or across the whole int range stay quick and clipped.
    surface_->Fill(kBackground);
    dc.MoveTo(INT_MIN, INT_MIN);
    dc.LineTo(INT_MAX, INT_MAX);
    dc.MoveTo(INT_MIN, 5);
    dc.LineTo(INT_MIN + 10, INT_MAX);
    EXPECT_EQ(At(300, 300), kGreen);
    EXPECT_EQ(At(0, 300), kBackground);
}

class TextTest : public DrawContextTest {
protected:
    static std::unique_ptr<Font> MakeFont(int height, int width, int weight) {
        return Font::Create(FontSpec{height, width, weight, true, "ＭＳ 明朝"});
    }
};

TEST_F(TextTest, FindsMinchoAndFallsBackToSerif) {
    const std::string mincho = FindFontFile("ＭＳ 明朝");
    EXPECT_FALSE(mincho.empty());
    EXPECT_EQ(FindFontFile("ipa mincho"), mincho);
    EXPECT_FALSE(FindFontFile("No Such Face").empty());
    EXPECT_EQ(FontFace::Open("/nonexistent.ttf", FontSpec{20, 12, 400, true, ""}), nullptr);
    EXPECT_EQ(FontFace::Open("/dev/null", FontSpec{20, 12, 400, true, ""}), nullptr);
}

TEST_F(TextTest, TextSitsInItsCellInTheTextColour) {
    auto font = MakeFont(20, 12, 400);
    ASSERT_NE(font->Face(), nullptr);
    DrawContext dc(*surface_, palette_);
    EXPECT_EQ(dc.SelectFont(font.get()), nullptr);
    dc.SetTransparentBackground(true);
    dc.SetTextColor(0x808080);
    dc.TextOut(100, 50, "E");
    Ink ink = InkOf(*surface_);
    ASSERT_GT(ink.count, 20);
    EXPECT_TRUE(ink.oneColour);
    EXPECT_EQ(ink.colour, kGrey);
    EXPECT_GE(ink.box.left, 100);
    EXPECT_LE(ink.box.right, 124);
    EXPECT_GE(ink.box.top, 50);
    EXPECT_LE(ink.box.top, 56);
    EXPECT_LE(ink.box.bottom, 70);
    EXPECT_GE(ink.box.Height(), 10);  // a capital of a 20-pixel cell
    // Italic: the stem of the E leans right.
    auto firstInk = [&](int y) {
        int x = ink.box.left;
        while (x < ink.box.right && At(x, y) == kBackground) ++x;
        return x;
    };
    EXPECT_GE(firstInk(ink.box.top), firstInk(ink.box.bottom - 1) + 2);

    // The average width is the advance of half-width letters.
    EXPECT_NEAR(font->Face()->Measure("0123456789"), 120, 4);
    auto small = MakeFont(14, 8, 400);
    EXPECT_NEAR(small->Face()->Measure("0123456789"), 80, 4);

    // Bigger fonts draw bigger; heavier ones draw more ink.
    auto big = MakeFont(40, 40, 500);
    auto bold = MakeFont(20, 12, 700);
    surface_->Fill(kBackground);
    dc.SelectFont(big.get());
    dc.TextOut(100, 50, "E");
    const Ink bigInk = InkOf(*surface_);
    EXPECT_GE(bigInk.box.Height(), 2 * ink.box.Height() - 2);
    EXPECT_GE(bigInk.box.top, 50);
    EXPECT_LE(bigInk.box.bottom, 90);
    surface_->Fill(kBackground);
    dc.SelectFont(bold.get());
    dc.TextOut(100, 50, "E");
    EXPECT_GT(InkOf(*surface_).count, ink.count);
}

TEST_F(TextTest, OpaqueBackgroundFillsTheCell) {
    auto font = MakeFont(20, 12, 400);
    DrawContext dc(*surface_, palette_);
    dc.SelectFont(font.get());
    dc.SetTextColor(0x000000);
    dc.TextOut(10, 10, "..");  // no ink beyond the advance
    const Ink ink = InkOf(*surface_);
    EXPECT_EQ(ink.box, (Rect{10, 10, 10 + font->Face()->Measure(".."), 30}));
    EXPECT_EQ(ink.count, ink.box.Width() * ink.box.Height());
    EXPECT_GT(ink.box.Width(), 20);
}

TEST_F(TextTest, JapaneseEdgesAndBadUtf8) {
    auto font = MakeFont(20, 12, 400);
    DrawContext dc(*surface_, palette_);
    dc.SelectFont(font.get());
    dc.SetTransparentBackground(true);
    dc.SetTextColor(0xFFFFFF);
    dc.TextOut(10, 100, "ファイルを初期化(すべて０にする。)します。");
    Ink ink = InkOf(*surface_);
    EXPECT_GT(ink.count, 300);
    EXPECT_GE(ink.box.top, 100);
    EXPECT_LE(ink.box.bottom, 120);
    EXPECT_GT(ink.box.Width(), 400);  // 21 full-width characters of 24 pixels

    surface_->Fill(kBackground);
    dc.TextOut(0, 0, "");
    for (const char* bad : {"\xff\xfe", "\xe3\x81", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "A\x80Z"})
        dc.TextOut(10, 200, bad);
    ink = InkOf(*surface_);
    EXPECT_GE(ink.box.top, 200);
    EXPECT_LE(ink.box.bottom, 220);

    // Partly or wholly off the surface: clipped.
    const std::pair<int, int> corners[] = {{-7, -9}, {790, 590}, {INT_MAX - 3, 0}, {INT_MIN, INT_MIN}, {0, INT_MAX}};
    for (auto [x, y] : corners) dc.TextOut(x, y, "Wj漢");
    EXPECT_EQ(At(400, 300), kBackground);

    // No font selected: text is skipped.
    surface_->Fill(kBackground);
    dc.SelectFont(nullptr);
    dc.TextOut(10, 10, "E");
    EXPECT_EQ(InkOf(*surface_).count, 0);
}

}  // namespace
}  // namespace dw
