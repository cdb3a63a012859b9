// Whole fights through the real frame loop, headless: select, pre-fight, fight, the next screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/form.h"
#include "test_support.h"

using testing_support::GameRig;
using testing_support::PushKey;
using testing_support::RunWhile;
using testing_support::ToSelectScreen;

TEST(FightEndToEnd, TwoD2EsFightToAKnockOutAndReturnToSelect) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    f.FrameWait = 0;
    ToSelectScreen(f, 2);
    testing_support::Play(f, "dsssg62221");  // both players on "D-2-E", decided
    RunWhile(f, kStateSelect, 30);
    RunWhile(f, kStatePreFight, 300);
    RunWhile(f, kStateFightIntro, 200);
    ASSERT_EQ(f.GameState, kStateFight);

    // A hit on player 2 sounds on player 2's copies of the hit sounds, not on player 1's.
    auto playing = [](const auto& sound) { return sound && sound->Playing(); };
    ShotRecord& r = f.Shots.Record[0][0][0];  // player 1's rifle
    r = {.PosX = f.P2Fighter.PosX,
         .PosY = f.P2Fighter.PosY,
         .HitArmed = 1,
         .Weapon = r.Weapon,
         .Node = r.Node,
         .Trail = {}};
    ASSERT_EQ(f.HitShot(r, 1), 1);
    EXPECT_TRUE(std::ranges::any_of(f.HitDuplicates, playing) && std::ranges::none_of(f.HitBuffers, playing));

    // Player 1 fires the beam while player 2 answers with its rifle.
    PushKey(SDL_SCANCODE_J, true);
    for (int i = 0; i < 4; ++i) f.App.Pump();
    PushKey(SDL_SCANCODE_KP_1, true);
    for (int i = 0; i < 14; ++i) f.App.Pump();
    // Each volley plays its own weapon's sound.
    EXPECT_TRUE(playing(f.P1ShotSounds[2]) && playing(f.P2ShotSounds[0]) && !playing(f.P2ShotSounds[2]));
    PushKey(SDL_SCANCODE_J, false);
    PushKey(SDL_SCANCODE_KP_1, false);
    // Then rifle shot after rifle shot, press by press, to the knock-out.
    for (int i = 0; i < 3000 && f.GameState == kStateFight; ++i) {
        PushKey(SDL_SCANCODE_G, i % 24 < 12);
        f.App.Pump();
    }
    PushKey(SDL_SCANCODE_G, false);
    EXPECT_TRUE(f.GameState == kStateFightOver && f.Winner == 1);
    RunWhile(f, kStateFightOver, 200);
    EXPECT_EQ(f.GameState, kStateSelect);
}
