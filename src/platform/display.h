// The screen: an 800 x 600 8-bit back buffer with a 256-colour palette, presented
// through an SDL2 streaming texture.
#pragma once

#include <cstdint>
#include <memory>

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
    // Grows every time the palette changes; colour caches compare it.
    uint32_t PaletteVersion() const { return paletteVersion_; }

    // Presents the back buffer as the whole frame, fitted to the window's size at this
    // moment (with vsync where the renderer has it, otherwise paced to 60 frames a
    // second). Does nothing while closed.
    void Flip();

    // Frame pacing when no vsync is available; tests switch it off.
    static void SetPacing(bool on);
    static bool Pacing();

    SDL_Window* Window() const { return window_; }

private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::unique_ptr<Surface> back_;
    ColorTable palette_{};
    uint32_t paletteVersion_ = 1;
    bool vsync_ = false;
    uint64_t lastPresent_ = 0;
};

}  // namespace dw
