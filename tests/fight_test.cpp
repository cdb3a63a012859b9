// The fight engine: fighters, firing, shots, hits, the fight loop, and D-2-E in a fight.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "fight/fighter.h"
#include "platform/resources.h"
#include "fight/shots.h"
#include "robots/builders.h"
#include "robots/d2e/d2e.h"
#include "robots/validator.h"
#include "shell/form.h"
#include "test_support.h"

namespace {

// Two D-2-Es in a two-player fight, without a display: the frame is stepped by hand.
struct FightRig {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;

    FightRig() {
        // The view sheets load from the game's data directory into a real (dummy) display.
        testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
        dw::Display::SetPacing(false);
        f.DirectDrawObj = std::make_unique<dw::Display>();
        f.DirectDrawObj->Open("test", true);
        f.BuildDammyWeapon();
        f.BuildDefaultMotions();
        f.GameMode = 2;
        f.P1RobotId = f.P2RobotId = 14;
        f.ToBefore();  // no display: the loads stop at the view sheets, after all the records
        f.ResetBackGrid();
        for (int p = 0; p < 2; ++p) {
            FighterState& fi = f.Player(p).fighter;
            for (int k = 0; k < 4; ++k)
                if (const WeaponData* w = f.Shots.Record[f.Player(p).firstGroup + k][0][0].Weapon)
                    fi.Ammo[k] = w->StartAmmo;
        }
        Place(400, 450, 400, 150);
        f.GameState = kStateFight;
    }
    void Place(int x1, int y1, int x2, int y2) {
        f.P1Fighter.PosX = x1;
        f.P1Fighter.PosY = y1;
        f.P2Fighter.PosX = x2;
        f.P2Fighter.PosY = y2;
    }
    void Hold(dw::Key k, bool down = true) { f.Keys.Press(k, down); }
    void Frame(int n = 1) {
        for (int i = 0; i < n; ++i) {
            f.ControlHead();
            f.FightStage();
        }
    }
    int ActiveShots(int group) { return testing_support::ActiveShots(f, group); }
};

// A one-node straight shot weapon in player 1's slot 1, for engine rules on our own tables.
void MakeTestWeapon(TForm1& f, int moveKind, int cost, int rows, int columns) {
    WeaponData& w = f.P1Weapons[0];
    ShotTable& t = f.P1ShotTables[0];
    w.Rows = rows;
    w.Columns = columns;
    w.EnergyCost = cost;
    w.StartAmmo = 3;
    for (int h = 0; h < 8; ++h)
        for (int c = 0; c < columns; ++c) {
            w.LaunchPoint[h][c] = {c * 10, -40};
            ShotNode& n = t.Node[h][c][0];
            n = ShotNode{};
            n.Duration = 5;
            n.MoveKind = moveKind;
            n.HitKind = kHitNone;
        }
    for (int c = 0; c < columns; ++c) SetColumnLaunchLinks(t, c, 1);
    for (auto& row : f.Shots.Record[0])
        for (ShotRecord& r : row) r.Node = &t.Node[0][0][0];
}

}  // namespace

TEST(FightRules, DirectionToHonoursThirtyDegreeBorders) {
    EXPECT_EQ(DirectionTo(0, 0, 0, -10), 0);
    EXPECT_EQ(DirectionTo(0, 0, 10, 0), 2);
    EXPECT_EQ(DirectionTo(0, 0, 0, 10), 4);
    EXPECT_EQ(DirectionTo(0, 0, -10, 0), 6);
    EXPECT_EQ(DirectionTo(0, 0, 10, -10), 1);
    EXPECT_EQ(DirectionTo(0, 0, 10, 10), 3);
    EXPECT_EQ(DirectionTo(0, 0, -10, 10), 5);
    EXPECT_EQ(DirectionTo(0, 0, -10, -10), 7);
    // Just inside and just outside 30 degrees off the vertical axis.
    const double in = std::tan(29.5 * M_PI / 180) * 1000, out = std::tan(30.5 * M_PI / 180) * 1000;
    EXPECT_EQ(DirectionTo(0, 0, int(in), -1000), 0);
    EXPECT_EQ(DirectionTo(0, 0, int(out), -1000), 1);
    EXPECT_EQ(DirectionTo(0, 0, -1000, int(in)), 6);
    EXPECT_EQ(DirectionTo(0, 0, -1000, int(out)), 5);
    EXPECT_EQ(DirectionTo(5, 5, 5, 5), 0);
}

