// Robot records and catalogue, the select screen and the pre-fight screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "frames/cell_layout.h"
#include "robots/builders.h"
#include "robots/validator.h"
#include "shell/form.h"
#include "test_support.h"

using testing_support::CountIndex;

namespace {

dw::ColorTable GreyPalette() {
    dw::ColorTable t{};
    for (int i = 0; i < 256; ++i) t[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    t[250] = {255, 0, 0};    // red
    t[251] = {0, 0, 255};    // blue
    t[252] = {0, 128, 0};    // green
    t[253] = {0, 120, 0};    // dark green
    t[254] = {180, 0, 0};    // bar red
    t[255] = {0, 0, 180};    // bar blue
    return t;
}

// A form with drawing tools and catalogue; screens draw into our surface. The display and
// the working directory are there for the robot loads that leaving the select screen runs.
struct Rig {
    testing_support::ScopedCwd cwd{DW_GAME_DATA_DIR};
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    std::unique_ptr<dw::Surface> back = dw::Surface::Create(800, 600);
    dw::ColorTable palette = GreyPalette();

    Rig() {
        form->DirectDrawObj = std::make_unique<dw::Display>();
        form->DirectDrawObj->Open("test", true);
        form->CreateDrawingTools();
        form->FillRoster();
        form->BuildDammyWeapon();
        form->BuildDefaultMotions();
    }
    void Draw(void (TForm1::*draw)()) {
        back->Fill(7);
        form->BackDC.emplace(*back, palette);
        (form.get()->*draw)();
        form->BackDC.reset();
    }
    bool Shows(int x, int y, const char* text, dw::ColorRef colour, int font) {
        return testing_support::TextShows(*back, palette, form->Fonts[size_t(font)].get(), x, y, text, colour);
    }
    void Step(dw::Key key, bool down) {
        form->Keys.Press(key, down);
        form->ControlHead();
        form->SelectStage();
    }
    void Tap(dw::Key key) {
        Step(key, true);
        Step(key, false);
    }
};

}  // namespace

TEST(RobotRecords, HeadingSlotsAndSteps) {
    // Slots hold headings 0, 1, 7, 2, 6, 4, 3, 5: every heading has its own slot.
    const int slotHeading[8] = {0, 1, 7, 2, 6, 4, 3, 5};
    for (int s = 0; s < 8; ++s) EXPECT_EQ(HeadingSlot(slotHeading[s]), s);
    ShotNode n, targets[8];
    for (int d = 0; d < 8; ++d) LaunchLink(n, d) = &targets[d];
    for (int d = 0; d < 8; ++d) EXPECT_EQ(n.LaunchLinks[HeadingSlot(d)], &targets[d]);
    EXPECT_EQ(n.LaunchLinks[2], &targets[7]);

    // "a on the axis headings, b on the diagonals" with the heading signs.
    const LaunchOffset expect[8] = {{0, -5}, {3, -3}, {5, 0}, {3, 3}, {0, 5}, {-3, 3}, {-5, 0}, {-3, -3}};
    for (int h = 0; h < 8; ++h) {
        EXPECT_EQ(AxisStep(h, 5, 3).x, expect[h].x) << h;
        EXPECT_EQ(AxisStep(h, 5, 3).y, expect[h].y) << h;
    }

    // Launch links of a column point every node at that column's starts.
    auto table = std::make_unique<ShotTable>();
    SetColumnLaunchLinks(*table, 4, 3);
    LinkChain(*table, 2, 4, 3);
    EXPECT_EQ(LaunchLink(table->Node[6][4][2], 3), &table->Node[3][4][0]);
    EXPECT_EQ(table->Node[2][4][1].Next, &table->Node[2][4][2]);
    EXPECT_EQ(table->Node[2][4][2].Next, nullptr);
}

TEST(RobotRecords, ResetsClearReferencesAndPlaceholderLeadsToItself) {
    Rig rig;
    TForm1& f = *rig.form;
    ShotRecord r;
    r.Weapon = &f.DammyWeapon;
    r.Node = &f.DammyShotTable.Node[0][0][0];
    r.Active = r.Visible = r.HitArmed = 1;
    r.Ticks = 9;
    ResetShot(r);
    EXPECT_EQ(r.Weapon, nullptr);
    EXPECT_EQ(r.Node, nullptr);
    EXPECT_EQ(r.PosX, 10);
    EXPECT_EQ(r.PosY, 10);
    EXPECT_EQ(r.Active + r.Visible + r.HitArmed + r.Ticks, 0);
    FighterState fighter;
    fighter.Spec = &f.P1Spec;
    fighter.CurrentNode = &f.P1Graph.Node[0][0];
    ResetFighter(fighter);
    EXPECT_EQ(fighter.Spec, nullptr);
    EXPECT_EQ(fighter.CurrentNode, nullptr);

    EXPECT_EQ(f.DammyWeapon.StartAmmo, 100);
    EXPECT_EQ(f.DammyWeapon.Rows, 1);
    EXPECT_EQ(f.DammyWeapon.Columns, 1);
    EXPECT_EQ(f.DammyWeapon.VanishOnHit + f.DammyWeapon.DisarmOnHit, 2);
    for (auto& heading : f.DammyShotTable.Node)
        for (auto& column : heading)
            for (ShotNode& n : column) {
                ASSERT_EQ(n.Next, &n);
                for (int d = 0; d < 8; ++d) ASSERT_EQ(LaunchLink(n, d), &n);
            }
}

TEST(RobotRecords, SpriteFramesAndCatalogue) {
    Rig rig;
    TForm1& f = *rig.form;
    for (const MotionTable& t : f.DefaultMotions)
        for (int facing = 0; facing < 8; ++facing)
            for (int m = 0; m < dw::kSheetMotions; ++m)
                for (int fr = 0; fr < dw::kSheetFrames; ++fr) {
                    const MotionPiece& p = t.Piece[facing][m][fr];
                    ASSERT_GT(p.SrcRight, p.SrcLeft);
                    ASSERT_GT(p.SrcBottom, p.SrcTop);
                    ASSERT_LE(p.SrcRight, dw::kSheetWidth);
                    ASSERT_LE(p.SrcBottom, dw::kSheetHeight);
                    ASSERT_GT(p.HalfWidth, 0);
                    // Facings 5..7 draw 3..1 mirrored, so they take the same cells.
                    if (facing >= 5) {
                        const MotionPiece& q = t.Piece[8 - facing][m][fr];
                        ASSERT_EQ(p.SrcLeft, q.SrcLeft);
                        ASSERT_EQ(p.SrcTop, q.SrcTop);
                    }
                }

    const RosterEntry& d2e = f.Roster[size_t(RosterIndex(14))];
    EXPECT_STREQ(d2e.WeaponName[0], "LONG-RIFLE");
    EXPECT_STREQ(d2e.WeaponName[1], "CRAW");
    EXPECT_STREQ(d2e.WeaponName[2], "LAZER");
    EXPECT_STREQ(d2e.WeaponName[3], "NOTHING");
    const RosterEntry& zora = f.Roster[size_t(RosterIndex(12))];
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(zora.WeaponName[i], "NOTHING");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(zora.Rating[i], 1);
    for (const RosterEntry& e : f.Roster) {
        for (int r : e.Rating) {
            EXPECT_GE(r, 1);
            EXPECT_LE(r, 3);
        }
        EXPECT_EQ(e.Cell[2] - e.Cell[0], 149);
        EXPECT_EQ(e.Cell[0] % 150, 0);
        EXPECT_EQ(e.Cell[1] % 150, 0);
    }
    EXPECT_EQ(RosterIndex(6), RosterIndex(16));
    for (int id : {-1, 0, 7, 9, 10, 17, 1000}) EXPECT_EQ(RosterIndex(id), -1);
}

TEST(SelectStep, CursorsDecisionsAndSpeed) {
    Rig rig;
    TForm1& f = *rig.form;
    f.GameState = kStateSelect;
    f.GameMode = 2;
    f.P1RobotId = f.P2RobotId = 1;

    // Player 1 down to 5, no further while the hidden robot is locked; right to the second row.
    for (int i = 0; i < 6; ++i) rig.Tap(dw::Key::S);
    EXPECT_EQ(f.P1RobotId, 5);
    rig.Tap(dw::Key::D);
    EXPECT_EQ(f.P1RobotId, 15);
    rig.Tap(dw::Key::W);
    rig.Tap(dw::Key::W);
    rig.Tap(dw::Key::W);
    EXPECT_EQ(f.P1RobotId, 12);
    // Zo-Ra cannot be decided.
    rig.Tap(dw::Key::G);
    EXPECT_EQ(f.P1Decided, 0);
    rig.Tap(dw::Key::S);
    rig.Tap(dw::Key::G);
    EXPECT_EQ(f.P1Decided, 1);
    EXPECT_EQ(f.P1RobotId, 13);
    rig.Tap(dw::Key::W);  // decided: the cursor stays
    EXPECT_EQ(f.P1RobotId, 13);

    // Player 2 on its own keys; with the hidden robot unlocked it reaches the sixth place.
    f.SurvivalTable[0].Value = 10;
    for (int i = 0; i < 6; ++i) rig.Tap(dw::Key::Down);
    EXPECT_EQ(f.P2RobotId, 6);

    // Guard speeds the game up, dash slows it down, within 0..100.
    f.FrameWait = 1;
    rig.Tap(dw::Key::B);
    rig.Tap(dw::Key::B);
    EXPECT_EQ(f.FrameWait, 0);
    f.FrameWait = 99;
    rig.Tap(dw::Key::V);
    rig.Tap(dw::Key::V);
    EXPECT_EQ(f.FrameWait, 100);

    // Both decided: fifteen frames later the pre-fight screen.
    rig.Tap(dw::Key::Pad1);
    EXPECT_EQ(f.P2Decided, 1);
    for (int i = 0; i < 20 && f.GameState == kStateSelect; ++i) rig.Step(dw::Key::Count, false);
    EXPECT_EQ(f.GameState, kStatePreFight);
    EXPECT_EQ(f.StateFrames, 15);
}

TEST(SelectStep, SecondPlayerOnlyInTwoPlayerModeAndHiddenLocked) {
    Rig rig;
    TForm1& f = *rig.form;
    f.GameState = kStateSelect;
    f.GameMode = 3;
    f.P1RobotId = f.P2RobotId = 1;
    rig.Tap(dw::Key::Down);
    rig.Tap(dw::Key::Pad1);
    EXPECT_EQ(f.P2RobotId, 1);
    EXPECT_EQ(f.P2Decided, 0);
    f.P1RobotId = 5;
    for (int i = 0; i < 3; ++i) rig.Tap(dw::Key::S);
    EXPECT_EQ(f.P1RobotId, 5);  // the hidden robot stays out of reach
    rig.Tap(dw::Key::G);         // one player is enough outside the two-player mode
    for (int i = 0; i < 20 && f.GameState == kStateSelect; ++i) rig.Step(dw::Key::Count, false);
    EXPECT_EQ(f.GameState, kStatePreFight);
}

TEST(SelectScreen, ListsMarksSpeedAndOutOfCatalogueIds) {
    Rig rig;
    TForm1& f = *rig.form;
    f.GameMode = 1;
    f.FrameWait = 0;
    f.P1RobotId = 14;
    f.P2RobotId = 3;
    rig.Draw(&TForm1::Draw_Select);
    EXPECT_TRUE(rig.Shows(300, 310, "GAME-SPEED = 100", 0x008000, 2));
    EXPECT_TRUE(rig.Shows(15, 15, "PeTS", 0x008000, 2));
    EXPECT_TRUE(rig.Shows(595, 15, "Aps", 0x008000, 2));  // player 2's list by its own row
    EXPECT_TRUE(rig.Shows(600, 60, "Zeredi vovu Ridodar", 0x008000, 2));
    EXPECT_TRUE(rig.Shows(225, 350, "LONG-RIFLE", 0x008000, 2));
    const uint8_t blue = dw::NearestIndex(rig.palette, 0xFF0000);
    const uint8_t red = dw::NearestIndex(rig.palette, 0x0000FF);
    // Player 1's mark under its fourth name; player 2 has none outside the two-player mode.
    EXPECT_EQ(CountIndex(*rig.back, {20, 200, 170, 201}, blue), 150);
    EXPECT_EQ(CountIndex(*rig.back, {590, 0, 800, 300}, red), 0);

    f.GameMode = 2;
    f.FrameWait = 100;
    f.P1RobotId = 16;  // the hidden robot: no mark in its list, its entry in the panels
    rig.Draw(&TForm1::Draw_Select);
    EXPECT_TRUE(rig.Shows(300, 310, "GAME-SPEED = 0", 0x008000, 2));
    EXPECT_TRUE(rig.Shows(225, 350, "LONG-RIFLE", 0x008000, 2));
    EXPECT_TRUE(rig.Shows(225, 365, "FIRE-FLY", 0x008000, 2));
    for (int k = 1; k <= 5; ++k)
        EXPECT_LT(CountIndex(*rig.back, {20, 40 + 40 * k, 170, 41 + 40 * k}, blue), 150) << k;
    EXPECT_EQ(CountIndex(*rig.back, {600, 160, 750, 161}, red), 150);  // player 2's mark on 3
    EXPECT_GT(CountIndex(*rig.back, {590, 300, 791, 301}, red), 190);  // and its arrows

    // Ids outside the catalogue draw without reading outside it.
    f.SheetSurface1 = dw::Surface::Create(750, 450);
    f.SheetSurface2 = dw::Surface::Create(750, 450);
    for (int id : {-7, 0, 7, 10, 99, INT32_MIN}) {
        f.P1RobotId = id;
        f.P2RobotId = id;
        rig.Draw(&TForm1::Draw_Select);
        rig.Draw(&TForm1::Draw_BS);
    }
}

TEST(PreFightScreen, NamesFadeAndRunProgress) {
    Rig rig;
    TForm1& f = *rig.form;
    f.GameMode = 4;
    f.LimitEnemy = 8;
    f.LimitFrames = 5000;
    f.LimitElapsed = 1234;
    f.P1RobotId = 6;
    f.P2RobotId = 6;
    f.StateFrames = 15;
    rig.Draw(&TForm1::Draw_BS);
    EXPECT_TRUE(rig.Shows(0, 530, "Last Enemy!!", 0xFFFFFF, 1));
    EXPECT_TRUE(rig.Shows(0, 550, "LIMIT MODE :REST IS 3766 COUNT!!", 0xFFFFFF, 1));
    EXPECT_TRUE(rig.Shows(300, 240, "ViveraziV", 0xFFFFFF, 1));
    EXPECT_TRUE(rig.Shows(360, 320, "ZAroru vave Varizoz", 0xFFFFFF, 1));
    EXPECT_TRUE(rig.Shows(340, 290, "VS", 0xFFFFFF, 1));

    f.GameMode = 2;
    f.P1RobotId = 11;
    f.StateFrames = 240;
    rig.Draw(&TForm1::Draw_BS);
    EXPECT_TRUE(rig.Shows(360, 320, "ViveraziV", 0x3F3F3F, 1));
    EXPECT_TRUE(rig.Shows(300, 240, "Dezi Vor", 0x3F3F3F, 1));
    EXPECT_FALSE(rig.Shows(0, 530, "Last Enemy!!", 0x3F3F3F, 1));

    f.GameMode = 3;
    f.SurvivalScore = 4;
    for (int frames : {0, 50, 51, 150, 151}) {
        f.StateFrames = frames;
        rig.Draw(&TForm1::Draw_BS);
        const dw::ColorRef c = frames <= 50 ? 0xFFFFFF : frames <= 100 ? 0xBFBFBF : frames <= 150 ? 0x7F7F7F : 0x5F5F5F;
        EXPECT_TRUE(rig.Shows(0, 550, "SURVIVAL MODE :SCORE IS 4 POINT!!", c, 1)) << frames;
        EXPECT_TRUE(rig.Shows(0, 530, "Return:F1 KEY ON KEYBOARD!", c, 1));
    }
}

TEST(RobotValidator, FindsBrokenLinksAndMissingFrames) {
    Rig rig;
    TForm1& f = *rig.form;
    // A tiny sound robot: one idle node, a one-node shot in each slot.
    PlayerRefs p = f.Player(0);
    ActionNode& idle = p.graph.Node[0][0];
    idle = ActionNode{};
    idle.Duration = 1;
    idle.Next[kSlotDefault] = &idle;
    p.motion = f.DefaultMotions[1];
    p.fighter.Spec = &p.spec;
    p.fighter.CurrentNode = &idle;
    for (int k = 0; k < 4; ++k) {
        ShotTable& t = p.shotTables[size_t(k)];
        p.weapons[size_t(k)].Rows = 1;
        p.weapons[size_t(k)].Columns = 1;
        for (int h = 0; h < 8; ++h) t.Node[h][0][0].Duration = 1;
        SetColumnLaunchLinks(t, 0, 1);
        for (auto& row : f.Shots.Record[k])
            for (ShotRecord& r : row) {
                r.Weapon = &p.weapons[size_t(k)];
                r.Node = &t.Node[0][0][0];
            }
    }
    EXPECT_TRUE(ValidateRobot(f, 0).empty());

    // Each fault on its own is found.
    idle.Next[kSlotHit] = &p.graph.Node[6][0];  // an unwritten node: duration 0
    EXPECT_FALSE(ValidateRobot(f, 0).empty());
    idle.Next[kSlotHit] = &f.P2Graph.Node[0][0];  // the other player's graph
    EXPECT_FALSE(ValidateRobot(f, 0).empty());
    idle.Next[kSlotHit] = nullptr;
    idle.Motion = 8;  // a motion no sheet row holds
    EXPECT_FALSE(ValidateRobot(f, 0).empty());
    idle.Motion = 0;
    ShotNode& shot = p.shotTables[1].Node[0][0][0];
    shot.MoveKind = kMoveBranch;  // a steer node without its homing links
    EXPECT_FALSE(ValidateRobot(f, 0).empty());
    shot.MoveKind = kMoveStraight;
    shot.Next = &f.P2ShotTables[1].Node[0][0][0];
    EXPECT_FALSE(ValidateRobot(f, 0).empty());
    shot.Next = nullptr;
    EXPECT_TRUE(ValidateRobot(f, 0).empty());
}
