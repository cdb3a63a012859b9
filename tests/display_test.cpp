#include <gtest/gtest.h>

#include <SDL.h>

#include <array>
#include <ctime>

#include "platform/display.h"

namespace dw {
namespace {

TEST(DisplayTest, OpensFlipsAndClosesTwice) {
    const uint32_t videoBefore = SDL_WasInit(SDL_INIT_VIDEO);
    for (bool windowed : {true, false}) {
        Display display;
        EXPECT_FALSE(display.IsOpen());
        display.Flip();  // closed: nothing happens
        ASSERT_TRUE(display.Open("test", windowed));
        ASSERT_TRUE(display.BackBuffer() && display.Window());
        EXPECT_EQ(display.BackBuffer()->Bounds(), (Rect{0, 0, kScreenWidth, kScreenHeight}));

        ColorTable palette = display.Palette();
        palette[7] = {1, 2, 3};
        display.SetPalette(palette);
        EXPECT_EQ(display.Palette()[7], (PaletteEntry{1, 2, 3}));

        display.BackBuffer()->Fill(7);
        display.Flip();
        display.Flip();
        EXPECT_EQ(display.BackBuffer()->Get(400, 300), 7);  // kept between frames

        display.Close();
        EXPECT_TRUE(!display.IsOpen() && display.BackBuffer() == nullptr && display.Window() == nullptr);
        display.Close();
        display.Flip();
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), videoBefore);  // every Open's subsystem was released
}

// The colour the window shows at (x, y) after a Flip; black outside the window.
PaletteEntry Shown(SDL_Window* window, int x, int y) {
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    PaletteEntry c;
    Uint32 pixel = 0;
    if (shown == nullptr || x < 0 || y < 0 || x >= shown->w || y >= shown->h) return c;
    SDL_memcpy(&pixel, static_cast<const uint8_t*>(shown->pixels) + y * shown->pitch + x * 4, 4);
    SDL_GetRGB(pixel, shown->format, &c.r, &c.g, &c.b);
    return c;
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

TEST(DisplayTest, ConvertsShowsTheWholeFrameCentredInAnyWindowAndPacesFrames) {
    // A grey frame (1) with its first and last pixels in colours of their own (2, 3).
    ColorTable palette{{{}, {9, 9, 9}, {50, 200, 77}, {200, 80, 77}}};
    palette[255] = {0xFF, 0x80, 0x01};
    // Each pixel through the palette, rows at the pitch, the padding kept.
    auto src = Surface::Create(3, 2);
    for (auto [x, y, i] : {std::array{1, 0, 2}, {2, 0, 255}, {0, 1, 255}, {2, 1, 2}}) src->Set(x, y, uint8_t(i));
    constexpr uint32_t kPad = 0xDEADBEEF;
    std::vector<uint32_t> out(4 * 2, kPad);  // pitch of four pixels
    ConvertToArgb(*src, palette, out.data(), 16);
    EXPECT_EQ(out, (std::vector<uint32_t>{0xFF000000, 0xFF32C84D, 0xFFFF8001, kPad,  //
                                          0xFFFF8001, 0xFF000000, 0xFF32C84D, kPad}));
    // A pitch too small for a row writes nothing.
    std::vector<uint32_t> small(8, kPad);
    ConvertToArgb(*src, palette, small.data(), 8);
    EXPECT_EQ(small, std::vector<uint32_t>(8, kPad));

    EXPECT_EQ(FitFrame(1080, 1920), (Rect{0, 555, 1080, 1365}));
    EXPECT_TRUE(FitFrame(0, 600).Empty());

    Display display;
    ASSERT_TRUE(display.Open("test", true));
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "dummy") != 0)
        GTEST_SKIP() << "reads the dummy window, which has no vsync";
    display.BackBuffer()->Fill(1);
    display.BackBuffer()->Set(0, 0, 2);
    display.BackBuffer()->Set(799, 599, 3);
    display.SetPalette(palette);
    for (const Rect& f : {Rect{100, 0, 900, 600}, Rect{0, 150, 1600, 1350}, Rect{0, 0, 800, 600}}) {
        SCOPED_TRACE(f.right);
        SDL_Window* window = display.Window();
        SDL_SetWindowSize(window, f.right + f.left, f.bottom + f.top);
        display.Flip();
        EXPECT_TRUE(Shown(window, f.left, f.top) == palette[2] &&
                    Shown(window, f.right - 1, f.bottom - 1) == palette[3]);
        EXPECT_EQ(Shown(window, (f.left + f.right) / 2, (f.top + f.bottom) / 2), palette[1]);
        // Black bars, or nothing, round the frame.
        for (auto [x, y] :
             {std::pair{f.left - 1, f.top}, {f.left, f.top - 1}, {f.right, f.bottom - 1}, {f.right - 1, f.bottom}})
            EXPECT_EQ(Shown(window, x, y), PaletteEntry{}) << x << "," << y;
    }

    constexpr int kFrames = 6;
    Display::SetPacing(false);
    double work = ThreadSeconds();
    for (int i = 0; i < kFrames; ++i) display.Flip();
    work = ThreadSeconds() - work;

    Display::SetPacing(true);
    display.Flip();
    double busy = ThreadSeconds();
    const uint64_t start = SDL_GetPerformanceCounter();
    for (int i = 0; i < kFrames; ++i) display.Flip();
    const double seconds = double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
    busy = ThreadSeconds() - busy;
    // The dummy driver has no vsync; paced frames are at least 1/60 s apart.
    EXPECT_GE(seconds, kFrames / 60.0 - 0.001);
    // The wait between them sleeps: little more time on the processor than the frames' own work.
    EXPECT_LT(busy - work, seconds * 0.2);
}

}  // namespace
}  // namespace dw