TEST(FightRules, SticksHoldCountersAndSpeeds) {
    FightRig rig;
    FighterState& f = rig.f.P1Fighter;
    f.Facing = 0;
    f.Horizontal = 1;
    f.Vertical = -1;
    for (int i = 0; i < 5; ++i) ApplyControls(f);
    EXPECT_EQ(f.StickCode, 12);
    EXPECT_EQ(f.HoldRight, 3);
    EXPECT_EQ(f.HoldUp, 3);
    f.Horizontal = -1;
    ApplyControls(f);
    EXPECT_EQ(f.HoldLeft, 1);
    EXPECT_EQ(f.HoldRight, 0);
    UpdateWalkSpeeds(f);
    // Facing 0, up-left, first frame left (base 4 + 1 for D-2-E) and third frame up (4 + 2 + 1).
    EXPECT_EQ(f.SpeedLeft, 5);
    EXPECT_EQ(f.SpeedUp, 7);
    // Undriven speeds fall by one every DecayPeriod (3) frames.
    f.Horizontal = f.Vertical = 0;
    ApplyControls(f);
    f.DecayCount = 0;
    for (int i = 0; i < 3; ++i) UpdateWalkSpeeds(f);
    EXPECT_EQ(f.SpeedLeft, 4);
    EXPECT_EQ(f.SpeedUp, 6);
}

TEST(FightRules, PaymentAtTheExactLimits) {
    {  // beam: needs Energy - 10 x cost > 0, pays once per row
        FightRig rig;
        TForm1& f = rig.f;
        FighterState& p1 = f.P1Fighter;
        MakeTestWeapon(f, kMoveBeam, 30, 1, 10);
        p1.ActionState = 1;
        p1.CurrentNode = &f.P1Graph.Node[1][1];  // D-2-E's rifle fire node
        p1.Energy = 300;
        f.ShotWeapon(0);
        EXPECT_EQ(rig.ActiveShots(0), 0);
        p1.Energy = 301;
        f.ShotWeapon(0);
        EXPECT_EQ(rig.ActiveShots(0), 10);
        EXPECT_EQ(p1.Energy, 1);
        EXPECT_EQ(p1.FireLatch, 1);
    }
    {  // close combat: needs Energy - cost > 0, pays per shot
        FightRig rig;
        TForm1& f = rig.f;
        FighterState& p1 = f.P1Fighter;
        MakeTestWeapon(f, kMoveMelee, 5, 1, 3);
        p1.ActionState = 1;
        p1.CurrentNode = &f.P1Graph.Node[1][1];
        p1.Energy = 11;  // pays 5 and 5; the third would leave 1 - 5 <= 0
        f.ShotWeapon(0);
        EXPECT_EQ(rig.ActiveShots(0), 2);
        EXPECT_EQ(p1.Energy, 1);
        EXPECT_EQ(p1.FireLatch, 0);  // the row was not finished
    }
    {  // ammunition: at least 1 round, 1 per shot
        FightRig rig;
        TForm1& f = rig.f;
        FighterState& p1 = f.P1Fighter;
        MakeTestWeapon(f, kMoveStraight, 0, 8, 2);
        p1.ActionState = 1;
        p1.CurrentNode = &f.P1Graph.Node[1][1];
        p1.Ammo[0] = 3;
        for (int i = 0; i < 3; ++i) {
            p1.FireLatch = 0;
            f.ShotWeapon(0);
        }
        EXPECT_EQ(rig.ActiveShots(0), 3);
        EXPECT_EQ(p1.Ammo[0], 0);
        // The second volley went into the first free row.
        EXPECT_EQ(f.Shots.Record[0][1][0].Active, 1);
        EXPECT_EQ(f.Shots.Record[0][1][1].Active, 0);
    }
    {  // a chain with no start for the facing launches nothing and costs nothing
        FightRig rig;
        TForm1& f = rig.f;
        FighterState& p1 = f.P1Fighter;
        MakeTestWeapon(f, kMoveStraight, 0, 1, 1);
        LaunchLink(f.P1ShotTables[0].Node[0][0][0], 2) = nullptr;
        p1.ActionState = 1;
        p1.CurrentNode = &f.P1Graph.Node[1][1];
        p1.Facing = 2;
        p1.Ammo[0] = 3;
        f.ShotWeapon(0);
        EXPECT_EQ(rig.ActiveShots(0), 0);
        EXPECT_EQ(p1.Ammo[0], 3);
    }
    {  // the placeholder weapon never fires, nor outside states 1..4
        FightRig rig;
        TForm1& f = rig.f;
        FighterState& p1 = f.P1Fighter;
        p1.CurrentNode = &f.P1Graph.Node[1][1];
        p1.ActionState = 4;
        f.ShotWeapon(0);
        p1.ActionState = 5;
        f.ShotWeapon(0);
        for (int g = 0; g < 4; ++g) EXPECT_EQ(rig.ActiveShots(g), 0);
    }
}

