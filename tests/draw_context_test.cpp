#include <gtest/gtest.h>

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

// Index 0 is a dull blue that nothing below asks for; then black, white, red, green and blue.
ColorTable TestPalette() {
    ColorTable t{};
    for (size_t i = 0; i < 256; ++i) t[i] = {uint8_t(i), 40, 90};
    t[1] = {0, 0, 0};
    t[2] = {255, 255, 255};
    t[3] = {255, 0, 0};
    t[4] = {0, 255, 0};
    t[5] = {0, 0, 255};
    return t;
}

using Draw = std::function<void(DrawContext&)>;

// Filled rectangles in one brush.
Draw Fills(Brush brush, std::vector<Rect> rects) {
    return [=](DrawContext& dc) {
        for (const Rect& r : rects) dc.FillRect(r, brush);
    };
}
// Rectangle calls with the corners as given; a null pen or brush leaves the stock one.
Draw Boxes(const Pen* pen, const Brush* brush, std::vector<Rect> corners) {
    return [=](DrawContext& dc) {
        dc.SelectPen(pen);
        dc.SelectBrush(brush);
        for (const Rect& c : corners) dc.Rectangle(c.left, c.top, c.right, c.bottom);
    };
}
// Each segment (x0, y0, x1, y1) on its own: MoveTo its start, LineTo its end.
Draw Lines(Pen pen, std::vector<std::array<int, 4>> segments) {
    return [=](DrawContext& dc) {
        dc.SelectPen(&pen);
        for (auto [x0, y0, x1, y1] : segments) {
            dc.MoveTo(x0, y0);
            dc.LineTo(x1, y1);
        }
    };
}

TEST(DrawContextTest, ShapesAndLinesDrawExactlyTheirPixels) {
    const Pen red{1, Rgb(255, 0, 0)};
    const Pen white{1, Rgb(255, 255, 255)};
    const Pen green4{4, Rgb(0, 255, 0)};
    const Pen blue5{5, Rgb(0, 0, 255)};
    const Brush green{false, Rgb(0, 255, 0)};
    const Brush blue{false, Rgb(0, 0, 255)};
    const Brush hollow{true, Rgb(255, 0, 0)};
    const struct {
        Draw draw;
        const char* want;  // 8 x 6
    } rows[] = {
        // Fills, clipped; wholly off the surface they fill nothing.
        {.draw = Fills(green, {{1, 1, 4, 3}, {-2, -2, 2, 1}, {8, 0, 12, 6}}),
         .want = "GG....../.GGG..../.GGG..../......../......../........"},
        {.draw = Fills(blue, {{6, 4, 99, 99}, {0, 6, 8, 9}}),
         .want = "......../......../......../......../......BB/......BB"},
        // Rectangles: the pen on the outermost pixels, the brush inside; corners in any order.
        {.draw = Boxes(&red, &blue, {{1, 1, 6, 5}}), .want = "......../.RRRRR../.RBBBR../.RBBBR../.RRRRR../........"},
        {.draw = Boxes(&red, &hollow, {{6, 5, 1, 1}}), .want = "......../.RRRRR../.R...R../.R...R../.RRRRR../........"},
        {.draw = Boxes(nullptr, nullptr, {{0, 0, 3, 3}}),
         .want = "KKK...../KWK...../KKK...../......../......../........"},
        // Flat rectangles draw nothing; 2 x 2 is all outline.
        {.draw = Boxes(&red, nullptr, {{1, 1, 1, 5}, {1, 1, 5, 1}, {4, 3, 6, 5}}),
         .want = "......../......../......../....RR../....RR../........"},
        // Lines leave out their end point, so a line to where it starts draws nothing. They
        // round to the nearest pixel.
        {.draw = Lines(white, {{0, 0, 4, 2}, {7, 5, 6, 0}, {2, 4, 2, 4}}),
         .want = "W......./.WW...W./...W..W./.......W/.......W/.......W"},
        // From off the surface both ways, and across the whole int range.
        {.draw = Lines(white, {{-3, 1, 10, 1}, {-1, 4, 3, 4}, {8, 5, 4, 5}, {6, 9, 6, 2}}),
         .want = "......../WWWWWWWW/......../......W./WWW...W./.....WWW"},
        {.draw = Lines(white, {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {3, INT_MAX, 3, INT_MIN}}),
         .want = "W..W..../.W.W..../..WW..../...W..../...WW.../...W.W.."},
        // Wide pens: round dots, also across the edges; round ends that keep the end point.
        {.draw = Lines(green4, {{3, 2, 3, 2}, {0, 0, 0, 0}, {7, 5, 7, 5}}),
         .want = "GGGG..../GGGGG.../.GGGG.../..GG..GG/.....GGG/.....GGG"},
        {.draw = Lines(green4, {{1, 2, 5, 2}}), .want = "GGGGGG../GGGGGGG./GGGGGGG./GGGGGG../......../........"},
        {.draw = Lines(green4, {{-3, 3, 2, 3}}), .want = "......../GGG...../GGGG..../GGGG..../GGG...../........"},
        {.draw = Lines(green4, {{5, 2, 12, 2}}), .want = "....GGGG/...GGGGG/...GGGGG/....GGGG/......../........"},
        {.draw = Lines(blue5, {{3, 1, 3, 3}}), .want = ".BBBBB../.BBBBB../.BBBBB../.BBBBB../.BBBBB../..BBB..."},
    };
    // One context for all: its cache of recent colours sees more of them than it holds.
    const ColorTable palette = TestPalette();
    auto s = Surface::Create(8, 6);
    DrawContext dc(*s, palette);
    for (size_t i = 0; i < std::size(rows); ++i) {
        s->Fill(0);
        rows[i].draw(dc);
        EXPECT_EQ(testing_support::Picture(*s, ".KWRGB"), rows[i].want) << "row " << i;
    }
}

