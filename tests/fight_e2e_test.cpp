// Whole fights through the real frame loop, headless: select, pre-fight, fight, the next screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/form.h"
#include "test_support.h"

using testing_support::FramesWhile;
using testing_support::PushKey;

TEST(FightEndToEnd, TwoD2EsFightToAKnockOutAndReturnToSelect) {
    testing_support::GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    testing_support::ToSelectScreen(f, 2);
    testing_support::Play(f, "dsssg62221");  // both players on "D-2-E", decided
    FramesWhile(f, kStateSelect, 30);
    FramesWhile(f, kStatePreFight, 300);
    FramesWhile(f, kStateFightIntro, 200);
    ASSERT_EQ(f.GameState, kStateFight);

    // A hit plays its weapon's hit sound ("HITTEDn" on buffer n - 1): on the first copies when
    // player 1 is hit, on the second when player 2 is. The stand-in weapon of an empty slot
    // names no sound: a hit put on it, as if it had fired a rifle bullet, sounds nothing.
    auto playing = [](const auto& sound) { return sound && sound->Playing(); };
    auto strike = [&f](ShotRecord& r, ShotNode* node, int victim) {
        const FighterState& v = f.Player(victim).fighter;
        r = {.PosX = v.PosX, .PosY = v.PosY, .HitArmed = 1, .Weapon = r.Weapon, .Node = node, .Trail = {}};
        return f.HitShot(r, victim);
    };
    ShotRecord& rifle = f.Shots.Record[0][0][0];  // player 1's, "HITTED4"
    ShotRecord& claw = f.Shots.Record[5][0][0];   // player 2's, "HITTED2"
    ShotRecord& stub = f.Shots.Record[7][0][0];   // player 2's fourth slot
    ASSERT_EQ(stub.Weapon, &f.DammyWeapon);
    ASSERT_EQ(strike(stub, rifle.Node, 0), 1);
    EXPECT_EQ(std::ranges::count_if(f.HitBuffers, playing), 0);
    ASSERT_EQ(strike(claw, claw.Node, 0), 1);
    EXPECT_TRUE(playing(f.HitBuffers[1]));
    EXPECT_FALSE(playing(f.HitDuplicates[1]));
    ASSERT_EQ(strike(rifle, rifle.Node, 1), 1);
    EXPECT_TRUE(playing(f.HitDuplicates[3]));
    EXPECT_FALSE(playing(f.HitBuffers[3]));
    for (int i = 0; i < 100 && f.P1Fighter.ActionState == 6; ++i) f.App.Pump();  // player 1 recovers

    // Player 1 fires the beam while player 2 answers with its rifle: each volley plays its own
    // weapon's sound.
    PushKey(SDL_SCANCODE_J, true);
    for (int i = 0; i < 4; ++i) f.App.Pump();
    PushKey(SDL_SCANCODE_KP_1, true);
    for (int i = 0; i < 14; ++i) f.App.Pump();
    EXPECT_TRUE(playing(f.P1ShotSounds[2]));
    EXPECT_TRUE(playing(f.P2ShotSounds[0]));
    EXPECT_FALSE(playing(f.P2ShotSounds[2]));
    PushKey(SDL_SCANCODE_J, false);
    PushKey(SDL_SCANCODE_KP_1, false);
    // Then rifle shot after rifle shot, press by press, to the knock-out.
    for (int i = 0; i < 3000 && f.GameState == kStateFight; ++i) {
        PushKey(SDL_SCANCODE_G, i % 24 < 12);
        f.App.Pump();
    }
    PushKey(SDL_SCANCODE_G, false);
    EXPECT_EQ(f.GameState, kStateFightOver);
    EXPECT_EQ(f.Winner, 1);
    FramesWhile(f, kStateFightOver, 200);
    EXPECT_EQ(f.GameState, kStateSelect);
}