TEST(FightRules, HeldButtonFiresOneVolleyPerPress) {
    FightRig rig;
    TForm1& f = rig.f;
    rig.Place(400, 450, 700, 100);  // out of the rifle's line
    rig.Hold(dw::Key::G);
    rig.Frame(60);  // held: the rifle sequence loops 1.1..1.3 but fires once
    EXPECT_EQ(f.P1Fighter.Ammo[0], 79);
    rig.Hold(dw::Key::G, false);
    rig.Frame(1);
    rig.Hold(dw::Key::G);
    rig.Frame(3);
    EXPECT_EQ(f.P1Fighter.Ammo[0], 78);
    // Each further press, held through a whole loop of the sequence, fires one volley.
    for (int i = 0; i < 4; ++i) {
        rig.Hold(dw::Key::G, false);
        rig.Frame(1);
        rig.Hold(dw::Key::G);
        rig.Frame(20);
    }
    EXPECT_EQ(f.P1Fighter.Ammo[0], 74);
}

TEST(FightRules, HitsGuardsStunAndKnockback) {
    FightRig rig;
    TForm1& f = rig.f;
    FighterState& p2 = f.P2Fighter;
    // A rifle shot placed right on player 2: 28 damage, stun 24, pushed along heading 0.
    ShotRecord& r = f.Shots.Record[0][0][0];
    auto launch = [&](int x, int y) {
        r.Node = &f.P1ShotTables[0].Node[0][0][0];
        r.Active = r.HitArmed = r.Visible = 1;
        r.Heading = 0;
        r.PosX = x;
        r.PosY = y;
        r.Ticks = 3;
    };
    launch(p2.PosX, p2.PosY + 20);
    const int y0 = p2.PosY;
    EXPECT_EQ(f.HitShot(r, 1), 1);
    EXPECT_EQ(p2.Armour, 480 - 28);
    EXPECT_EQ(p2.ActionState, 6);
    EXPECT_EQ(p2.StunTime, 24);
    EXPECT_EQ(p2.CurrentNode, &f.P2Graph.Node[6][0]);
    EXPECT_LT(p2.PosY, y0);       // pushed up, along the shot's heading
    EXPECT_EQ(r.Visible, 0);      // the rifle vanishes and is disarmed on a hit
    EXPECT_EQ(r.HitArmed, 0);
    EXPECT_EQ(r.Ticks, 0);
    EXPECT_EQ(f.HitShot(r, 1), 0);  // disarmed: no second hit
    // A hit during the hit reaction keeps the larger stun.
    p2.StunTime = 50;
    launch(p2.PosX, p2.PosY);
    f.HitShot(r, 1);
    EXPECT_EQ(p2.StunTime, 50);

    // A guarding victim takes a quarter, truncated, and keeps guarding unless the shot breaks guards.
    p2.ActionState = 5;
    p2.CurrentNode = &f.P2Graph.Node[5][0];
    const int armour = p2.Armour;
    launch(p2.PosX, p2.PosY);
    f.HitShot(r, 1);
    EXPECT_EQ(p2.Armour, armour - 7);
    EXPECT_EQ(p2.ActionState, 5);
    // The claw breaks guards: 32 / 4 = 8, and the victim is thrown into its hit successor.
    ShotRecord& claw = f.Shots.Record[1][0][0];
    claw.Node = &f.P1ShotTables[1].Node[0][0][0];
    claw.Active = claw.HitArmed = claw.Visible = 1;
    claw.PosX = p2.PosX;
    claw.PosY = p2.PosY;
    f.HitShot(claw, 1);
    EXPECT_EQ(p2.Armour, armour - 7 - 8);
    EXPECT_EQ(p2.ActionState, 6);
    EXPECT_EQ(p2.StunTime, 110);
    EXPECT_EQ(claw.Visible, 1);  // the claw stays, disarmed
    EXPECT_EQ(claw.HitArmed, 0);
}

