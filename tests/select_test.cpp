// The select screen and its step, the draw of the opponent, and the pre-fight screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/form.h"
#include "test_support.h"

using namespace testing_support;

TEST(SelectStep, CursorsDecisionsAndSpeed) {
    const struct {
        int32_t mode, best, p1, p2, wait;
        const char* keys;
        int32_t want[5];
    } rows[] = {
        // want: P1RobotId, P2RobotId, P1Decided, P2Decided, FrameWait
        {2, 0, 1, 1, 0, "ssssss", {5, 1, 0, 0, 0}},   // down to five, no further while hidden;
        {2, 10, 1, 1, 0, "ssssss", {6, 1, 0, 0, 0}},  // a best score of ten unlocks the sixth
        {2, 9, 3, 1, 0, "sss", {5, 1, 0, 0, 0}},     {2, 0, 3, 1, 0, "S", {4, 1, 0, 0, 0}},  // held: once
        {2, 0, 3, 1, 0, "dwwwwa", {1, 1, 0, 0, 0}},  {2, 0, 15, 1, 0, "www", {12, 1, 0, 0, 0}},
        {2, 0, 12, 1, 0, "g", {12, 1, 0, 0, 0}},     // no robot data: no decision
        {2, 0, 12, 1, 0, "gsgw", {13, 1, 1, 0, 0}},  // a decided cursor stays
        {2, 0, 1, 1, 0, "2261", {1, 13, 0, 1, 0}},   // player 2 on its own keys, only with two players
        {3, 0, 1, 1, 0, "2261", {1, 1, 0, 0, 0}},    {1, 0, 1, 1, 0, "2", {1, 1, 0, 0, 0}},
        {2, 0, 1, 1, 1, "bbb", {1, 1, 0, 0, 0}},     // guard: faster, down to no wait at all
        {2, 0, 1, 1, 99, "vvv", {1, 1, 0, 0, 100}},  // dash: slower, up to a wait of 100
        {2, 0, 1, 1, 3, "B0+", {1, 1, 0, 0, 2}},     // once a press, either player
        {4, 0, 1, 1, 3, "gv0", {1, 1, 1, 0, 4}},     // decided or not; player 2 only with two
    };
    ScreenRig rig;
    TForm1& f = *rig.form;
    for (const auto& r : rows) {
        f.GameMode = r.mode, f.GameState = kStateSelect, f.StateFrames = f.P1Decided = f.P2Decided = 0;
        f.SurvivalTable[0].Value = r.best, f.P1RobotId = r.p1, f.P2RobotId = r.p2, f.FrameWait = r.wait;
        Play(f, r.keys);
        const int32_t got[5] = {f.P1RobotId, f.P2RobotId, f.P1Decided, f.P2Decided, f.FrameWait};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], r.want[i]) << r.mode << " " << r.keys << " field " << i;
    }
}

TEST(SelectStep, LeavesFifteenFramesAfterTheLastDecisionWithBothRobotsLoaded) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.GameMode = 2, f.GameState = kStateSelect, f.StateFrames = 0, f.P1RobotId = 14, f.P2RobotId = 5;
    Play(f, "g");
    for (int i = 0; i < 20; ++i) f.App.Pump();
    ASSERT_EQ(f.GameState, kStateSelect);  // player 2 still choosing
    Play(f, "1");
    int frames = 2;
    for (; f.GameState == kStateSelect && frames < 40; ++frames) f.App.Pump();
    ASSERT_TRUE(frames == 15 && f.GameState == kStatePreFight) << frames;
    for (const FighterState* p : {&f.P1Fighter, &f.P2Fighter})
        EXPECT_TRUE(p->Spec && p->Armour == p->Spec->MaxArmour && p->Energy == p->Spec->MaxEnergy && p->Ammo[0] > 0);
    EXPECT_NE(f.P2Sheets[4], nullptr);
    // After a won fight the pre-fight screen stands 240 frames after its first.
    for (frames = f.StateFrames = 0; f.GameState == kStatePreFight && frames < 300; ++frames) f.App.Pump();
    EXPECT_EQ(frames, 241);
}

