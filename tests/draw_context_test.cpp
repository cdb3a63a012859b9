#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw_context.h"
#include "platform/font.h"
#include "test_support.h"

namespace dw {
namespace {

constexpr ColorRef kRedRef = Rgb(255, 0, 0), kGreenRef = Rgb(0, 255, 0), kBlueRef = Rgb(0, 0, 255);

// Index 0 is a dull blue that nothing below asks for; then black, white, red, green, blue,
// and cyan, magenta and yellow, so that white stops being the nearest to anything near it.
ColorTable TestPalette() {
    ColorTable t{};
    for (size_t i = 0; i < 256; ++i) t[i] = {uint8_t(i), 40, 90};
    const PaletteEntry named[] = {{0, 0, 0},   {255, 255, 255}, {255, 0, 0},   {0, 255, 0},
                                  {0, 0, 255}, {0, 255, 255},   {255, 0, 255}, {255, 255, 0}};
    std::copy(std::begin(named), std::end(named), t.begin() + 1);
    return t;
}
std::string Picture(const Surface& s) { return testing_support::Picture(s, ".KWRGBCMY"); }

TEST(DrawContextTest, ColoursMapToTheNearestEntryThroughTheCacheAndRectanglesIntersect) {
    // Rectangles that only touch share no pixel; then the answer is all zero.
    const std::array<Rect, 3> rows[] = {{Rect{0, 0, 4, 4}, {2, 1, 6, 3}, {2, 1, 4, 3}},
                                        {Rect{1, 1, 3, 3}, {0, 0, 5, 5}, {1, 1, 3, 3}},
                                        {Rect{-3, 1, 2, 2}, {-3, 1, 2, 2}, {-3, 1, 2, 2}},
                                        {Rect{0, 0, 2, 2}, {2, 0, 4, 2}, {}},
                                        {Rect{0, 0, 2, 2}, {0, 2, 2, 4}, {}},
                                        {Rect{0, 0, 2, 2}, {5, 5, 7, 7}, {}}};
    for (auto [a, b, common] : rows)
        EXPECT_TRUE(Intersect(a, b) == common && Intersect(b, a) == common) << a.right << " " << b.left;

    ColorTable t{};
    t[1] = t[2] = {10, 10, 10};
    t[9] = {200, 100, 50};
    t[5] = {200, 100, 51};  // a step from t[9]: only an exact match ends the search early
    const std::pair<ColorRef, int> ties[] = {{Rgb(10, 10, 10), 1}, {Rgb(4, 4, 4), 0}, {Rgb(5, 5, 5), 0},
                                             {Rgb(6, 6, 6), 1},    {0x3264C8, 9},     {Rgb(255, 120, 40), 9}};
    for (auto [colour, index] : ties) EXPECT_EQ(NearestIndex(t, colour), index) << std::hex << colour;

    const ColorTable palette = TestPalette();
    auto s = Surface::Create(1, 1);
    DrawContext dc(*s, palette);
    // More colours than the cache holds, twice over, and each answer stays right.
    const std::pair<ColorRef, int> colours[] = {
        {Rgb(0, 0, 0), 1}, {kRedRef, 3}, {kGreenRef, 4}, {kBlueRef, 5}, {Rgb(250, 250, 250), 2}, {Rgb(9, 40, 90), 9}};
    for (int round = 0; round < 3; ++round)
        for (auto [colour, index] : colours) EXPECT_EQ(dc.Index(colour), index) << std::hex << colour;
}

TEST(DrawContextTest, ShapesAndLinesDrawExactlyTheirPixels) {
    const Pen red{1, kRedRef}, white{1, Rgb(255, 255, 255)}, green4{4, kGreenRef}, blue5{5, kBlueRef};
    const Brush blue{false, kBlueRef}, green{false, kGreenRef}, hollow{true, kRedRef};
    using DC = DrawContext&;
    auto lines = [](std::vector<std::array<int, 4>> from_to) {
        return [=](DC dc) {
            for (auto [x0, y0, x1, y1] : from_to) dc.MoveTo(x0, y0), dc.LineTo(x1, y1);
        };
    };
    struct Row {
        const Pen* pen;
        const Brush* brush;
        std::function<void(DC)> draw;
        const char* want;  // 8 x 6
    } const rows[] = {
        // Fills, clipped; a hollow brush fills nothing.
        {nullptr, nullptr,
         [&](DC dc) {
             dc.FillRect({1, 1, 4, 3}, green);
         },
         "......../.GGG..../.GGG..../......../......../........"},
        {nullptr, nullptr,
         [&](DC dc) {
             dc.FillRect({-2, -2, 2, 1}, green), dc.FillRect({6, 4, 99, 99}, blue), dc.FillRect({0, 0, 8, 6}, hollow);
         },
         "GG....../......../......../......../......BB/......BB"},
        // Rectangles: the pen on the outermost pixels, the brush inside; corners in any order.
        {&red, &blue, [](DC dc) { dc.Rectangle(1, 1, 6, 5); }, "......../.RRRRR../.RBBBR../.RBBBR../.RRRRR../........"},
        {&red, &hollow, [](DC dc) { dc.Rectangle(6, 5, 1, 1); },
         "......../.RRRRR../.R...R../.R...R../.RRRRR../........"},
        {nullptr, nullptr, [](DC dc) { dc.Rectangle(0, 0, 3, 3); },
         "KKK...../KWK...../KKK...../......../......../........"},
        // Flat rectangles draw nothing; 2 x 2 is all outline.
        {&red, nullptr, [](DC dc) { dc.Rectangle(1, 1, 1, 5), dc.Rectangle(1, 1, 5, 1), dc.Rectangle(4, 3, 6, 5); },
         "......../......../......../....RR../....RR../........"},
        // Lines leave out their end point and go on from it; they round to the nearest pixel.
        {&white, nullptr, [](DC dc) { dc.MoveTo(1, 1), dc.LineTo(5, 1), dc.LineTo(5, 4), dc.LineTo(5, 4); },
         "......../.WWWWW../.....W../.....W../......../........"},
        {&white, nullptr, [](DC dc) { dc.LineTo(3, 0); },
         "WWW...../......../......../......../......../........"},  // from (0, 0)
        {&white, nullptr, lines({{0, 0, 4, 2}, {7, 5, 6, 0}}), "W......./.WW...W./...W..W./.......W/.......W/.......W"},
        // From off the surface both ways, and across the whole int range.
        {&white, nullptr, lines({{-3, 1, 10, 1}, {-1, 4, 3, 4}, {8, 5, 4, 5}, {6, 9, 6, 2}}),
         "......../WWWWWWWW/......../......W./WWW...W./.....WWW"},
        {&white, nullptr, lines({{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {3, INT_MAX, 3, INT_MIN}}),
         "W..W..../.W.W..../..WW..../...W..../...WW.../...W.W.."},
        // Wide pens: round dots, also across the edges; round ends that keep the end point.
        {&green4, nullptr, lines({{3, 2, 3, 2}, {0, 0, 0, 0}, {7, 5, 7, 5}}),
         "GGGG..../GGGGG.../.GGGG.../..GG..GG/.....GGG/.....GGG"},
        {&green4, nullptr, lines({{1, 2, 5, 2}}), "GGGGGG../GGGGGGG./GGGGGGG./GGGGGG../......../........"},
        {&green4, nullptr, lines({{-3, 3, 2, 3}}), "......../GGG...../GGGG..../GGGG..../GGG...../........"},
        {&blue5, nullptr, lines({{3, 1, 3, 3}}), ".BBBBB../.BBBBB../.BBBBB../.BBBBB../.BBBBB../..BBB..."},
    };
    const ColorTable palette = TestPalette();
    auto s = Surface::Create(8, 6);
    for (size_t i = 0; i < std::size(rows); ++i) {
        s->Fill(0);
        DrawContext dc(*s, palette);
        dc.SelectPen(rows[i].pen);
        dc.SelectBrush(rows[i].brush);
        rows[i].draw(dc);
        EXPECT_EQ(Picture(*s), rows[i].want) << "row " << i;
    }
}

// Text through FreeType with the Mincho face, on a 400 x 200 surface.
class TextTest : public ::testing::Test {
protected:
    static std::unique_ptr<Font> MakeFont(int height, int width, int weight = 400) {
        return Font::Create(FontSpec{height, width, weight, true, "ＭＳ 明朝"});
    }
    // Draws text at (100, 50) alone, in red; the box of the pixels it set and how many.
    std::pair<Rect, int> Draw(const Font* font, const char* text, bool transparent) {
        surface_->Fill(0);
        dc_.SelectFont(font);
        dc_.SetTransparentBackground(transparent);
        dc_.SetTextColor(kRedRef);
        dc_.TextOut(100, 50, text);
        Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 400; ++x)
                if (surface_->Get(x, y) != 0)
                    ++n, box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                                std::max(box.bottom, y + 1)};
        return {n > 0 ? box : Rect{}, n};
    }
    int Count(uint8_t index) const {
        return int(std::count(surface_->Pixels(), surface_->Pixels() + 400 * 200, index));
    }

