#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

#include "platform/display.h"

namespace dw {
namespace {

TEST(ConvertToArgbTest, MapsEveryPixelThroughThePaletteAndKeepsThePadding) {
    ColorTable palette{};
    palette[0] = {0, 0, 0};
    palette[1] = {0x12, 0x34, 0x56};
    palette[255] = {0xFF, 0x80, 0x01};
    auto src = Surface::Create(3, 2);
    src->Set(1, 0, 1);
    src->Set(2, 0, 255);
    src->Set(0, 1, 255);
    src->Set(2, 1, 1);
    constexpr uint32_t kPad = 0xDEADBEEF;
    std::vector<uint32_t> out(4 * 2, kPad);  // pitch of four pixels
    ConvertToArgb(*src, palette, out.data(), 16);
    EXPECT_EQ(out, (std::vector<uint32_t>{0xFF000000, 0xFF123456, 0xFFFF8001, kPad,  //
                                          0xFFFF8001, 0xFF000000, 0xFF123456, kPad}));
    // A pitch too small for a row writes nothing.
    std::vector<uint32_t> small(8, kPad);
    ConvertToArgb(*src, palette, small.data(), 8);
    EXPECT_EQ(small, std::vector<uint32_t>(8, kPad));
}

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        Display::SetPacing(false);
    }
    void TearDown() override { Display::SetPacing(true); }
};

TEST_F(DisplayTest, OpensFlipsAndClosesTwice) {
    const uint32_t videoBefore = SDL_WasInit(SDL_INIT_VIDEO);
    for (bool windowed : {true, false}) {
        Display display;
        EXPECT_FALSE(display.IsOpen());
        display.Flip();  // closed: nothing happens
        ASSERT_TRUE(display.Open("test", windowed));
        ASSERT_NE(display.BackBuffer(), nullptr);
        EXPECT_EQ(display.BackBuffer()->Width(), kScreenWidth);
        EXPECT_EQ(display.BackBuffer()->Height(), kScreenHeight);
        EXPECT_NE(display.Window(), nullptr);

        const uint32_t version = display.PaletteVersion();
        ColorTable palette = display.Palette();
        display.SetPalette(palette);
        EXPECT_EQ(display.PaletteVersion(), version);
        palette[7] = {1, 2, 3};
        display.SetPalette(palette);
        EXPECT_GT(display.PaletteVersion(), version);
        EXPECT_EQ(display.Palette()[7], (PaletteEntry{1, 2, 3}));

        display.BackBuffer()->Fill(7);
        display.Flip();
        display.Flip();
        EXPECT_EQ(display.BackBuffer()->Get(400, 300), 7);  // kept between frames

        display.Close();
        EXPECT_FALSE(display.IsOpen());
        EXPECT_EQ(display.BackBuffer(), nullptr);
        EXPECT_EQ(display.Window(), nullptr);
        display.Close();
        display.Flip();
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), videoBefore);  // every Open's subsystem was released
}

TEST_F(DisplayTest, PacesFramesWithoutVsync) {
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "dummy") != 0) GTEST_SKIP() << "may have vsync";
    Display::SetPacing(true);
    display.Flip();
    const uint64_t start = SDL_GetPerformanceCounter();
    display.Flip();
    display.Flip();
    const double seconds = double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
    // The dummy driver has no vsync; two paced frames take at least 2/60 s.
    EXPECT_GE(seconds, 2.0 / 60.0 - 0.001);
}

}  // namespace
}  // namespace dw
