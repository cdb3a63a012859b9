#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/surface.h"

namespace dw {
namespace {

std::unique_ptr<Surface> Pattern(int w, int h) {
    auto s = Surface::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s->Set(x, y, uint8_t(1 + y * w + x));
    return s;
}

std::vector<uint8_t> RowOf(const Surface& s, int y) {
    return {s.Row(y), s.Row(y) + s.Width()};
}

// The blit as defined, one destination pixel at a time.
void ReferenceBlit(Surface& dst, const Rect& d, const Surface& src, const Rect& s, unsigned flags) {
    const int64_t dw = int64_t(d.right) - d.left, dh = int64_t(d.bottom) - d.top;
    const int64_t sw = int64_t(s.right) - s.left, sh = int64_t(s.bottom) - s.top;
    for (int y = 0; y < dst.Height(); ++y) {
        for (int x = 0; x < dst.Width(); ++x) {
            if (x < d.left || x >= d.right || y < d.top || y >= d.bottom) continue;
            const int64_t ox = (x - d.left) * sw / dw;
            const int64_t sx = (flags & kBlitMirror) ? s.right - 1 - ox : s.left + ox;
            const int64_t sy = s.top + (y - d.top) * sh / dh;
            if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
            const uint8_t p = src.Get(int(sx), int(sy));
            if ((flags & kBlitKeySrc) && src.ColorKey() == p) continue;
            dst.Set(x, y, p);
        }
    }
}

TEST(SurfaceTest, CreateRejectsBadSizesAndAccessIsBoundsChecked) {
    EXPECT_EQ(Surface::Create(0, 5), nullptr);
    EXPECT_EQ(Surface::Create(5, -1), nullptr);
    EXPECT_EQ(Surface::Create(Surface::kMaxSide + 1, 1), nullptr);
    EXPECT_EQ(Surface::Create(Surface::kMaxSide, Surface::kMaxSide), nullptr);
    auto s = Surface::Create(3, 2);
    ASSERT_NE(s, nullptr);
    s->Set(-1, 0, 7);
    s->Set(3, 1, 7);
    s->Set(2, 1, 7);
    EXPECT_EQ(s->Get(2, 1), 7);
    EXPECT_EQ(s->Get(3, 1), 0);
    EXPECT_EQ(s->Get(0, -1), 0);
}

TEST(BlitTest, CopiesMirrorsAndStretchesRows) {
    auto src = Surface::Create(4, 1);
    for (int x = 0; x < 4; ++x) src->Set(x, 0, uint8_t(x + 1));  // 1 2 3 4
    auto dst = Surface::Create(4, 1);
    auto blit = [&](Rect d, Rect s, unsigned flags) {
        dst->Fill(9);
        EXPECT_TRUE(Blit(*dst, d, *src, s, flags));
        return RowOf(*dst, 0);
    };
    using V = std::vector<uint8_t>;
    EXPECT_EQ(blit({0, 0, 4, 1}, {0, 0, 4, 1}, kBlitPlain), (V{1, 2, 3, 4}));
    EXPECT_EQ(blit({0, 0, 4, 1}, {0, 0, 4, 1}, kBlitMirror), (V{4, 3, 2, 1}));
    EXPECT_EQ(blit({1, 0, 3, 1}, {1, 0, 3, 1}, kBlitMirror), (V{9, 3, 2, 9}));
    EXPECT_EQ(blit({0, 0, 4, 1}, {0, 0, 2, 1}, kBlitPlain), (V{1, 1, 2, 2}));
    EXPECT_EQ(blit({0, 0, 4, 1}, {0, 0, 2, 1}, kBlitMirror), (V{2, 2, 1, 1}));
    EXPECT_EQ(blit({1, 0, 3, 1}, {0, 0, 4, 1}, kBlitPlain), (V{9, 1, 3, 9}));
    EXPECT_EQ(blit({1, 0, 3, 1}, {0, 0, 4, 1}, kBlitMirror), (V{9, 4, 2, 9}));
    // Shifted across either edge of the destination.
    EXPECT_EQ(blit({-2, 0, 2, 1}, {0, 0, 4, 1}, kBlitPlain), (V{3, 4, 9, 9}));
    EXPECT_EQ(blit({2, 0, 6, 1}, {0, 0, 4, 1}, kBlitMirror), (V{9, 9, 4, 3}));
    // Source rectangle partly outside the source: those destination pixels stay.
    EXPECT_EQ(blit({0, 0, 4, 1}, {-2, 0, 2, 1}, kBlitPlain), (V{9, 9, 1, 2}));
    EXPECT_EQ(blit({0, 0, 4, 1}, {2, 0, 6, 1}, kBlitMirror), (V{9, 9, 4, 3}));
    EXPECT_EQ(blit({0, 0, 4, 1}, {-1, 0, 1, 1}, kBlitPlain), (V{9, 9, 1, 1}));
    // Wholly outside either surface.
    EXPECT_EQ(blit({4, 0, 8, 1}, {0, 0, 4, 1}, kBlitPlain), (V{9, 9, 9, 9}));
    EXPECT_EQ(blit({0, 0, 4, 1}, {0, 1, 4, 2}, kBlitPlain), (V{9, 9, 9, 9}));
}

TEST(BlitTest, ColourKeyNeedsBothTheFlagAndAKey) {
    auto src = Surface::Create(4, 1);
    const uint8_t row[] = {0, 5, 0, 6};
    for (int x = 0; x < 4; ++x) src->Set(x, 0, row[x]);
    auto dst = Surface::Create(4, 1);
    using V = std::vector<uint8_t>;
    auto blit = [&](unsigned flags) {
        dst->Fill(9);
        Blit(*dst, {0, 0, 4, 1}, *src, {0, 0, 4, 1}, flags);
        return RowOf(*dst, 0);
    };
    EXPECT_EQ(blit(kBlitKeySrc), (V{0, 5, 0, 6}));  // no key set
    src->SetColorKey(0);
    EXPECT_EQ(blit(kBlitPlain), (V{0, 5, 0, 6}));
    EXPECT_EQ(blit(kBlitKeySrc), (V{9, 5, 9, 6}));
    EXPECT_EQ(blit(kBlitKeySrc | kBlitMirror), (V{6, 9, 5, 9}));
    dst->Fill(9);
    Blit(*dst, {0, 0, 4, 1}, *src, {0, 0, 2, 1}, kBlitKeySrc);  // stretched
    EXPECT_EQ(RowOf(*dst, 0), (V{9, 9, 5, 5}));
}

TEST(BlitTest, EmptyOrInvertedRectanglesDrawNothing) {
    auto src = Pattern(4, 4);
    auto dst = Surface::Create(4, 4);
    const Rect good{0, 0, 4, 4};
    for (const Rect& bad : {Rect{0, 0, 0, 4}, Rect{0, 0, 4, 0}, Rect{3, 0, 1, 4}, Rect{0, 3, 4, 1}}) {
        EXPECT_FALSE(Blit(*dst, bad, *src, good));
        EXPECT_FALSE(Blit(*dst, good, *src, bad));
    }
    for (int y = 0; y < 4; ++y) EXPECT_EQ(RowOf(*dst, y), std::vector<uint8_t>(4, 0));
}

TEST(BlitTest, HugeRectanglesMapWithoutOverflow) {
    auto src = Pattern(4, 4);
    auto dst = Surface::Create(8, 8);
    // The whole int range onto 8 x 8 pixels near its middle: all of them sample src(2, 2).
    EXPECT_TRUE(Blit(*dst, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, *src, {0, 0, 4, 4}));
    for (int y = 0; y < 8; ++y) EXPECT_EQ(RowOf(*dst, y), std::vector<uint8_t>(8, src->Get(2, 2)));
    dst->Fill(0);
    EXPECT_TRUE(Blit(*dst, {0, 0, 8, 8}, *src, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kBlitMirror));
    EXPECT_TRUE(Blit(*dst, {INT_MAX - 2, 0, INT_MAX, 8}, *src, {0, 0, 4, 4}));
    EXPECT_TRUE(Blit(*dst, {INT_MIN, 0, INT_MIN + 3, 8}, *src, {0, 0, 4, 4}, kBlitMirror));
    for (int y = 0; y < 8; ++y) EXPECT_EQ(RowOf(*dst, y), std::vector<uint8_t>(8, 0));
}

// Random rectangles around and across every edge of both surfaces, all flag mixes,
// against the pixel-by-pixel definition.
TEST(BlitTest, MatchesTheDefinitionAtAndAcrossEveryEdge) {
    auto src = Pattern(7, 5);
    src->SetColorKey(src->Get(3, 2));
    auto dst = Surface::Create(9, 6);
    auto expected = Surface::Create(9, 6);
    std::mt19937 rng(12345);
    auto coord = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 20000; ++round) {
        Rect d{coord(-12, 12), coord(-10, 10), 0, 0};
        d.right = d.left + coord(1, 14);
        d.bottom = d.top + coord(1, 12);
        Rect s{coord(-9, 9), coord(-7, 7), 0, 0};
        if (round % 2 == 0) {  // half the time the same size, to cover the straight copy
            s.right = s.left + d.Width();
            s.bottom = s.top + d.Height();
        } else {
            s.right = s.left + coord(1, 12);
            s.bottom = s.top + coord(1, 10);
        }
        const unsigned flags = unsigned(round % 4);
        dst->Fill(200);
        expected->Fill(200);
        ASSERT_TRUE(Blit(*dst, d, *src, s, flags));
        ReferenceBlit(*expected, d, *src, s, flags);
        for (int y = 0; y < 6; ++y)
            ASSERT_EQ(RowOf(*dst, y), RowOf(*expected, y))
                << "row " << y << " dst {" << d.left << "," << d.top << "," << d.right << ","
                << d.bottom << "} src {" << s.left << "," << s.top << "," << s.right << ","
                << s.bottom << "} flags " << flags;
    }
}

}  // namespace
}  // namespace dw
