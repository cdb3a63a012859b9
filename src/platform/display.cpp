#include "platform/display.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>

namespace dw {

namespace {
std::atomic<bool> gPacing{true};
}

void ConvertToArgb(const Surface& src, const ColorTable& palette, uint32_t* dst, int dstPitch) {
    const int width = src.Width();
    if (dst == nullptr || dstPitch < width * 4) return;
    uint32_t lut[256];
    for (size_t i = 0; i < 256; ++i)
        lut[i] = 0xFF000000u | uint32_t(palette[i].r) << 16 | uint32_t(palette[i].g) << 8 |
                 palette[i].b;
    auto* out = reinterpret_cast<uint8_t*>(dst);
    for (int y = 0; y < src.Height(); ++y, out += dstPitch) {
        const uint8_t* in = src.Row(y);
        auto* row = reinterpret_cast<uint32_t*>(out);
        for (int x = 0; x < width; ++x) row[x] = lut[in[x]];
    }
}

Display::~Display() { Close(); }

bool Display::Open(const char* title, bool windowed) {
    if (IsOpen()) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "display: SDL video: %s\n", SDL_GetError());
        return false;
    }
    const Uint32 windowFlags = windowed ? 0u : Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth, kScreenHeight, windowFlags);
    if (window_ != nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1,
                                       SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer_ != nullptr && SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight) == 0) {
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
    }
    if (texture_ != nullptr) back_ = Surface::Create(kScreenWidth, kScreenHeight);
    if (back_ == nullptr) {
        std::fprintf(stderr, "display: cannot open: %s\n", SDL_GetError());
        Close();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }

    // The software renderer's "vsync" does not wait for anything: pace those frames ourselves.
    SDL_RendererInfo info{};
    vsync_ = SDL_GetRendererInfo(renderer_, &info) == 0 &&
             (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
             (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    if (!windowed) SDL_ShowCursor(SDL_DISABLE);
    lastPresent_ = 0;
    return true;
}

void Display::Close() {
    const bool wasOpen = IsOpen();
    if (window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0)
        SDL_ShowCursor(SDL_ENABLE);
    back_.reset();
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    vsync_ = false;
    if (wasOpen) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Display::SetPalette(const ColorTable& palette) {
    if (palette == palette_) return;
    palette_ = palette;
    ++paletteVersion_;
}

void Display::SetPacing(bool on) { gPacing = on; }
bool Display::Pacing() { return gPacing; }

void Display::Flip() {
    if (!IsOpen()) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
        ConvertToArgb(*back_, palette_, static_cast<uint32_t*>(pixels), pitch);
        SDL_UnlockTexture(texture_);
    }
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);

    if (!vsync_ && Pacing() && lastPresent_ != 0) {
        // Keep presents at least 1/60 s apart: sleep the whole milliseconds, spin the rest.
        const uint64_t frequency = SDL_GetPerformanceFrequency();
        const uint64_t due = lastPresent_ + frequency / 60;
        for (uint64_t now = SDL_GetPerformanceCounter(); now < due; now = SDL_GetPerformanceCounter()) {
            const uint64_t ms = (due - now) * 1000 / frequency;
            if (ms > 1) SDL_Delay(Uint32(ms - 1));
        }
    }
    SDL_RenderPresent(renderer_);
    lastPresent_ = SDL_GetPerformanceCounter();
}

}  // namespace dw