TEST(Opponents, LadderInOnePlayerAnyRobotWithDataInSurvivalAndLimit) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.GameMode = 1;
    const int32_t ladder[][2] = {{0, 1}, {1, 14}, {2, 5}, {3, 11}, {4, 4}, {5, 13}, {9, 15}, {10, 1}, {-3, 1}};
    for (const auto& [stage, id] : ladder) {
        f.StageNo = stage, f.ChooseOpponent();
        EXPECT_EQ(f.P2RobotId, id) << stage;
    }
    f.GameMode = 2, f.P2RobotId = 13, f.ChooseOpponent();
    EXPECT_EQ(f.P2RobotId, 13);  // the second player's own choice

    // Any robot with data, id 6 too, drawn the same from the same seed.
    for (int32_t mode : {3, 4}) {
        f.GameMode = mode, f.Randomize(4304);
        std::vector<int32_t> draws(12);
        for (int32_t& id : draws) id = (f.ChooseOpponent(), f.P2RobotId);
        EXPECT_EQ(draws, (std::vector<int32_t>{6, 15, 13, 16, 2, 3, 11, 4, 5, 14, 6, 6})) << mode;
    }
    // Drawn as an opponent, id 6 loads the first robot's data and is named as the stand-in.
    f.GameMode = 3, f.P1RobotId = 1, f.Randomize(4304), f.ToBefore();
    ASSERT_TRUE(f.P2RobotId == 6 && f.GameState == kStatePreFight);
    EXPECT_TRUE(f.P2Fighter.Armour == f.P1Fighter.Armour && f.P2Spec.HalfWidth == f.P1Spec.HalfWidth &&
                std::equal(std::begin(f.P2Fighter.Ammo), std::end(f.P2Fighter.Ammo), std::begin(f.P1Fighter.Ammo)));
    rig.Draw(&TForm1::Draw_BS);
    EXPECT_TRUE(rig.Shows(360, 320, "ZAroru vave Varizoz", 0xFFFFFF));
}

TEST(SelectScreen, ListsMarksRatingsAndSpeed) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    const uint8_t blue = rig.Index(0xFF0000), red = rig.Index(0x0000FF), barBlue = rig.Index(0xB40000),
                  barRed = rig.Index(0x0000B4);
    // pens: pixels of the frames' green, player 1's blue and player 2's red, as approved
    const struct {
        int32_t mode, wait, p1, p2;
        const char* speed;
        bool secondMarked;
        int pens[3];
    } rows[] = {{1, 0, 14, 3, "GAME-SPEED = 100", false, {6216, 1058, 816}},
                {2, 100, 4, 13, "GAME-SPEED = 0", true, {6614, 1058, 1486}},
                {2, 30, 6, 11, "GAME-SPEED = 70", true, {6214, 908, 1486}}};
    for (const auto& r : rows) {
        f.GameMode = r.mode, f.FrameWait = r.wait, f.P1RobotId = r.p1, f.P2RobotId = r.p2;
        rig.Draw(&TForm1::Draw_Select);
        EXPECT_TRUE(rig.Shows(300, 310, r.speed, 0x008000, 2)) << r.speed;
        const uint8_t pens[3] = {rig.Index(0x007800), blue, red};  // (the blue words at 300..335 left out)
        for (int i = 0; i < 3; ++i) {
            const int words = i == 1 ? CountIndex(*rig.back, {0, 298, 800, 336}, blue) : 0;
            EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, pens[i]) - words, r.pens[i]) << r.speed << " " << i;
        }
        EXPECT_TRUE(rig.Shows(15, 15, r.p1 < 10 ? "Aps" : "PeTS", 0x008000, 2) &&
                    rig.Shows(595, 15, r.p2 < 10 ? "Aps" : "PeTS", 0x008000, 2));
        // Each player's mark lies under its robot's name, for the first player always.
        const int k1 = r.p1 % 10, k2 = r.p2 % 10;
        EXPECT_EQ(CountIndex(*rig.back, {20, 40 + 40 * k1, 170, 41 + 40 * k1}, blue), k1 <= 5 ? 150 : 0) << r.p1;
        EXPECT_EQ(CountIndex(*rig.back, {600, 40 + 40 * k2, 750, 41 + 40 * k2}, red), r.secondMarked ? 150 : 0);
        // The weapon panels of both, and a rating bar 50 pixels a point under each list.
        const RosterEntry& e1 = f.Roster[size_t(RosterIndex(r.p1))];
        const RosterEntry& e2 = f.Roster[size_t(RosterIndex(r.p2))];
        EXPECT_TRUE(rig.Shows(225, 350, e1.WeaponName[0], 0x008000, 2) &&
                    rig.Shows(310, 505, e2.WeaponName[3], 0x008000, 2));
        for (int i = 0; i < 6; ++i) {
            const int y = 10 + 375 + 30 * i + 5;
            EXPECT_EQ(CountIndex(*rig.back, {50, y, 210, y + 1}, barBlue), 50 * e1.Rating[i] - 2) << i;
            EXPECT_EQ(CountIndex(*rig.back, {630, y, 790, y + 1}, barRed), 50 * e2.Rating[i] - 2) << i;
        }
    }
    EXPECT_TRUE(rig.Shows(600, 60, "DeziVor", 0x008000, 2));
    // The robots' pictures: each player's cells of "MARKS" and "MARKS2", unscaled, keyed.
    ASSERT_TRUE(f.LoadSheet(f.SheetSurface1, "MARKS") && f.LoadSheet(f.SheetSurface2, "MARKS2"));
    f.GameState = kStateSelect;
    f.P1RobotId = 14, f.P2RobotId = 3;
    f.App.Pump();
    // seen: where the pictures drawn later do not cover it
    const struct {
        int32_t robot;
        const dw::Surface* sheet;
        dw::Rect seen;
        int x, y;
    } pictures[] = {{3, f.SheetSurface1.get(), {500, 150, 584, 299}, 435, 150},
                    {14, f.SheetSurface2.get(), {350, 30, 499, 179}, 350, 30}};
    for (const auto& p : pictures) {
        const RosterEntry& e = f.Roster[size_t(RosterIndex(p.robot))];
        int drawn = 0, differ = 0;
        for (int y = p.seen.top; y < p.seen.bottom; ++y)
            for (int x = p.seen.left; x < p.seen.right; ++x) {
                const uint8_t want = p.sheet->Get(e.Cell[0] + x - p.x, e.Cell[1] + y - p.y);
                drawn += want != *p.sheet->ColorKey();
                differ += want != *p.sheet->ColorKey() && f.BackSurface()->Get(x, y) != want;
            }
        EXPECT_TRUE(drawn > 500 && differ == 0) << p.robot << ": " << drawn << " " << differ;
    }
    for (int id : {-7, 0, 7, 10, 99, INT32_MIN}) {  // ids outside the catalogue draw without reading outside it
        f.P1RobotId = f.P2RobotId = id;
        f.App.Pump();
        rig.Draw(&TForm1::Draw_BS);
    }
}

