#include <gtest/gtest.h>

#include <SDL.h>

#include <ctime>

#include "platform/display.h"

namespace dw {
namespace {

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

TEST(DisplayTest, ShowsTheWholeFrameCentredInAnyWindowPacesFramesAndClosesTwice) {
    const uint32_t videoBefore = SDL_WasInit(SDL_INIT_VIDEO);
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "dummy") != 0)
        GTEST_SKIP() << "reads the dummy window, which has no vsync";
    // A grey frame (1) with its first and last pixels in colours of their own (2, 3).
    ColorTable palette{};
    palette[1] = {9, 9, 9};
    palette[2] = {50, 200, 77};
    palette[3] = {200, 80, 1};
    display.BackBuffer()->Fill(1);
    display.BackBuffer()->Set(0, 0, 2);
    display.BackBuffer()->Set(799, 599, 3);
    display.SetPalette(palette);
    // Where the frame goes in windows wider than 4:3, taller, and just so.
    const Rect frames[] = {
        {100, 0, 900, 600},
        {0, 150, 1600, 1350},
        {0, 0, 800, 600},
    };
    for (const Rect& f : frames) {
        SCOPED_TRACE(f.right);
        SDL_Window* window = display.Window();
        SDL_SetWindowSize(window, f.right + f.left, f.bottom + f.top);
        display.Flip(0);
        EXPECT_EQ(Shown(window, f.left, f.top), palette[2]);
        EXPECT_EQ(Shown(window, f.right - 1, f.bottom - 1), palette[3]);
        EXPECT_EQ(Shown(window, (f.left + f.right) / 2, (f.top + f.bottom) / 2), palette[1]);
        // Black bars, or nothing, round the frame.
        EXPECT_EQ(Shown(window, f.left - 1, f.top), PaletteEntry{});
        EXPECT_EQ(Shown(window, f.left, f.top - 1), PaletteEntry{});
        EXPECT_EQ(Shown(window, f.right, f.bottom - 1), PaletteEntry{});
        EXPECT_EQ(Shown(window, f.right - 1, f.bottom), PaletteEntry{});
    }

    constexpr int kFrames = 6;
    Display::SetPacing(false);
    double work = ThreadSeconds();
    for (int i = 0; i < kFrames; ++i) display.Flip(0);
    work = ThreadSeconds() - work;

    // After a pause longer than the stall limit the next frame starts a new schedule: from
    // it on, each frame is due 1/60 s after the one before.
    Display::SetPacing(true);
    SDL_Delay(100);
    double busy = ThreadSeconds();
    const uint64_t start = SDL_GetPerformanceCounter();
    for (int i = 0; i < kFrames; ++i) display.Flip(0);
    const double seconds = double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
    busy = ThreadSeconds() - busy;
    // The dummy driver has no vsync; paced frames are at least 1/60 s apart.
    EXPECT_GE(seconds, (kFrames - 1) / 60.0 - 0.001);
    // The wait between them sleeps: a spinning wait would hold the processor all along, while
    // a sleeping one adds little to the frames' own work, however busy the machine.
    EXPECT_LT(busy - work, seconds * 0.5);
    EXPECT_EQ(display.BackBuffer()->Get(799, 599), 3);  // kept through all those frames

    display.Close();
    display.Close();
    EXPECT_EQ(display.BackBuffer(), nullptr);
    EXPECT_EQ(display.Window(), nullptr);
    display.Flip(0);                                      // closed: nothing happens
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), videoBefore);  // every Open's subsystem was released
}

}  // namespace
}  // namespace dw
