#include "platform/display.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace dw {

namespace {
std::atomic<bool> gPacing{true};

// True when the renderer draws through OpenGL rasterised on the CPU: Mesa's llvmpipe,
// softpipe or swrast. Its scaled texture costs far more than SDL's own software blit.
bool OnSoftwareGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return false;
    constexpr unsigned kGlRenderer = 0x1F01;
    const auto* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    if (name == nullptr) return false;
    for (const char* cpu : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (std::strstr(name, cpu) != nullptr) return true;
    return false;
}

// The desktop of the display the window would open on; 800 x 600 when unknown.
SDL_Rect DesktopBounds() {
    SDL_Rect bounds{0, 0, kScreenWidth, kScreenHeight};
    if (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0)
        bounds = {0, 0, kScreenWidth, kScreenHeight};
    return bounds;
}

// Sleeps until the performance counter reaches `due`, spinning only the last fifth of a
// millisecond that a sleep cannot hit.
void WaitUntil(uint64_t due) {
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    for (uint64_t now = SDL_GetPerformanceCounter(); now < due; now = SDL_GetPerformanceCounter()) {
        const uint64_t micros = (due - now) * 1000000 / frequency;
        if (micros > 200) std::this_thread::sleep_for(std::chrono::microseconds(micros - 150));
    }
}
}  // namespace

Rect FitFrame(int outputWidth, int outputHeight) {
    if (outputWidth <= 0 || outputHeight <= 0) return Rect{};
    int width = outputWidth, height = outputHeight;
    if (int64_t(outputWidth) * kScreenHeight > int64_t(outputHeight) * kScreenWidth)
        width = int(int64_t(outputHeight) * kScreenWidth / kScreenHeight);
    else
        height = int(int64_t(outputWidth) * kScreenHeight / kScreenWidth);
    const int left = (outputWidth - width) / 2, top = (outputHeight - height) / 2;
    return Rect{left, top, left + width, top + height};
}

void ConvertToArgb(const Surface& src, const ColorTable& palette, uint32_t* dst, int dstPitch) {
    const int width = src.Width();
    if (dst == nullptr || dstPitch < width * 4) return;
    uint32_t lut[256];
    for (size_t i = 0; i < 256; ++i)
        lut[i] = 0xFF000000u | uint32_t(palette[i].r) << 16 | uint32_t(palette[i].g) << 8 | palette[i].b;
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
    if (windowed) {
        window_ =
            SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth, kScreenHeight, 0);
    } else {
        // Made as large as the desktop: without a window manager nobody resizes the window
        // to full screen, and it would keep whatever size it was made with.
        const SDL_Rect desktop = DesktopBounds();
        window_ = SDL_CreateWindow(title, desktop.x, desktop.y, desktop.w, desktop.h,
                                   SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    }
    if (window_ != nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (renderer_ != nullptr && OnSoftwareGl(renderer_)) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
        if (renderer_ == nullptr) {
            // Straight to the window through X11 and the like: SDL would otherwise put the
            // window's pixels through an OpenGL texture again.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        }
    }
    if (renderer_ != nullptr) {
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // No alpha channel and no blending: the software renderer then copies rows as they
        // are instead of blending every pixel. The conversion's opaque alpha is ignored.
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                     kScreenHeight);
        if (texture_ != nullptr) SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    }
    if (texture_ != nullptr) back_ = Surface::Create(kScreenWidth, kScreenHeight);
    if (back_ == nullptr) {
        std::fprintf(stderr, "display: cannot open: %s\n", SDL_GetError());
        Close();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }

    // The software renderer's "vsync" does not wait for anything.
    SDL_RendererInfo info{};
    vsyncCapable_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
                    (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    vsyncOn_ = vsyncCapable_;
    pacer_ = FramePacer(SDL_GetPerformanceFrequency());
    if (!windowed) SDL_ShowCursor(SDL_DISABLE);
    return true;
}

void Display::Close() {
    const bool wasOpen = IsOpen();
    if (window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0) SDL_ShowCursor(SDL_ENABLE);
    back_.reset();
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    vsyncCapable_ = false;
    vsyncOn_ = false;
    if (wasOpen) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Display::SetPalette(const ColorTable& palette) { palette_ = palette; }

void Display::SetPacing(bool on) { gPacing = on; }
bool Display::Pacing() { return gPacing; }

void Display::Flip(int frameWaitMs) {
    if (!IsOpen()) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
        ConvertToArgb(*back_, palette_, static_cast<uint32_t*>(pixels), pitch);
        SDL_UnlockTexture(texture_);
    }
    // The window's real size is asked every frame, so a resize, a window manager that
    // refuses full screen or a move to another monitor never crops or stretches the frame.
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) {
        outputWidth = kScreenWidth;
        outputHeight = kScreenHeight;
    }
    const Rect fit = FitFrame(outputWidth, outputHeight);
    const SDL_Rect target{fit.left, fit.top, fit.Width(), fit.Height()};
    SDL_RenderSetViewport(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);

    if (Pacing()) {
        // Asked every frame: the window may have moved to another monitor.
        SDL_DisplayMode mode{};
        const int refreshHz =
            SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window_), &mode) == 0 ? mode.refresh_rate : 0;
        const FramePacer::Plan plan = pacer_.Next(SDL_GetPerformanceCounter(), vsyncCapable_, refreshHz, frameWaitMs);
        if (plan.vsync != vsyncOn_) {
            if (SDL_RenderSetVSync(renderer_, plan.vsync ? 1 : 0) == 0)
                vsyncOn_ = plan.vsync;
            else
                vsyncCapable_ = false;  // stuck as it is: the schedule paces from the next frame on
        }
        WaitUntil(plan.presentAt);
    }
    SDL_RenderPresent(renderer_);
}

}  // namespace dw
