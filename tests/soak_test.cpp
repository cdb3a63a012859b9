// The soak: the real frame loop driven by seeded random controls for both players, through
// menus, select, fights, results and the ending, in every mode and with every robot pair.
// The short form runs with the tests; DW_SOAK_FRAMES=1000000 runs the long form.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "robots/loading.h"
#include "shell/form.h"
#include "test_support.h"

namespace {

long ResidentKb() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * 4;
}

constexpr SDL_Scancode kKeys[] = {SDL_SCANCODE_W,    SDL_SCANCODE_A,     SDL_SCANCODE_S,    SDL_SCANCODE_D,
                                  SDL_SCANCODE_G,    SDL_SCANCODE_H,     SDL_SCANCODE_J,    SDL_SCANCODE_K,
                                  SDL_SCANCODE_B,    SDL_SCANCODE_V,     SDL_SCANCODE_UP,   SDL_SCANCODE_DOWN,
                                  SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                  SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,  SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_PLUS};

}  // namespace

TEST(Soak, RandomControlsThroughEveryScreenModeAndRobot) {
    const char* env = std::getenv("DW_SOAK_FRAMES");
    const long frames = env ? std::atol(env) : 10000;
    testing_support::GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    int ladderCount = 0;
    const int32_t* ladder = LadderIds(ladderCount);
    std::mt19937 rng(20261206);
    bool held[std::size(kKeys)] = {};
    int run = 0, fightsInRun = 0;  // which (mode, pair) the next select screen takes
    int32_t state = -1;
    long inState = 0, screens = 0, memoryAtWarmUp = 0;
    for (long frame = 0; frame < frames; ++frame) {
        // Random presses and releases, a few keys at a time; now and then F1.
        for (size_t k = 0; k < std::size(kKeys); ++k)
            if (rng() % 16 == 0) testing_support::PushKey(kKeys[k], held[k] = !held[k]);
        if (rng() % 4000 == 0) testing_support::PushKey(SDL_SCANCODE_F1, true);
        f.FrameWait = 0;  // the game speed keys would slow the run down
        ++inState;
        if (f.GameState != state) {
            state = f.GameState, inState = 1, ++screens;
            // Every mode and robot pair in turn (outside the two-player mode the game itself
            // draws player 2's robot); one fight a run, then F1 on the pre-fight screen ends it.
            if (state == kStateMainMenu) f.GameMode = 1 + run % 4;
            if (state == kStateSelect) {
                f.P1RobotId = ladder[(run / 4) % ladderCount];
                f.P2RobotId = ladder[(run++ / 4 / ladderCount) % ladderCount];
                fightsInRun = 0;
            }
            fightsInRun += state == kStateFight;
            if (state == kStatePreFight && fightsInRun > 0) testing_support::PushKey(SDL_SCANCODE_F1, true);
        }
        // A fight that random controls drag out is helped to its end.
        if (state == kStateFight && inState % 600 == 0)
            for (FighterState* x : {&f.P1Fighter, &f.P2Fighter}) x->Armour = std::min(x->Armour, 30);
        ASSERT_LT(inState, 9000) << "stuck in state " << state << " at " << frame;
        f.App.Pump();
        ASSERT_FALSE(f.Closed()) << "closed at frame " << frame << " in state " << state;
        if (frame == frames / 2) memoryAtWarmUp = ResidentKb();  // every screen and tune seen by then
    }
    const long growth = ResidentKb() - memoryAtWarmUp;
    std::printf("soak: %ld frames, %ld screens, %d runs, memory growth %ld KB\n", frames, screens, run, growth);
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer keeps freed memory in quarantine; its leak check stands in
    EXPECT_LT(growth, 16 * 1024);
#endif
    EXPECT_GT(screens, 10);
}