TEST(FightRules, ShotNodesImpactHomingAndOwnerHits) {
    FightRig rig;
    TForm1& f = rig.f;
    ShotTable& t = f.P1ShotTables[0];
    // A chain: 0 steers, 1/2 are its targets, 3 burns out, 4 is the impact that then ends.
    for (int h = 0; h < 8; ++h) {
        ShotNode& n = t.Node[h][0][1];
        n = ShotNode{};
        n.Duration = 2;
        n.Dx = 3 * kHeadingSignX[h];
        n.Dy = 3 * kHeadingSignY[h];
    }
    ShotNode& steer = t.Node[0][0][0];
    steer = ShotNode{};
    steer.Duration = 1;
    steer.MoveKind = kMoveBranch;
    SetHomingLinks(steer, [&](int d) { return &t.Node[d][0][1]; });
    ShotRecord r;
    r.Active = 1;
    r.Node = &steer;
    r.PosX = 0;
    r.PosY = 0;
    FighterState target;
    target.PosX = 100;
    target.PosY = 0;
    MoveShot(r, f.P1Fighter, target);
    EXPECT_EQ(r.Heading, 2);
    EXPECT_EQ(r.Node, &t.Node[2][0][1]);
    EXPECT_EQ(r.PosX, 3);  // the new node's step in the same frame

    // Homing step: heading toward the target, then (Dx, Dy) with that heading's signs.
    ShotNode homing{};
    homing.MoveKind = kMoveHoming;
    homing.Dx = 4;
    homing.Dy = 6;
    homing.Duration = 9;
    r.Node = &homing;
    r.PosX = r.PosY = 0;
    target.PosX = -50;
    target.PosY = 50;
    MoveShot(r, f.P1Fighter, target);
    EXPECT_EQ(r.Heading, 5);
    EXPECT_EQ(r.PosX, -4);
    EXPECT_EQ(r.PosY, 6);

    // HitKind 3 moves to the impact node at its next test, with its ticks restarted.
    ShotNode impact{}, now{};
    impact.Duration = 2;
    now.HitKind = kHitImpactNow;
    now.Duration = 10;
    now.ImpactNode = &impact;
    r.Node = &now;
    r.Ticks = 4;
    EXPECT_EQ(f.HitShot(r, 1), 0);
    EXPECT_EQ(r.Node, &impact);
    EXPECT_EQ(r.Ticks, 0);
    StepShotNode(r, f.P1Fighter);
    StepShotNode(r, f.P1Fighter);
    EXPECT_EQ(r.Active, 0);  // the impact node had no successor: the shot ended on it
    EXPECT_EQ(r.Node, &impact);

    // A shot that ends when its owner is hit.
    ShotNode claw{};
    claw.Duration = 10;
    claw.EndsOnOwnerHit = 1;
    r = ShotRecord{};
    r.Active = r.Visible = r.HitArmed = 1;
    r.Node = &claw;
    f.P1Fighter.ActionState = 6;
    StepShotNode(r, f.P1Fighter);
    EXPECT_EQ(r.Active + r.Visible + r.HitArmed, 0);
}