// Text through FreeType with the Mincho face, on a 400 x 200 surface.
class TextTest : public ::testing::Test {
protected:
    static std::unique_ptr<Font> MakeFont(int height, int width, int weight = 400) {
        return Font::Create(FontSpec{height, width, weight, true, "ＭＳ 明朝"});
    }
    // Draws text at (100, 50) alone, in red; how many pixels it set.
    int Draw(const Font* font, const char* text, bool transparent) {
        surface_->Fill(0);
        dc_.SelectFont(font);
        dc_.SetTransparentBackground(transparent);
        dc_.SetTextColor(Rgb(255, 0, 0));
        dc_.TextOut(100, 50, text);
        return 400 * 200 - In({0, 0, 400, 200}, 0);
    }
    // The pixels of one index in r.
    int In(const Rect& r, uint8_t index) const { return testing_support::CountIndex(*surface_, r, index); }

    ColorTable palette_ = TestPalette();
    std::unique_ptr<Surface> surface_ = Surface::Create(400, 200);
    DrawContext dc_{*surface_, palette_};
    std::unique_ptr<Font> font_ = MakeFont(20, 12);
};

TEST_F(TextTest, GlyphsSitInTheirCellAtTheSizeAndWeightAsked) {
    ASSERT_TRUE(font_->Face());
    EXPECT_EQ(font_->Face()->CellHeight(), 20);
    // Red ink in the cell of its 12-pixel advance, with room for the slant, in both halves
    // of its height.
    const int count = Draw(font_.get(), "E", true);
    EXPECT_EQ(In({100, 50, 116, 70}, 3), count);
    EXPECT_GT(In({100, 50, 116, 60}, 3), 0);
    EXPECT_GT(In({100, 60, 116, 70}, 3), 0);
    // Glyphs sit at their bearing: the middle dot in the middle of its full-width advance.
    const int dot = Draw(font_.get(), "・", true);
    EXPECT_GT(dot, 0);
    EXPECT_EQ(In({106, 50, 118, 70}, 3), dot);

    // The average width is the advance of half-width letters; full-width ones take two.
    EXPECT_EQ(font_->Face()->Measure("0123456789"), 120);
    EXPECT_EQ(MakeFont(20, 1)->Face()->Measure("0123456789"), 10);
    EXPECT_EQ(font_->Face()->Measure("漢字"), 48);
    // Wide glyphs show too, whatever their width in whole bytes of the rendered bitmap.
    for (int height = 8; height <= 40; ++height)
        for (const char* letter : {"M", "W", "漢", "■"})
            EXPECT_GT(Draw(MakeFont(height, height / 2).get(), letter, true), 0) << letter << " at " << height;
    // From weight 600 on, fonts are bold: more ink.
    EXPECT_GT(Draw(MakeFont(20, 12, 600).get(), "E", true), count);

    // Opaque text fills its whole cell white first; no font, no text.
    const Rect cell{100, 50, 124, 70};
    EXPECT_EQ(Draw(font_.get(), "Ex", false), 24 * 20);
    EXPECT_EQ(In(cell, 2) + In(cell, 3), 24 * 20);
    EXPECT_GT(In(cell, 3), 20);
    EXPECT_EQ(Draw(nullptr, "E", false), 0);

    // Partly or wholly off the surface: the same pixels as on a larger surface.
    auto large = Surface::Create(440, 240);
    DrawContext dcLarge(*large, palette_);
    dcLarge.SetTextColor(Rgb(255, 0, 0));  // as Draw left dc_
    dcLarge.SelectFont(font_.get());
    dcLarge.SetTransparentBackground(true);
    dc_.SelectFont(font_.get());
    dc_.SetTransparentBackground(true);
    dcLarge.TextOut(-7 + 20, -9 + 20, "Wj漢");
    dcLarge.TextOut(390 + 20, 190 + 20, "Wj漢");
    for (const auto& [x, y] :
         std::to_array<std::array<int, 2>>({{-7, -9}, {390, 190}, {INT_MAX - 3, 0}, {INT_MIN, INT_MIN}, {0, INT_MAX}}))
        dc_.TextOut(x, y, "Wj漢");
    int differ = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) differ += surface_->Get(x, y) != large->Get(x + 20, y + 20);
    EXPECT_EQ(differ, 0);
    EXPECT_GT(In({0, 0, 400, 200}, 3), 0);
}

