#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/surface.h"
#include "test_support.h"

namespace dw {
namespace {

std::string Picture(const Surface& s) { return testing_support::Picture(s, ".123456789:;"); }

TEST(SurfaceTest, SizesAreLimitedAccessIsBoundsCheckedAndBlitsClipMirrorStretchAndKey) {
    const std::tuple<int, int, bool> sizes[] = {{0, 5, false},    {5, -1, false},     {1, 1, true},
                                                {8192, 1, true},  {1, 8192, true},    {8193, 1, false},
                                                {1, 8193, false}, {4096, 4096, true}, {4097, 4096, false}};
    for (auto [w, h, ok] : sizes) EXPECT_EQ(Surface::Create(w, h) != nullptr, ok) << w << " x " << h;

    auto s = Surface::Create(3, 2);
    // Off the surface on each side, each next to a pixel that is on it.
    const std::pair<int, int> outside[] = {{-1, 1}, {1, -1}, {3, 0}, {0, 2}};
    for (auto [x, y] : outside) s->Set(x, y, 7);
    s->Set(2, 1, 7);
    EXPECT_EQ(Picture(*s), ".../..7");
    s->Fill(5);
    for (auto [x, y] : outside) EXPECT_EQ(s->Get(x, y), 0) << x << "," << y;
    EXPECT_EQ(Picture(*s), "555/555");

    // Source 3 x 2: "123/456", colour key 5 (used with kBlitKeySrc only).
    auto src = Surface::Create(3, 2);
    for (int i = 0; i < 6; ++i) src->Set(i % 3, i / 3, uint8_t(i + 1));
    src->SetColorKey(5);
    constexpr unsigned kKey = kBlitKeySrc, kMirror = kBlitMirror;
    struct Row {
        Rect dst, src;
        unsigned flags;
        const char* want;  // destination 4 x 3
    };
    const Row rows[] = {
        {{0, 0, 3, 2}, {0, 0, 3, 2}, 0, "123./456./...."},
        {{1, 1, 4, 3}, {0, 0, 3, 2}, 0, "..../.123/.456"},
        {{-1, -1, 2, 1}, {0, 0, 3, 2}, 0, "56../..../...."},
        {{2, 0, 5, 1}, {0, 0, 3, 1}, 0, "..12/..../...."},
        {{0, 2, 3, 4}, {0, 0, 3, 2}, 0, "..../..../123."},
        // Source rectangles reaching outside the source leave those pixels alone.
        {{0, 0, 3, 2}, {-1, -1, 2, 1}, 0, "..../.12./...."},
        {{0, 0, 3, 1}, {-1, 1, 2, 2}, 0, ".45./..../...."},
        {{0, 0, 3, 2}, {1, 1, 4, 3}, 0, "56../..../...."},
        {{0, 0, 1, 3}, {1, -1, 2, 2}, 0, "..../2.../5..."},
        {{0, 0, 3, 2}, {0, 0, 3, 2}, kMirror, "321./654./...."},
        {{0, 0, 3, 1}, {1, 0, 4, 1}, kMirror, ".32./..../...."},
        {{-1, 0, 2, 1}, {0, 0, 3, 1}, kMirror, "21../..../...."},
        {{2, 1, 5, 2}, {0, 1, 3, 2}, kMirror, "..../..65/...."},
        // Stretched and shrunk, nearest neighbour, also across the edges.
        {{0, 0, 4, 2}, {0, 0, 2, 1}, 0, "1122/1122/...."},
        {{0, 0, 4, 3}, {0, 0, 3, 2}, 0, "1123/1123/4456"},
        {{0, 0, 2, 1}, {0, 0, 3, 2}, 0, "12../..../...."},
        {{0, 0, 4, 1}, {0, 0, 2, 1}, kMirror, "2211/..../...."},
        {{0, 0, 3, 1}, {0, 0, 2, 1}, kMirror, "221./..../...."},
        {{-2, 0, 2, 2}, {0, 0, 2, 1}, 0, "22../22../...."},
        {{2, -1, 6, 3}, {0, 0, 2, 2}, 0, "..11/..44/..44"},
        {{0, 0, 4, 1}, {-1, 0, 1, 1}, 0, "..11/..../...."},
        {{0, 0, 4, 1}, {2, 0, 4, 1}, kMirror, "..33/..../...."},
        {{0, 0, 2, 3}, {0, 1, 1, 4}, 0, "44../..../...."},
        // The key: only with the flag, on every path.
        {{0, 0, 3, 2}, {0, 0, 3, 2}, kKey, "123./4.6./...."},
        {{0, 0, 3, 2}, {0, 0, 3, 2}, kKey | kMirror, "321./6.4./...."},
        {{0, 0, 4, 1}, {0, 1, 2, 2}, kKey, "44../..../...."},
        // Wholly outside the destination or the source.
        {{4, 0, 7, 2}, {0, 0, 3, 2}, 0, "..../..../...."},
        {{0, -2, 3, 0}, {0, 0, 3, 2}, 0, "..../..../...."},
        {{0, 0, 3, 2}, {3, 0, 6, 2}, 0, "..../..../...."},
        {{0, 0, 3, 2}, {0, 2, 3, 4}, kMirror, "..../..../...."},
    };
    auto dst = Surface::Create(4, 3);
    for (const Row& r : rows) {
        dst->Fill(0);
        EXPECT_TRUE(Blit(*dst, r.dst, *src, r.src, r.flags));
        EXPECT_EQ(Picture(*dst), r.want) << "row " << &r - rows;
    }
    src->ClearColorKey();
    dst->Fill(0);
    Blit(*dst, {0, 0, 3, 2}, *src, {0, 0, 3, 2}, kKey);
    EXPECT_EQ(Picture(*dst), "123./456./....");

    // Empty or inverted rectangles draw nothing.
    dst->Fill(0);
    for (const Rect& bad : {Rect{0, 0, 0, 2}, Rect{0, 0, 3, 0}, Rect{3, 0, 1, 2}, Rect{0, 2, 3, 1}}) {
        EXPECT_FALSE(Blit(*dst, bad, *src, {0, 0, 3, 2}));
        EXPECT_FALSE(Blit(*dst, {0, 0, 3, 2}, *src, bad));
    }
    EXPECT_EQ(Picture(*dst), "..../..../....");

    // The whole int range onto the pixels near its middle: all of them sample the middle of
    // the source, and nothing overflows on the way.
    dst = Surface::Create(3, 2);
    EXPECT_TRUE(Blit(*dst, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, *src, {0, 0, 2, 2}));
    EXPECT_EQ(Picture(*dst), "555/555");
    dst->Fill(0);
    EXPECT_TRUE(Blit(*dst, {0, 0, 3, 2}, *src, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kBlitMirror));
    EXPECT_TRUE(Blit(*dst, {INT_MAX - 2, 0, INT_MAX, 2}, *src, {0, 0, 3, 2}));
    EXPECT_TRUE(Blit(*dst, {INT_MIN, 0, INT_MIN + 3, 2}, *src, {0, 0, 3, 2}));
    EXPECT_EQ(Picture(*dst), ".../...");
}

}  // namespace
}  // namespace dw