TEST(D2E, RecordsAfterLoadingIntoEachPlayer) {
    FightRig rig;
    TForm1& f = rig.f;
    for (int p = 0; p < 2; ++p) {
        EXPECT_TRUE(ValidateRobot(f, p).empty()) << ValidateRobot(f, p)[0];
        const FighterState& fi = f.Player(p).fighter;
        EXPECT_EQ(fi.Armour, 480);
        EXPECT_EQ(fi.Energy, 450);
        EXPECT_EQ(fi.Ammo[0], 80);
        EXPECT_EQ(fi.Ammo[3], 100);  // the placeholder's rounds
        EXPECT_EQ(f.Shots.Record[f.Player(p).firstGroup + 3][7][9].Weapon, &f.DammyWeapon);
        EXPECT_EQ(std::memcmp(&f.Player(p).motion, &f.DefaultMotions[1], sizeof(MotionTable)), 0);
    }
    // Speeds with modifier +1: facing 0 right 6, 7, 8; the fixed step-3 exceptions.
    EXPECT_EQ(f.P1Spec.NormalSpeed.Block[0].Speed[0][1][0], 6);
    EXPECT_EQ(f.P1Spec.NormalSpeed.Block[0].Speed[0][3][0], 8);
    EXPECT_EQ(f.P1Spec.NormalSpeed.Block[2].Speed[0][3][0], 8);
    EXPECT_EQ(f.P1Spec.DashSpeed.Block[2].Speed[0][3][0], 13);
    EXPECT_EQ(f.P1Spec.DashSpeed.Block[6].Speed[1][3][0], 13);
    EXPECT_EQ(f.P1Fighter.NormalSpeed.Block[0].DecayPeriod, 3);

    // LAZER's launch points: 45 + 80n on an axis, 45 + 70n each way on a diagonal.
    EXPECT_EQ(f.P1Weapons[2].LaunchPoint[1][0].x, 45);
    EXPECT_EQ(f.P1Weapons[2].LaunchPoint[1][0].y, -45);
    EXPECT_EQ(f.P1Weapons[2].LaunchPoint[6][4].x, -365);
    EXPECT_EQ(f.P1Weapons[2].LaunchPoint[3][9].x, 675);
    EXPECT_EQ(f.P1Weapons[2].LaunchPoint[0][9].y, -765);

    // A load into player 2 leaves player 1's records as they were.
    auto before = std::make_unique<TForm1>();
    std::memcpy(static_cast<void*>(&before->P1Graph), &f.P1Graph, sizeof(ActionGraph));
    RobotSpec spec = f.P1Spec;
    f.LoadRobot(1, kD2ERow);
    EXPECT_EQ(std::memcmp(&before->P1Graph, &f.P1Graph, sizeof(ActionGraph)), 0);
    EXPECT_EQ(std::memcmp(&spec, &f.P1Spec, sizeof(RobotSpec)), 0);
}

TEST(D2E, WeaponTimingsInAFight) {
    {  // rifle: a 20-frame sequence, the shot flies 20 px a frame for 50 frames
        FightRig rig;
        TForm1& f = rig.f;
        rig.Place(400, 480, 560, 120);  // facing up, the opponent off the line of fire
        rig.Hold(dw::Key::G);
        rig.Frame(1);
        rig.Hold(dw::Key::G, false);
        int fired = -1;
        for (int i = 1; i < 30 && fired < 0; ++i) {
            rig.Frame(1);
            if (f.Shots.Record[0][0][0].Active) fired = i;
        }
        EXPECT_EQ(fired, 7);  // the idle frame, then the 6-frame lead-in
        const int y = f.Shots.Record[0][0][0].PosY;
        rig.Frame(10);
        EXPECT_EQ(f.Shots.Record[0][0][0].PosY, y - 200);
        rig.Frame(40);
        EXPECT_EQ(f.Shots.Record[0][0][0].Active, 0);
        EXPECT_EQ(f.P1Fighter.ActionState, 0);
    }
    {  // LAZER: fires above 300 energy and not at 300
        FightRig rig;
        TForm1& f = rig.f;
        rig.Place(400, 480, 760, 140);
        rig.Hold(dw::Key::J);
        rig.Frame(1);
        rig.Hold(dw::Key::J, false);
        rig.Frame(16);  // the wind-up; the beam fires in the next frame
        f.P1Fighter.Energy = 300;
        rig.Frame(1);
        EXPECT_EQ(rig.ActiveShots(2), 0);
        FightRig rig2;
        rig2.Place(400, 480, 760, 140);
        rig2.Hold(dw::Key::J);
        rig2.Frame(1);
        rig2.Hold(dw::Key::J, false);
        rig2.Frame(16);
        rig2.f.P1Fighter.Energy = 301;
        rig2.Frame(1);
        EXPECT_EQ(rig2.ActiveShots(2), 10);
        EXPECT_EQ(rig2.f.P1Fighter.Energy, 2);  // 1 left, and one regained at the frame's end
    }
    {  // claw: 20 frames, one hit of 32, knocked back
        FightRig rig;
        TForm1& f = rig.f;
        rig.Place(400, 300, 400, 250);
        f.P1Fighter.Facing = 0;
        rig.Hold(dw::Key::H);
        rig.Frame(1);
        rig.Hold(dw::Key::H, false);
        rig.Frame(25);
        EXPECT_EQ(f.P2Fighter.Armour, 480 - 32);
        EXPECT_EQ(rig.ActiveShots(1), 0);
    }
}

