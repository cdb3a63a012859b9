// When each frame goes to the screen. Every duration in the game is counted in frames, so
// the game steps 60 frames a second, plus the player's frame wait, on every monitor and
// however long a present takes.
#pragma once

#include <cstdint>

namespace dw {

class FramePacer {
public:
    // `frequency` is the clock's ticks per second.
    explicit FramePacer(uint64_t frequency) : frequency_(frequency) {}

    // How the next frame goes to the screen.
    struct Plan {
        bool vsync;          // present with vsync, which paces the frame by itself
        uint64_t presentAt;  // otherwise wait until then
    };

    // The plan for the frame that is ready at `now`. Vsync gives the game its rate only on a
    // display that refreshes 59 to 61 times a second, and only while no frame wait stretches
    // the frame. Anywhere else the game presents without vsync on its own schedule: each
    // frame 1/60 s plus the frame wait after the previous one was due, not after it was
    // shown, so the present's own cost is not added to the frame. A frame that comes more
    // than a few frames late, after a stall, starts a new schedule rather than hurrying
    // the frames after it.
    Plan Next(uint64_t now, bool vsyncAvailable, int refreshHz, int frameWaitMs);

private:
    static constexpr uint64_t kStallsPerSecond = 20;  // 50 ms, three frames

    uint64_t frequency_;
    uint64_t due_ = 0;
    bool scheduled_ = false;
};

}  // namespace dw
