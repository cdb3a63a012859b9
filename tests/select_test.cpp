// The select screen and its step, and the pre-fight screen.
#include <gtest/gtest.h>

#include "shell/form.h"
#include "test_support.h"

using namespace testing_support;

TEST(SelectStep, CursorsDecisionsAndSpeed) {
    // best: the best Survival score; then each player's robot and decision, and the wait.
    const struct {
        int32_t mode = 2, best = 0, p1 = 1, wait = 0;
        const char* keys;
        int32_t toP1 = 1, toP2 = 1, decided1 = 0, decided2 = 0, toWait = 0;
    } rows[] = {
        {.keys = "ssssss", .toP1 = 5},                          // down to five, no further while hidden;
        {.best = 10, .keys = "ssssss", .toP1 = 6},              // a best score of ten unlocks the sixth
        {.p1 = 12, .keys = "gsgw", .toP1 = 13, .decided1 = 1},  // none on a robot without data; a decided cursor stays
        {.keys = "2261", .toP2 = 13, .decided2 = 1},            // player 2 on its own keys,
        {.mode = 3, .keys = "2261"},                            // only with two players
        {.wait = 1, .keys = "bbb"},                             // guard: faster, down to no wait
        {.wait = 99, .keys = "vvv", .toWait = 100},             // dash: slower, up to a wait of 100
        {.wait = 3, .keys = "B0+", .toWait = 2},                // once a press, either player
        {.mode = 4, .wait = 3, .keys = "gv0", .decided1 = 1, .toWait = 4},  // decided or not; player 2 with two
    };
    ScreenRig rig;
    TForm1& f = *rig.form;
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "mode " << r.mode << ", keys " << r.keys);
        f.GameMode = r.mode;
        f.GameState = kStateSelect;
        f.StateFrames = 0;
        f.P1Decided = 0;
        f.P2Decided = 0;
        f.SurvivalTable[0].Value = r.best;
        f.P1RobotId = r.p1;
        f.P2RobotId = 1;
        f.FrameWait = r.wait;
        Play(f, r.keys);
        EXPECT_EQ(f.P1RobotId, r.toP1);
        EXPECT_EQ(f.P2RobotId, r.toP2);
        EXPECT_EQ(f.P1Decided, r.decided1);
        EXPECT_EQ(f.P2Decided, r.decided2);
        EXPECT_EQ(f.FrameWait, r.toWait);
    }
    // The last decision leads on to the pre-fight screen 15 frames later (with the key's two),
    // both robots loaded; after a won fight that screen stands 240 frames after its first.
    f.GameMode = 2;
    f.StateFrames = 0;
    f.P1Decided = 0;
    f.P2Decided = 0;
    f.P1RobotId = 14;
    Play(f, "g");
    EXPECT_EQ(FramesWhile(f, kStateSelect, 20), 20);  // player 2 still choosing
    Play(f, "1");
    EXPECT_EQ(FramesWhile(f, kStateSelect, 40), 13);
    ASSERT_EQ(f.GameState, kStatePreFight);
    ASSERT_NE(f.P2Fighter.Spec, nullptr);
    EXPECT_EQ(f.P2Fighter.Energy, f.P2Fighter.Spec->MaxEnergy);
    f.StateFrames = 0;
    EXPECT_EQ(FramesWhile(f, kStatePreFight, 300), 241);
}

