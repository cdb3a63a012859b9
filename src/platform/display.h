// The screen: an 800 x 600 8-bit back buffer with a 256-colour palette, presented
// through an SDL2 streaming texture.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/frame_pacer.h"
#include "platform/geometry.h"
#include "platform/surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace dw {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Where the frame goes on an output of the given size in pixels: as large as fits with
// its shape kept, centred. Empty for an output with no area.
Rect FitFrame(int outputWidth, int outputHeight);

// Converts an 8-bit picture through a palette into 32-bit ARGB8888 pixels.
// dstPitch is in bytes. Used by Flip; kept free for the benchmark.
void ConvertToArgb(const Surface& src, const ColorTable& palette, uint32_t* dst, int dstPitch);

class Display {
public:
    Display() = default;
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // Opens the window (desktop full screen unless windowed), renderer and texture,
    // and makes the back buffer. Returns false and leaves nothing open on failure.
    // Where the only OpenGL is a CPU rasteriser, SDL's own software renderer is used:
    // the same picture for a fraction of the work.
    bool Open(const char* title, bool windowed = false);
    void Close();
    bool IsOpen() const { return back_ != nullptr; }

    // Absent while the display is closed.
    Surface* BackBuffer() { return back_.get(); }

    const ColorTable& Palette() const { return palette_; }
    void SetPalette(const ColorTable& palette);

    // Presents the back buffer as the whole frame, fitted to the window's size at this
    // moment, 60 frames a second plus `frameWaitMs` milliseconds a frame: through vsync
    // where the display refreshes at that rate, otherwise on the game's own schedule.
    // Does nothing while closed.
    void Flip(int frameWaitMs);

    // Frame pacing; tests switch it off to run frames as fast as they come.
    static void SetPacing(bool on);
    static bool Pacing();

    SDL_Window* Window() const { return window_; }

private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::unique_ptr<Surface> back_;
    ColorTable palette_{};
    FramePacer pacer_{1};
    bool vsyncCapable_ = false;  // the renderer can wait for the display's refresh
    bool vsyncOn_ = false;
};

}  // namespace dw
