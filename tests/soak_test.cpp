// The soak: the real frame loop driven by seeded random controls for both players, through
// menus, select, fights, results and the ending, in every mode and with every robot pair.
// The short form runs with the tests; DW_SOAK_FRAMES=1000000 runs the long form.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "robots/loading.h"
#include "shell/form.h"
#include "test_support.h"

namespace {

// Resident memory in kilobytes.
long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

constexpr SDL_Scancode kKeys[] = {
    SDL_SCANCODE_W,  SDL_SCANCODE_A,    SDL_SCANCODE_S,     SDL_SCANCODE_D,    SDL_SCANCODE_G,    SDL_SCANCODE_H,
    SDL_SCANCODE_J,  SDL_SCANCODE_K,    SDL_SCANCODE_B,     SDL_SCANCODE_V,    SDL_SCANCODE_UP,   SDL_SCANCODE_DOWN,
    SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
    SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_PLUS};

// The longest any screen may stand before the run counts as stuck. Fights are nudged
// toward their end after a while (see below), so they stay within it too.
constexpr int kStuckFrames = 9000;

}  // namespace

TEST(Soak, RandomControlsThroughEveryScreenModeAndRobot) {
    const char* env = std::getenv("DW_SOAK_FRAMES");
    const long frames = env ? std::atol(env) : 10000;
    testing_support::GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());

    int ladderCount = 0;
    const int32_t* ladder = LadderIds(ladderCount);
    std::mt19937 rng(20261206);
    std::vector<bool> held(std::size(kKeys), false);
    int run = 0;            // which (mode, pair) the next select screen takes
    int fightsInRun = 0;
    int32_t state = -1;
    long inState = 0, longest = 0, screens = 0;
    long memoryAtWarmUp = 0;

    for (long frame = 0; frame < frames; ++frame) {
        // Random presses and releases, a few keys at a time; now and then F1.
        for (size_t k = 0; k < held.size(); ++k)
            if (rng() % 16 == 0) {
                held[k] = !held[k];
                testing_support::PushKey(kKeys[k], held[k]);
            }
        if (rng() % 4000 == 0) testing_support::PushKey(SDL_SCANCODE_F1, true);
        f.FrameWait = 0;  // the game speed keys would slow the run down

        if (f.GameState != state) {
            state = f.GameState;
            longest = std::max(longest, inState);
            inState = 0;
            ++screens;
            // Steer the runs through every mode and every robot pair in turn (outside the
            // two-player mode the game itself draws player 2's robot).
            if (state == kStateMainMenu) f.GameMode = 1 + run % 4;
            if (state == kStateSelect) {
                const int pair = run / 4;
                f.P1RobotId = ladder[pair % ladderCount];
                f.P2RobotId = ladder[(pair / ladderCount) % ladderCount];
                ++run;
                fightsInRun = 0;
            }
            if (state == kStateFight) ++fightsInRun;
            // One fight a run is enough: F1 on the next pre-fight screen ends the run (in
            // Survival it enters the score instead, which ends it too).
            if (state == kStatePreFight && fightsInRun > 0) testing_support::PushKey(SDL_SCANCODE_F1, true);
        }
        ++inState;
        // A fight that random controls drag out is helped to its end.
        if (state == kStateFight && inState % 600 == 0) {
            f.P1Fighter.Armour = std::min(f.P1Fighter.Armour, 30);
            f.P2Fighter.Armour = std::min(f.P2Fighter.Armour, 30);
        }
        ASSERT_LT(inState, kStuckFrames) << "stuck in state " << state << " at frame " << frame;
        f.App.Pump();
        ASSERT_FALSE(f.Closed()) << "closed at frame " << frame << " in state " << state;
        // By half-way every screen and tune has been through at least once.
        if (frame == frames / 2) memoryAtWarmUp = ResidentKb();
    }
    const long growth = ResidentKb() - memoryAtWarmUp;
    std::printf("soak: %ld frames, %ld screens, %d runs, longest screen %ld frames, memory growth %ld KB\n",
                frames, screens, run, longest, growth);
#if defined(__SANITIZE_ADDRESS__)
    (void)growth;  // the sanitizer keeps freed memory in quarantine; its leak check stands in
#else
    EXPECT_LT(growth, 16 * 1024);  // flat, give or take allocator noise
#endif
    EXPECT_GT(screens, 10);
}