// The title's menus, the select screen and the pre-fight screen as drawn.
TEST(Screens, MenusSelectAndPreFight) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    // Each menu over the title on a band cleared black, the chosen word white; a choice
    // outside the menu draws no word.
    const struct {
        int32_t state, value;
        dw::Rect band;
        const char* white = nullptr;
        int x = 0;
    } menus[] = {
        {.state = kStateMainMenu, .value = 4, .band = {0, 290, 800, 310}, .white = "Limit Mode?", .x = 550},
        {.state = kStateLevelMenu, .value = 9, .band = {0, 40, 350, 60}},
        {.state = kStateLimitMenu, .value = 2, .band = {300, 540, 800, 560}, .white = "HARD", .x = 650},
    };
    for (const auto& m : menus) {
        SCOPED_TRACE(::testing::Message() << "state " << m.state);
        f.GameState = m.state;
        f.GameMode = m.value;
        f.CpuLevel = m.value;
        f.LimitDifficulty = m.value;
        rig.Draw(&TForm1::Draw_Start);
        const int area = m.band.Width() * m.band.Height();
        EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, 7), 800 * 600 - area);  // nothing beyond the band
        if (m.white) {
            EXPECT_TRUE(rig.Shows(m.x, m.band.top, m.white, 0xFFFFFF));
        } else {
            EXPECT_EQ(CountIndex(*rig.back, m.band, 0), area);
        }
    }
    const uint8_t blue = rig.Index(0xFF0000);
    const uint8_t red = rig.Index(0x0000FF);
    // Player 2's mark and arrows show only with two players.
    for (const int32_t mode : {1, 2}) {
        SCOPED_TRACE(::testing::Message() << "mode " << mode);
        f.GameMode = mode;
        f.FrameWait = 30;
        f.P1RobotId = 6;
        f.P2RobotId = 13;
        rig.Draw(&TForm1::Draw_Select);
        EXPECT_TRUE(rig.Shows(300, 310, "GAME-SPEED = 70", 0x008000, 2));
        EXPECT_TRUE(rig.Shows(490, 320, "Dash-Button = SpeedDown!", 0xFF0000, 2));
        // A mark under player 2's robot's name, none under player 1's sixth; an arrow along
        // the foot of each list, 200 pixels.
        EXPECT_EQ(CountIndex(*rig.back, {20, 280, 170, 281}, blue), 0);
        EXPECT_EQ(CountIndex(*rig.back, {600, 160, 750, 161}, red), mode == 2 ? 150 : 0);
        EXPECT_EQ(CountIndex(*rig.back, {10, 300, 210, 301}, blue), 200);
        EXPECT_EQ(CountIndex(*rig.back, {590, 300, 790, 301}, red), mode == 2 ? 200 : 0);
        // Each player's weapon panel, 280 x 130 in the player's colour, whatever the mode; player
        // 2's covers the foot of player 1's from y 450 on.
        EXPECT_EQ(CountIndex(*rig.back, {494, 340, 495, 450}, blue), 110);
        EXPECT_EQ(CountIndex(*rig.back, {300, 579, 580, 580}, red), 280);
        // A rating bar 50 pixels a point under each list (its outline in the frames' green).
        const RosterEntry& e1 = f.Roster[size_t(RosterIndex(6))];
        const RosterEntry& e2 = f.Roster[size_t(RosterIndex(13))];
        for (int i = 0; i < 6; ++i) {
            const int y = 10 + 375 + 30 * i + 5;
            EXPECT_EQ(CountIndex(*rig.back, {50, y, 210, y + 1}, rig.Index(0xB40000)), 50 * e1.Rating[i] - 2) << i;
            EXPECT_EQ(CountIndex(*rig.back, {630, y, 790, y + 1}, rig.Index(0x0000B4)), 50 * e2.Rating[i] - 2) << i;
        }
        // The weapons' names in the panel, a line of 15 pixels each: player 2's last is drawn last.
        EXPECT_TRUE(rig.Shows(310, 460 + 15 * 3, e2.WeaponName[3], 0x008000, 2));
    }
    f.P1RobotId = 14;
    f.LimitElapsed = 1234;
    f.LimitEnemy = 8;
    // Both names at (300, 240) and (360, 320), fading from white to dark
    // grey in steps of 50 frames (the first frame white too); the stand-in drawn for id 6 is
    // named apart in Survival and Limit.
    const struct {
        int32_t mode, p2, at;
        const char* name;
        dw::ColorRef colour;
    } rows[] = {
        {.mode = 4, .p2 = 6, .at = 0, .name = "ZAroru vave Varizoz", .colour = 0xFFFFFF},
        {.mode = 2, .p2 = 6, .at = 50, .name = "ViveraziV", .colour = 0xFFFFFF},
        {.mode = 3, .p2 = 16, .at = 51, .name = "ViveraziV", .colour = 0xBFBFBF},
        {.mode = 1, .p2 = 4, .at = 250, .name = "DedaZivirEvavid", .colour = 0x3F3F3F},
        {.mode = 1, .p2 = 12, .at = 251, .name = "Zo-Ra", .colour = 0x000000},  // faded out
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.name << " at " << r.at);
        f.GameMode = r.mode;
        f.P2RobotId = r.p2;
        f.StateFrames = r.at;
        rig.Draw(&TForm1::Draw_BS);
        EXPECT_TRUE(rig.Shows(300, 240, "D-2-E", r.colour));
        EXPECT_TRUE(rig.Shows(360, 320, r.name, r.colour));
        if (r.mode == 4) {  // the run so far: the frames left of 10000
            EXPECT_TRUE(rig.Shows(0, 550, "LIMIT MODE :REST IS 8766 COUNT!!", r.colour));
            EXPECT_TRUE(rig.Shows(0, 530, "Last Enemy!!", r.colour));
        }
    }
}
