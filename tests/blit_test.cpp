#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/surface.h"
#include "test_support.h"

namespace dw {
namespace {

std::string Picture(const Surface& s) { return testing_support::Picture(s, ".123456789:;"); }

TEST(SurfaceTest, BlitsClipMirrorStretchAndKey) {
    // Source 3 x 2: "123/456", colour key 5 (used with kBlitKeySrc only).
    auto src = Surface::Create(3, 2);
    for (int i = 0; i < 6; ++i) src->Set(i % 3, i / 3, uint8_t(i + 1));
    src->SetColorKey(5);
    for (const auto& [x, y] : {std::pair{3, 0}, std::pair{0, 2}, std::pair{-1, 1}, std::pair{1, -1}})
        EXPECT_EQ(src->Get(x, y), 0) << x << ", " << y;  // reads outside give 0
    // No surface without pixels, with a side past 8192, or with more than 4096 x 4096 pixels.
    for (const auto& [w, h] :
         {std::pair{0, 1}, std::pair{1, 0}, std::pair{8193, 1}, std::pair{1, 8193}, std::pair{4097, 4096}})
        EXPECT_EQ(Surface::Create(w, h), nullptr) << w << " x " << h;
    EXPECT_NE(Surface::Create(4096, 4096), nullptr);
    constexpr unsigned kKey = kBlitKeySrc, kMirror = kBlitMirror;
    const struct {
        Rect dst, src;
        unsigned flags;
        const char* want;  // destination 4 x 3
    } rows[] = {
        {.dst = {0, 0, 3, 2}, .src = {0, 0, 3, 2}, .flags = 0, .want = "123./456./...."},
        {.dst = {-1, -1, 2, 1}, .src = {0, 0, 3, 2}, .flags = 0, .want = "56../..../...."},
        {.dst = {2, 0, 5, 1}, .src = {0, 0, 3, 1}, .flags = 0, .want = "..12/..../...."},
        {.dst = {0, 2, 3, 4}, .src = {0, 0, 3, 2}, .flags = 0, .want = "..../..../123."},
        // Source rectangles reaching outside the source leave those pixels alone.
        {.dst = {0, 0, 3, 2}, .src = {-1, -1, 2, 1}, .flags = 0, .want = "..../.12./...."},
        {.dst = {0, 0, 3, 2}, .src = {1, 1, 4, 3}, .flags = 0, .want = "56../..../...."},
        {.dst = {0, 0, 1, 3}, .src = {1, -1, 2, 2}, .flags = 0, .want = "..../2.../5..."},
        {.dst = {0, 0, 3, 2}, .src = {0, 0, 3, 2}, .flags = kMirror, .want = "321./654./...."},
        {.dst = {0, 0, 3, 1}, .src = {1, 0, 4, 1}, .flags = kMirror, .want = ".32./..../...."},
        {.dst = {-1, 0, 2, 1}, .src = {0, 0, 3, 1}, .flags = kMirror, .want = "21../..../...."},
        {.dst = {2, 1, 5, 2}, .src = {0, 1, 3, 2}, .flags = kMirror, .want = "..../..65/...."},
        // Stretched and shrunk, nearest neighbour, also across the edges.
        {.dst = {0, 0, 4, 2}, .src = {0, 0, 2, 1}, .flags = 0, .want = "1122/1122/...."},
        {.dst = {0, 0, 4, 3}, .src = {0, 0, 3, 2}, .flags = 0, .want = "1123/1123/4456"},
        {.dst = {0, 0, 2, 1}, .src = {0, 0, 3, 2}, .flags = 0, .want = "12../..../...."},
        {.dst = {0, 0, 4, 1}, .src = {0, 0, 2, 1}, .flags = kMirror, .want = "2211/..../...."},
        {.dst = {0, 0, 3, 1}, .src = {0, 0, 2, 1}, .flags = kMirror, .want = "221./..../...."},
        {.dst = {-2, 0, 2, 2}, .src = {0, 0, 2, 1}, .flags = 0, .want = "22../22../...."},
        {.dst = {2, -1, 6, 3}, .src = {0, 0, 2, 2}, .flags = 0, .want = "..11/..44/..44"},
        {.dst = {0, 0, 4, 1}, .src = {-1, 0, 1, 1}, .flags = 0, .want = "..11/..../...."},
        {.dst = {0, 0, 4, 1}, .src = {2, 0, 4, 1}, .flags = kMirror, .want = "..33/..../...."},
        {.dst = {0, 0, 2, 3}, .src = {0, 1, 1, 4}, .flags = 0, .want = "44../..../...."},
        // The key: only with the flag, on every path.
        {.dst = {0, 0, 3, 2}, .src = {0, 0, 3, 2}, .flags = kKey, .want = "123./4.6./...."},
        {.dst = {0, 0, 3, 2}, .src = {0, 0, 3, 2}, .flags = kKey | kMirror, .want = "321./6.4./...."},
        {.dst = {0, 0, 4, 1}, .src = {0, 1, 2, 2}, .flags = kKey, .want = "44../..../...."},
        // Wholly outside the destination or the source.
        {.dst = {4, 0, 7, 2}, .src = {0, 0, 3, 2}, .flags = 0, .want = "..../..../...."},
        {.dst = {0, -2, 3, 0}, .src = {0, 0, 3, 2}, .flags = 0, .want = "..../..../...."},
        {.dst = {0, 0, 3, 2}, .src = {3, 0, 6, 2}, .flags = 0, .want = "..../..../...."},
        {.dst = {0, 0, 3, 2}, .src = {0, 2, 3, 4}, .flags = kMirror, .want = "..../..../...."},
        // The whole int range: the pixels near its middle all sample the middle of the source,
        // and nothing overflows on the way.
        {.dst = {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, .src = {0, 0, 2, 2}, .flags = 0, .want = "5555/5555/5555"},
        {.dst = {0, 0, 3, 2}, .src = {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, .flags = kMirror, .want = "..../..../...."},
        {.dst = {INT_MAX - 2, 0, INT_MAX, 2}, .src = {0, 0, 3, 2}, .flags = 0, .want = "..../..../...."},
        {.dst = {INT_MIN, 0, INT_MIN + 3, 2}, .src = {0, 0, 3, 2}, .flags = 0, .want = "..../..../...."},
    };
    auto dst = Surface::Create(4, 3);
    for (const auto& r : rows) {
        dst->Fill(0);
        EXPECT_TRUE(Blit(*dst, r.dst, *src, r.src, r.flags));
        EXPECT_EQ(Picture(*dst), r.want) << "row " << &r - rows;
    }
    // Empty or inverted rectangles draw nothing.
    dst->Fill(0);
    const Rect bad[] = {
        {0, 0, 0, 2},
        {0, 2, 3, 1},
    };
    for (const Rect& r : bad) {
        EXPECT_FALSE(Blit(*dst, r, *src, {0, 0, 3, 2}));
        EXPECT_FALSE(Blit(*dst, {0, 0, 3, 2}, *src, r));
    }
    EXPECT_EQ(Picture(*dst), "..../..../....");
}

}  // namespace
}  // namespace dw