TEST_F(TextTest, FacesAreFoundByNameAndMalformedUtf8BecomesReplacements) {
    const std::string mincho = FindFontFile("ＭＳ 明朝");
    EXPECT_NE(mincho.find("mincho"), std::string::npos) << mincho;
    EXPECT_EQ(FindFontFile("IPA Mincho"), mincho);
    const std::string other = FindFontFile("No Such Face");
    EXPECT_NE(other, mincho);
    EXPECT_NE(other, "");
    // Other faces fall back to serif, which has a glyph for U+FFFD, of its own width, and none
    // for kanji or surrogates. Its digits are wider than half its em; the width still sets
    // their advance.
    const auto serif = Font::Create(FontSpec{20, 12, 400, false, "No Such Face"});
    ASSERT_TRUE(serif->Face());
    FontFace& face = *serif->Face();
    EXPECT_NEAR(face.Measure("0123456789"), 120, 6);
    const int bad = face.Measure("\xef\xbf\xbd");
    const int a = face.Measure("A");
    const int none = face.Measure("漢");
    ASSERT_GT(bad, 0);
    ASSERT_NE(bad, a);
    ASSERT_NE(bad, none);
    const struct {
        const char* text;
        int advance;
    } rows[] = {
        {.text = "\xff\xfe", .advance = 2 * bad},
        {.text = "\xe3\x81", .advance = 2 * bad},
        {.text = "\xc0\xaf", .advance = bad},
        {.text = "\xf4\x90\x80\x80", .advance = bad},
        {.text = "A\x80Z", .advance = a + bad + face.Measure("Z")},
        {.text = "\xc3\x41", .advance = bad + a},  // a lead byte before "A"
        {.text = "\xc3\xa9\xe3\x81\x82", .advance = face.Measure("e") + none},
        {.text = "\xf0\x9f\x98\x80", .advance = none},
        // Surrogates are no characters in UTF-8; their neighbours are.
        {.text = "\xed\xa0\x80", .advance = bad},
        {.text = "\xed\xbf\xbf", .advance = bad},
        {.text = "\xed\x9f\xbf", .advance = none},
    };
    for (const auto& r : rows) EXPECT_EQ(face.Measure(r.text), r.advance) << testing::PrintToString(r.text);
}

}  // namespace
}  // namespace dw
