// The soak: the real frame loop under seeded random controls for both players, every robot
// as either player in every mode, with what the engine promises checked after every frame.
// The short form runs with the tests; DW_SOAK_FRAMES=1000000 runs the long form.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "robots/loading.h"
#include "shell/form.h"
#include "test_support.h"

namespace {

// The first promise the game breaks in a frame that began in state `before`; empty while all
// hold.
std::string Broken(TForm1& f, int32_t before) {
    if (f.GameState < kStateTitle || f.GameState > kStateEnding) return "state " + std::to_string(f.GameState);
    for (int p = 0; p < 2; ++p) {
        const PlayerRefs pl = f.Player(p);
        const FighterState& x = pl.fighter;
        const std::string who = "player " + std::to_string(p + 1) + ": ";
        // Controls reach a robot only in the fight, player 2's only with two players.
        if (x.ActionCode != 0 && (before != kStateFight || (p == 1 && f.GameMode != 2)))
            return who + "a robot without controls acts";
        if (f.GameState < kStateFightIntro || f.GameState > kStateFightOver) continue;
        if (x.Armour > pl.spec.MaxArmour) return who + "armour above its most";
        if (f.GameState == kStateFight && x.Armour <= 0) return who + "fights on without armour";
        if (x.Energy < 0 || x.Energy > pl.spec.MaxEnergy) return who + "energy " + std::to_string(x.Energy);
        // The camera keeps both on the screen and never farther apart than its box, 500 x 360
        // (knock-backs taken after it moved can leave one outside the box until the next frame).
        const FighterState& o = f.Player(1 - p).fighter;
        if (x.PosX < 0 || x.PosX > 800 || x.PosY < 0 || x.PosY > 600 || std::abs(x.PosX - o.PosX) > 500 ||
            std::abs(x.PosY - o.PosY) > 360)
            return who + "astray at " + std::to_string(x.PosX) + ", " + std::to_string(x.PosY);
        for (int k = 0; k < 4; ++k)
            for (const auto& row : f.Shots.Record[pl.firstGroup + k])
                for (const ShotRecord& r : row)
                    if (r.Active ? !r.Node : r.Visible || r.HitArmed) return who + "a shot record out of step";
    }
    return "";
}

}  // namespace

// One game mode (1..4) a test, so that the modes soak side by side.
class Soak : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Modes, Soak, ::testing::Range(1, 5));

TEST_P(Soak, EveryRobotAsEitherPlayerUnderRandomControls) {
    const int mode = GetParam();
    int count = 0;
    const int32_t* robots = LadderIds(count);         // every robot with data
    const char* env = std::getenv("DW_SOAK_FRAMES");  // frames of all four modes together
    const long perPairing = std::max(1L, env ? std::atol(env) / (4L * count) : 240);
    testing_support::GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    // A small window keeps each present cheap: the game fits its frame into any window.
    SDL_SetWindowFullscreen(f.DirectDrawObj->Window(), 0);
    SDL_SetWindowSize(f.DirectDrawObj->Window(), 80, 60);
    std::mt19937 rng(20261206 + mode);
    bool held[size_t(dw::Key::Escape)] = {};  // each key the players use
    for (int i = 0; i < count; ++i) {
        // Each robot once as player 1 and once as player 2 in each mode. Both are loaded as
        // the second player's own choice; from the next fight on the mode draws player 2's.
        const int32_t p1 = robots[i];
        const int32_t p2 = robots[(i + mode) % count];
        SCOPED_TRACE(::testing::Message() << "mode " << mode << ", robots " << p1 << " and " << p2);
        f.ToSelect();
        f.GameMode = 2;
        f.P1RobotId = p1;
        f.P2RobotId = p2;
        f.ToBefore();
        f.GameMode = mode;
        if (mode == 1) f.StageNo = i % 6;
        f.ToFight();
        f.StateFrames = 89;  // the fight's introduction on its last frame
        int32_t state = f.GameState;
        long inState = 0;
        for (long frame = 0; frame < perPairing; ++frame) {
            // Random presses and releases, a few keys at a time; now and then F1.
            for (size_t k = 0; k < std::size(held); ++k) {
                if (rng() % 16 != 0) continue;
                held[k] = !held[k];
                f.Keys.Press(dw::Key(k), held[k]);
            }
            if (rng() % 4000 == 0) testing_support::PushKey(SDL_SCANCODE_F1, true);
            f.FrameWait = 0;  // the game speed keys would slow the run down
            // A fight that random controls drag out is helped to its end: after 50 frames both
            // have 20 armour at most, after 80 one of them loses (player 2 on the sixth
            // stage, so the ladder reaches the ending).
            if (f.GameState == kStateFight && inState == 50)
                for (FighterState* x : {&f.P1Fighter, &f.P2Fighter}) x->Armour = std::min(x->Armour, 20);
            if (f.GameState == kStateFight && inState == 80) (i % 3 == 1 ? f.P1Fighter : f.P2Fighter).Armour = 0;
            const int32_t before = f.GameState;
            f.App.Pump();
            ASSERT_FALSE(f.Closed()) << "frame " << frame;
            ASSERT_EQ(Broken(f, before), "") << "frame " << frame;
            ASSERT_LT(++inState, 9000) << "stuck in state " << state;
            if (f.GameState == state) continue;
            state = f.GameState;
            inState = 0;
        }
    }
}