TEST(PreFightScreen, NamesFadeAndTheRunSoFar) {
    // first, second, name1, name2: at (0, 530), (0, 550), (300, 240), (360, 320)
    const struct {
        int32_t mode, p1, p2, frames, enemy, elapsed;
        const char *first, *second, *name1, *name2;
        dw::ColorRef colour;
    } rows[] = {
        {4, 6, 6, 15, 8, 1234, "Last Enemy!!", "LIMIT MODE :REST IS 3766 COUNT!!", "ViveraziV", "ZAroru vave Varizoz",
         0xFFFFFF},
        {4, 14, 3, 51, 1, 0, "First Enemy!!", "LIMIT MODE :REST IS 5000 COUNT!!", "D-2-E", "ZovaZazovo", 0xBFBFBF},
        {3, 11, 6, 0, 1, 0, "Return:F1 KEY ON KEYBOARD!", "SURVIVAL MODE :SCORE IS 4 POINT!!", "Dezi Vor",
         "ZAroru vave Varizoz", 0xFFFFFF},
        {3, 13, 16, 50, 1, 0, "Return:F1 KEY ON KEYBOARD!", "SURVIVAL MODE :SCORE IS 4 POINT!!", "DivizOdir",
         "ViveraziV", 0xFFFFFF},
        {3, 15, 5, 101, 1, 0, "Return:F1 KEY ON KEYBOARD!", "SURVIVAL MODE :SCORE IS 4 POINT!!", "Durade-Revov",
         "DariZev", 0x7F7F7F},
        {2, 2, 6, 200, 1, 0, nullptr, nullptr, "Revidu zava Davov", "ViveraziV", 0x5F5F5F},
        {1, 1, 4, 240, 1, 0, nullptr, nullptr, "Zeredi vovu Ridodar", "DedaZivirEvavid", 0x3F3F3F},
        {1, 3, 5, 251, 1, 0, nullptr, nullptr, "ZovaZazovo", "DariZev", 0x000000},  // faded out
    };
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.SurvivalScore = 4;
    f.LimitFrames = 5000;
    for (const auto& r : rows) {
        f.GameMode = r.mode, f.P1RobotId = r.p1, f.P2RobotId = r.p2;
        f.StateFrames = r.frames, f.LimitEnemy = r.enemy, f.LimitElapsed = r.elapsed;
        rig.Draw(&TForm1::Draw_BS);
        EXPECT_TRUE(r.first ? rig.Shows(0, 530, r.first, r.colour) && rig.Shows(0, 550, r.second, r.colour)
                            : CountIndex(*rig.back, {0, 520, 800, 600}, 0) == 800 * 80)
            << r.mode << " " << r.frames;
        EXPECT_TRUE(rig.Shows(300, 240, r.name1, r.colour) && rig.Shows(360, 320, r.name2, r.colour) &&
                    rig.Shows(340, 290, "VS", r.colour))
            << r.name1 << " " << r.frames;
    }
}
