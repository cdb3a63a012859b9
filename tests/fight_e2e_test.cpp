// Whole fights through the real frame loop, headless: select, pre-fight, fight, the next screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/form.h"
#include "test_support.h"

using testing_support::GameRig;
using testing_support::PushKey;
using testing_support::RunWhile;
using testing_support::Tap;
using testing_support::ToSelectScreen;

namespace {

// Player 1 (and in the two-player mode player 2) on "D-2-E", decided.
void PickD2E(TForm1& f) {
    Tap(f, SDL_SCANCODE_D);
    for (int i = 0; i < 3; ++i) Tap(f, SDL_SCANCODE_S);
    if (f.GameMode == 2) {
        Tap(f, SDL_SCANCODE_RIGHT);
        for (int i = 0; i < 3; ++i) Tap(f, SDL_SCANCODE_DOWN);
    }
    Tap(f, SDL_SCANCODE_G);
    if (f.GameMode == 2) Tap(f, SDL_SCANCODE_KP_1);
}

}  // namespace

TEST(FightEndToEnd, TwoD2EsFightToAKnockOutAndReturnToSelect) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    ToSelectScreen(f, 2);
    ASSERT_EQ(f.GameState, kStateSelect);
    PickD2E(f);
    EXPECT_EQ(std::vector<int>({f.P1RobotId, f.P2RobotId}), std::vector<int>({14, 14}));
    RunWhile(f, kStateSelect, 30);
    ASSERT_EQ(f.GameState, kStatePreFight);
    RunWhile(f, kStatePreFight, 300);
    RunWhile(f, kStateFightIntro, 200);
    ASSERT_EQ(f.GameState, kStateFight);

    // Player 1 fires the beam while player 2 answers with its rifle.
    PushKey(SDL_SCANCODE_J, true);
    for (int i = 0; i < 4; ++i) f.App.Pump();
    PushKey(SDL_SCANCODE_KP_1, true);
    for (int i = 0; i < 14; ++i) f.App.Pump();
    EXPECT_LT(f.P1Fighter.Energy, 450 - 250);
    EXPECT_LT(f.P2Fighter.Ammo[0], 80);
    if (const char* out = std::getenv("DW_SCREENSHOT_DIR"))
        testing_support::DumpBmp(*f.BackSurface(), f.DirectDrawObj->Palette(), std::string(out) + "/fight.bmp");
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
    EXPECT_LE(f.P2Fighter.Armour, 0);
    RunWhile(f, kStateFightOver, 200);
    EXPECT_EQ(f.GameState, kStateSelect);
}

TEST(FightEndToEnd, SurvivalScoreEnteredWithF1) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    ToSelectScreen(f, 3);
    PickD2E(f);
    RunWhile(f, kStateSelect, 30);
    ASSERT_EQ(f.GameState, kStatePreFight);
    f.SurvivalScore = 10;  // as if ten enemies had fallen already
    Tap(f, SDL_SCANCODE_F1);
    EXPECT_EQ(f.GameState, kStateSurvivalResult);
    ASSERT_TRUE(std::filesystem::exists(rig.dir.Path() / "score.zor"));
    EXPECT_EQ(f.SurvivalTable[0].Value, 10);
    EXPECT_EQ(f.SurvivalTable[0].RobotTypeId, 14);
    EXPECT_TRUE(f.HiddenRobotUnlocked());
    RunWhile(f, kStateSurvivalResult, 250);
    EXPECT_EQ(f.GameState, kStateTitle);
}