TEST(FightLoop, KnockOutDrawAndTheNextScreen) {
    FightRig rig;
    TForm1& f = rig.f;
    f.P2Fighter.Armour = 0;
    f.P1Fighter.Armour = 0;
    rig.Frame(1);
    EXPECT_EQ(f.GameState, kStateFightOver);
    EXPECT_EQ(f.Winner, 0);

    // The pinch music starts once, when an armour first falls below a third.
    FightRig pinch;
    pinch.Frame(1);
    EXPECT_FALSE(pinch.f.PinchPlayed);
    pinch.f.P1Fighter.Armour = 480 / 3 - 1;
    pinch.Frame(1);
    EXPECT_TRUE(pinch.f.PinchPlayed);

    // Invalid robot data stops the fight on the error screen, naming the player.
    FightRig broken;
    broken.f.P2Spec.MaxEnergy = 0;
    broken.Frame(1);
    EXPECT_EQ(broken.f.GameState, kStateError);
    EXPECT_EQ(broken.f.ErrorCode, 2);
    FightRig missing;
    missing.f.P1Fighter.Spec = nullptr;
    missing.Frame(1);
    EXPECT_EQ(missing.f.ErrorCode, 1);

    // The Limit budget runs out during the fight proper.
    FightRig limit;
    limit.f.GameMode = 4;
    limit.f.LimitFrames = 5;
    limit.f.LimitElapsed = 3;
    limit.f.LimitEnemy = 4;
    limit.Frame(2);
    EXPECT_EQ(limit.f.GameState, kStateTimeOver);
    EXPECT_EQ(limit.f.LimitEnemy, 1);
}

TEST(FightLoop, FightersNeverOverlapAndStayInTheCameraBox) {
    FightRig rig;
    TForm1& f = rig.f;
    rig.Place(400, 330, 400, 270);
    rig.Hold(dw::Key::W);  // walk into the other robot
    rig.Frame(30);
    EXPECT_GE(std::abs(f.P1Fighter.PosY - f.P2Fighter.PosY), 30);
    rig.Hold(dw::Key::W, false);
    rig.Hold(dw::Key::D);
    rig.Hold(dw::Key::V);  // dash away to the right for a long time
    rig.Frame(200);
    for (const FighterState* fi : {&f.P1Fighter, &f.P2Fighter}) {
        EXPECT_GE(fi->PosX, 150);
        EXPECT_LE(fi->PosX, 650);
    }
    // The ground moved with the camera and stayed on its grid.
    EXPECT_NE(f.BackGrid[0][0].X, -300);
    EXPECT_EQ((f.BackGrid[1][0].X - f.BackGrid[0][0].X + 1600) % 1600, 200);
}

TEST(D2E, RecipeLoadsSheetsAndSoundsInOrder) {
    testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
    auto form = std::make_unique<TForm1>();
    TForm1& f = *form;
    f.DirectDrawObj = std::make_unique<dw::Display>();
    ASSERT_TRUE(f.DirectDrawObj->Open("test", true));
    f.SoundDevice = std::make_unique<dw::SoundDevice>();
    ASSERT_TRUE(f.SoundDevice->Open());
    f.BuildDammyWeapon();
    f.BuildDefaultMotions();
    std::vector<std::string> seen;
    dw::SetResourceObserver([&](dw::ResourceKind, std::string_view name) { seen.emplace_back(name); });
    f.LoadRobot(1, kD2ERow);
    dw::SetResourceObserver({});
    const std::vector<std::string> expected = {
        "p_D2E/st_back.bmp", "p_D2E/st_bs.bmp", "p_D2E/st_front.bmp", "p_D2E/st_fs.bmp", "p_D2E/st_side.bmp",
        "ATTACK1", "ATTACK2", "BEAM", "HITTED4"};
    EXPECT_EQ(seen, expected);
    for (const auto& s : f.P2Sheets) {
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->ColorKey().has_value());
    }
    for (const auto& b : f.P2ShotSounds) EXPECT_NE(b, nullptr);
    EXPECT_EQ(f.P2Sheets[0]->Width(), 640);  // held front, back, fs, bs, side
    // Every record of the used slots starts on node (0, 0, 0) of its own table.
    for (int k = 0; k < 3; ++k)
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 10; ++c) {
                ASSERT_EQ(f.Shots.Record[4 + k][r][c].Node, &f.P2ShotTables[size_t(k)].Node[0][0][0]);
                ASSERT_EQ(f.Shots.Record[4 + k][r][c].Weapon, &f.P2Weapons[size_t(k)]);
            }
    for (const auto& s : f.P1Sheets) EXPECT_EQ(s, nullptr);  // player 1 untouched
    f.EndDirectSound();
}