    ColorTable palette_ = TestPalette();
    std::unique_ptr<Surface> surface_ = Surface::Create(400, 200);
    DrawContext dc_{*surface_, palette_};
    std::unique_ptr<Font> font_ = MakeFont(20, 12);
};

TEST_F(TextTest, FacesAreFoundTextSitsInItsCellMalformedUtf8BecomesReplacementsAndTextIsClipped) {
    ASSERT_TRUE(font_->Face() && font_->Face()->CellHeight() == 20);
    const auto [e, count] = Draw(font_.get(), "E", true);
    EXPECT_EQ(Count(3), count);
    EXPECT_TRUE(e.left >= 100 && e.right <= 116 && e.top >= 50 && e.top <= 56 && e.bottom <= 70 && e.Height() >= 10);
    // Italic: the top of the stem lies right of its foot.
    auto firstInk = [&](int y) {
        int x = e.left;
        while (x < e.right && surface_->Get(x, y) == 0) ++x;
        return x;
    };
    EXPECT_GE(firstInk(e.top), firstInk(e.bottom - 1) + 2);
    // Glyphs sit at their bearing: the middle dot in the middle of its full-width advance.
    const Rect dot = Draw(font_.get(), "・", true).first;
    EXPECT_NEAR(dot.left + dot.right, 2 * (100 + 12), 4);

    // The average width is the advance of half-width letters; full-width ones take two.
    EXPECT_EQ(font_->Face()->Measure("0123456789"), 120);
    EXPECT_TRUE(MakeFont(14, 8)->Face()->Measure("0123456789") == 80 &&
                MakeFont(20, 1)->Face()->Measure("0123456789") == 10);
    EXPECT_EQ(font_->Face()->Measure("漢字"), 48);
    // Bigger fonts draw bigger; from weight 600 on, fonts are bold: more ink, wider letters.
    const Rect big = Draw(MakeFont(40, 24, 500).get(), "E", true).first;
    EXPECT_TRUE(big.Height() >= 2 * e.Height() - 2 && big.top >= 50 && big.bottom <= 90);
    const int bold = Draw(MakeFont(20, 12, 600).get(), "E", true).second;
    EXPECT_TRUE(bold > count && MakeFont(20, 12, 600)->Face()->Measure("0123456789") > 120);

    // Opaque text fills its whole cell white first; no font, no text.
    const auto [cell, opaque] = Draw(font_.get(), "Ex", false);
    EXPECT_EQ(cell, (Rect{100, 50, 124, 70}));
    EXPECT_TRUE(opaque == 24 * 20 && Count(2) + Count(3) == opaque && Count(3) > 20 && Count(2) > Count(3));
    EXPECT_EQ(Draw(nullptr, "E", false).first, Rect{});

    const std::string mincho = FindFontFile("ＭＳ 明朝");
    EXPECT_NE(mincho.find("mincho"), std::string::npos) << mincho;
    EXPECT_EQ(FindFontFile("IPA Mincho"), mincho);
    EXPECT_TRUE(FindFontFile("No Such Face") != mincho && !FindFontFile("No Such Face").empty());
    for (const char* bad : {"/nonexistent.ttf", "/dev/null", ""})
        EXPECT_EQ(FontFace::Open(bad, FontSpec{20, 12, 400, true, ""}), nullptr) << bad;
    // Other faces fall back to serif, which has a glyph for U+FFFD, of its own width, and none
    // for kanji or surrogates. Its digits are wider than half its em; the width still sets
    // their advance.
    const auto serif = Font::Create(FontSpec{20, 12, 400, false, "No Such Face"});
    ASSERT_TRUE(serif->Face());
    FontFace& face = *serif->Face();
    EXPECT_NEAR(face.Measure("0123456789"), 120, 6);
    const int bad = face.Measure("\xef\xbf\xbd"), a = face.Measure("A"), none = face.Measure("漢");
    ASSERT_TRUE(bad > 0 && bad != a && bad != none);
    const std::pair<const char*, int> rows[] = {{"\xff\xfe", 2 * bad},
                                                {"\xe3\x81", 2 * bad},
                                                {"\xc0\xaf", bad},
                                                {"\xe0\x80\xaf", bad},
                                                {"\xf0\x80\x80\xaf", bad},
                                                {"\xf4\x90\x80\x80", bad},
                                                {"A\x80Z", a + bad + face.Measure("Z")},
                                                {"\xc3"
                                                 "A",
                                                 bad + a},
                                                {"\xc3\xa9\xe3\x81\x82", face.Measure("e") + none},
                                                {"\xf0\x9f\x98\x80", none},
                                                // Surrogates are no characters in UTF-8; their neighbours are.
                                                {"\xed\xa0\x80", bad},
                                                {"\xed\xbf\xbf", bad},
                                                {"\xed\x9f\xbf", none},
                                                {"\xee\x80\x80", none}};
    for (auto [text, advance] : rows) EXPECT_EQ(face.Measure(text), advance) << testing::PrintToString(text);

    // Partly or wholly off the surface: the same pixels as on a larger surface.
    auto large = Surface::Create(440, 240);
    DrawContext dcLarge(*large, palette_);
    dcLarge.SetTextColor(kRedRef);  // as Draw left dc_
    for (DrawContext* dc : {&dc_, &dcLarge}) dc->SelectFont(font_.get()), dc->SetTransparentBackground(true);
    for (auto [x, y] : {std::pair{-7, -9}, {390, 190}}) dcLarge.TextOut(x + 20, y + 20, "Wj漢");
    for (auto [x, y] : {std::pair{-7, -9}, {390, 190}, {INT_MAX - 3, 0}, {INT_MIN, INT_MIN}, {0, INT_MAX}})
        dc_.TextOut(x, y, "Wj漢");
    int differ = 0, inked = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            differ += surface_->Get(x, y) != large->Get(x + 20, y + 20), inked += surface_->Get(x, y) != 0;
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(inked > 0 && surface_->Get(399, 199) == 0);
}

}  // namespace
}  // namespace dw
