// Whole fights through the real frame loop, headless: select, pre-fight, fight, the next screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "shell/form.h"
#include "test_support.h"

using testing_support::GameRig;
using testing_support::PushKey;
using testing_support::Tap;
using testing_support::RunWhile;
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

// Player 1 fires its rifle, press after press, until the fight is over.
void ShootUntilOver(TForm1& f, int limit) {
    for (int i = 0; i < limit && f.GameState == kStateFight; ++i) {
        PushKey(SDL_SCANCODE_G, i % 24 < 12);
        f.App.Pump();
    }
    PushKey(SDL_SCANCODE_G, false);
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
    EXPECT_EQ(f.P1RobotId, 14);
    EXPECT_EQ(f.P2RobotId, 14);
    RunWhile(f, kStateSelect, 30);
    ASSERT_EQ(f.GameState, kStatePreFight);
    ASSERT_NE(f.P1Sheets[0], nullptr);  // the loads made the view sheets
    ASSERT_NE(f.P2Sheets[4], nullptr);
    EXPECT_EQ(f.P1Fighter.Ammo[0], 80);
    RunWhile(f, kStatePreFight, 300);
    RunWhile(f, kStateFightIntro, 200);
    ASSERT_EQ(f.GameState, kStateFight);

    // Player 2 answers with its rifle while player 1 fires the beam: all of it on screen.
    PushKey(SDL_SCANCODE_J, true);
    for (int i = 0; i < 4; ++i) f.App.Pump();
    PushKey(SDL_SCANCODE_KP_1, true);
    for (int i = 0; i < 14; ++i) f.App.Pump();
    EXPECT_LT(f.P1Fighter.Energy, 450 - 250);  // the beam was paid for
    EXPECT_LT(f.P2Fighter.Ammo[0], 80);
    if (const char* out = std::getenv("DW_SCREENSHOT_DIR"))
        testing_support::DumpBmp(*f.BackSurface(), f.DirectDrawObj->Palette(), std::string(out) + "/fight.bmp");
    PushKey(SDL_SCANCODE_J, false);
    PushKey(SDL_SCANCODE_KP_1, false);
    for (int i = 0; i < 20; ++i) f.App.Pump();
    ShootUntilOver(f, 3000);
    EXPECT_EQ(f.GameState, kStateFightOver);
    EXPECT_EQ(f.Winner, 1);
    EXPECT_LE(f.P2Fighter.Armour, 0);
    EXPECT_LT(f.P1Fighter.Ammo[0], 80);
    if (const char* out = std::getenv("DW_SCREENSHOT_DIR"))
        testing_support::DumpBmp(*f.BackSurface(), f.DirectDrawObj->Palette(), std::string(out) + "/fight_over.bmp");
    RunWhile(f, kStateFightOver, 200);
    EXPECT_EQ(f.GameState, kStateSelect);
}

TEST(FightEndToEnd, OnePlayerLadderOfSixWins) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    ToSelectScreen(f, 1);
    ASSERT_EQ(f.GameState, kStateSelect);
    PickD2E(f);
    for (int stage = 0; stage < 6; ++stage) {
        RunWhile(f, kStateSelect, 30);
        ASSERT_EQ(f.GameState, kStatePreFight) << stage;
        EXPECT_EQ(f.StageNo, stage);
        RunWhile(f, kStatePreFight, 300);
        RunWhile(f, kStateFightIntro, 200);
        ASSERT_EQ(f.GameState, kStateFight);
        f.P2Fighter.Armour = 20;  // one rifle hit will do: the ladder, not the fight, is tested here
        ShootUntilOver(f, 600);
        EXPECT_EQ(f.Winner, 1);
        RunWhile(f, kStateFightOver, 200);
    }
    EXPECT_EQ(f.GameState, kStateEnding);
    EXPECT_EQ(f.StageNo, 0);
    // The credits roll for 2000 frames, then the title.
    for (int i = 0; i < 1999; ++i) f.App.Pump();
    EXPECT_EQ(f.GameState, kStateEnding);
    f.App.Pump();
    EXPECT_EQ(f.GameState, kStateTitle);
}

TEST(FightEndToEnd, LimitRunOfEightWinsWritesTheBestTimes) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    ToSelectScreen(f, 4);
    ASSERT_EQ(f.GameState, kStateSelect);
    PickD2E(f);
    for (int fight = 1; fight <= 8; ++fight) {
        RunWhile(f, kStateSelect, 30);
        ASSERT_EQ(f.GameState, kStatePreFight) << fight;
        EXPECT_EQ(f.LimitEnemy, fight);
        RunWhile(f, kStatePreFight, 300);
        RunWhile(f, kStateFightIntro, 200);
        ASSERT_EQ(f.GameState, kStateFight);
        // Whoever was drawn as the enemy, one hit ends it.
        f.P2Fighter.Armour = 1;
        f.P2Fighter.PosX = f.P1Fighter.PosX;
        ShootUntilOver(f, 600);
        ASSERT_EQ(f.Winner, 1) << fight;
        RunWhile(f, kStateFightOver, 200);
    }
    EXPECT_EQ(f.GameState, kStateLimitResult);
    EXPECT_EQ(f.ScoreFileError, 0);
    const int32_t rest = f.LimitTable[0][0].Value;
    EXPECT_GT(rest, 0);
    EXPECT_EQ(rest, f.LimitFrames - f.LimitElapsed);
    // The file's check values, computed here from its bytes alone.
    std::ifstream in(rig.dir.Path() / "score2.zor", std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(b.size(), 192u);
    auto at = [&](size_t o) { return int32_t(uint32_t(b[o]) | uint32_t(b[o + 1]) << 8 | uint32_t(b[o + 2]) << 16 | uint32_t(b[o + 3]) << 24); };
    const uint32_t v[5] = {uint32_t(at(0)), uint32_t(at(72)), uint32_t(at(144)), uint32_t(at(88)), uint32_t(at(32))};
    const uint32_t c1 = v[0] + 2 * v[1] + 3 * v[2] + 4 * v[3] + 5 * v[4];
    const uint32_t c2 = v[0] - v[1] + v[2] - v[3] + v[4];
    EXPECT_EQ(at(0), rest);
    EXPECT_EQ(uint32_t(at(40)), c1);
    EXPECT_EQ(uint32_t(at(48)), c2);
    EXPECT_EQ(uint32_t(at(56)), c1 + c2);
    RunWhile(f, kStateLimitResult, 250);
    EXPECT_EQ(f.GameState, kStateTitle);
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
