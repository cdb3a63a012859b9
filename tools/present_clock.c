/* Preloaded into the game on Xvfb: appends the wall-clock time of every present, in
 * nanoseconds, one a line, to the file DW_PRESENT_LOG. With DW_MONITOR_HZ set it also stands
 * in for a monitor with vsync refreshing that many times a second: the renderer reports
 * vsync, the display modes report the rate and every present waits for the next refresh. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int monitor_hz(void) {
    const char* s = getenv("DW_MONITOR_HZ");
    return s ? atoi(s) : 0;
}

#define REAL(name, type)           \
    static __typeof__(type)* real; \
    if (!real) real = (__typeof__(type)*)dlsym(RTLD_NEXT, name)

int SDL_GetRendererInfo(SDL_Renderer* r, SDL_RendererInfo* info) {
    REAL("SDL_GetRendererInfo", SDL_GetRendererInfo);
    const int rc = real(r, info);
    if (rc == 0 && monitor_hz() > 0) {
        info->flags &= ~(Uint32)SDL_RENDERER_SOFTWARE;
        info->flags |= SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC;
    }
    return rc;
}

int SDL_GetCurrentDisplayMode(int i, SDL_DisplayMode* m) {
    REAL("SDL_GetCurrentDisplayMode", SDL_GetCurrentDisplayMode);
    const int rc = real(i, m);
    if (rc == 0 && monitor_hz() > 0) m->refresh_rate = monitor_hz();
    return rc;
}

void SDL_RenderPresent(SDL_Renderer* r) {
    REAL("SDL_RenderPresent", SDL_RenderPresent);
    real(r);
    struct timespec now;
    if (monitor_hz() > 0) {
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long period = 1000000000LL / monitor_hz();
        const long long next = ((now.tv_sec * 1000000000LL + now.tv_nsec) / period + 1) * period;
        const struct timespec due = {(time_t)(next / 1000000000LL), (long)(next % 1000000000LL)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, NULL);
    }
    static FILE* log;
    if (!log && getenv("DW_PRESENT_LOG")) log = fopen(getenv("DW_PRESENT_LOG"), "a");
    if (!log) return;
    clock_gettime(CLOCK_REALTIME, &now);
    fprintf(log, "%lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
    fflush(log);
}
