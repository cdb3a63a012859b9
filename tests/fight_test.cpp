// The fight engine through the fight rig: moving, firing, shots, hits, the fight loop and
// the fight view, as frame-by-frame scenarios.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "fight/fighter.h"
#include "fight/shots.h"
#include "fight_rig.h"
#include "robots/builders.h"
#include "robots/loading.h"

using fight_rig::Ints;
using fight_rig::Rig;
using testing_support::CountIndex;

namespace {

// The stick groups: right, left, up, up-right, up-left, down, down-left, down-right (Escape: none).
using dw::Key;
constexpr Key kSticks[8][2] = {{Key::D, Key::Escape}, {Key::A, Key::Escape}, {Key::Escape, Key::W}, {Key::D, Key::W},
                               {Key::A, Key::W},      {Key::Escape, Key::S}, {Key::A, Key::S},      {Key::D, Key::S}};
constexpr int kMirrorStick[8] = {1, 0, 2, 4, 3, 5, 7, 6};

// Player 1 stands at (400, 300) with the opponent 200 px off in heading `facing`, holds a
// stick direction (dashing or not) for `frames` frames; how far it moved against the
// opponent, and the energy it spent; `glide` frames after letting go count too.
Ints Walk(Rig& rig, int facing, int stick, bool dash, int frames, int glide = 0) {
    rig.Place(400, 300, 400 + 200 * kHeadingSignX[facing], 300 + 200 * kHeadingSignY[facing]);
    FighterState &p = rig.f.P1Fighter, &o = rig.f.P2Fighter;
    p.SpeedLeft = p.SpeedRight = p.SpeedUp = p.SpeedDown = p.DecayCount = 0;
    p.HoldLeft = p.HoldRight = p.HoldUp = p.HoldDown = p.Dashing = 0;
    p.Energy = p.Spec->MaxEnergy;
    const int x = p.PosX - o.PosX, y = p.PosY - o.PosY;
    rig.Press({kSticks[stick][0], kSticks[stick][1], dash ? Key::V : Key::Escape}, frames);
    rig.Frame(glide);
    return {p.PosX - o.PosX - x, p.PosY - o.PosY - y, p.Spec->MaxEnergy - p.Energy};
}

// The first record of a shot group on `node`, placed at (x, y) with a heading, ready to hit.
ShotRecord& Aim(TForm1& f, int group, ShotNode* node, int x, int y, int heading) {
    ShotRecord& r = f.Shots.Record[group][0][0];
    r = {.PosX = x,
         .PosY = y,
         .Heading = heading,
         .Active = 1,
         .HitArmed = 1,
         .Visible = 1,
         .Ticks = 3,
         .Weapon = r.Weapon,
         .Node = node,
         .Trail = {}};
    return r;
}

// A one-node weapon in player 1's slot 1 built here, for the payment rules.
void TestWeapon(TForm1& f, int moveKind, int cost, int rows, int columns, int energy, int ammo) {
    WeaponData& w = f.P1Weapons[0];
    ShotTable& t = f.P1ShotTables[0];
    w.Rows = rows;
    w.Columns = columns;
    w.EnergyCost = cost;
    for (int h = 0; h < 8; ++h)
        for (int c = 0; c < columns; ++c) t.Node[h][c][0] = ShotNode{.Duration = 5, .MoveKind = moveKind};
    for (int c = 0; c < columns; ++c) SetColumnLaunchLinks(t, c, 1);
    for (auto& row : f.Shots.Record[0])
        for (ShotRecord& r : row) r.Node = &t.Node[0][0][0];
    f.P1Fighter.ActionState = 1;
    f.P1Fighter.CurrentNode = &f.P1Graph.Node[1][1];  // a firing node
    f.P1Fighter.Energy = energy;
    f.P1Fighter.Ammo[0] = ammo;
}

}  // namespace

TEST(FightMoves, HeadingsWalkingAndDashing) {
    // A robot faces its opponent in one of eight headings, each 60 degrees wide on the axes.
    const double in = std::tan(29.5 * M_PI / 180) * 1000, out = std::tan(30.5 * M_PI / 180) * 1000;
    const struct {
        int x, y, heading;
    } rows[] = {
        {0, -10, 0},          {10, -10, 1},        {10, 0, 2},           {10, 10, 3},         {0, 10, 4},
        {-10, 10, 5},         {-10, 0, 6},         {-10, -10, 7},        {0, 0, 0},           {int(in), -1000, 0},
        {int(out), -1000, 1}, {-1000, int(in), 6}, {-1000, int(out), 5}, {int(out), 1000, 3}, {1000, -int(in), 2},
        {-int(out), -1000, 7}};
    for (const auto& r : rows) EXPECT_EQ(DirectionTo(5, 5, 5 + r.x, 5 + r.y), r.heading) << r.x << " " << r.y;

    Rig rig;  // D-2-E: speed modifier +1, decay every 3 frames, 450 energy
    // Facing up, four frames walking (the speeds of hold steps 1, 2, 3, 3), then dashing (3
    // energy a frame), in each stick direction.
    const Ints want[8] = {{29, 0, 0, 49, 0, 12},     {-29, 0, 0, -49, 0, 12},     {0, -29, 0, 0, -45, 12},
                          {25, -25, 0, 45, -41, 12}, {-25, -25, 0, -45, -41, 12}, {0, 21, 0, 0, 37, 12},
                          {-25, 21, 0, -45, 37, 12}, {25, 21, 0, 45, 37, 12}};
    for (int g = 0; g < 8; ++g) {
        Ints seen = Walk(rig, 0, g, false, 4), dash = Walk(rig, 0, g, true, 4);
        seen.insert(seen.end(), dash.begin(), dash.end());
        EXPECT_EQ(seen, want[g]) << g;
    }
    // Facing down, up and down use other speeds: 3 and 5.
    EXPECT_EQ(Walk(rig, 4, 2, false, 4), Ints({0, -21, 0}));
    EXPECT_EQ(Walk(rig, 4, 5, false, 4), Ints({0, 29, 0}));
    // Every facing moves as the mirror image of its mirror facing, walking and dashing.
    for (int facing = 0; facing < 8; ++facing)
        for (int g = 0; g < 8; ++g)
            for (bool dashing : {false, true}) {
                const Ints a = Walk(rig, facing, g, dashing, 3),
                           b = Walk(rig, (8 - facing) % 8, kMirrorStick[g], dashing, 3);
                EXPECT_TRUE(a[0] == -b[0] && a[1] == b[1] && a[0] * a[0] + a[1] * a[1] > 0) << facing << g << dashing;
            }

    // Each robot's three frames of walking and its glide once released: its speed modifier and
    // how fast its speeds fall (D-2-E: 6 + 7 + 8, then 8, 8 and 7..1 three frames each: 121 px).
    TForm1& f = rig.f;
    Ints glides;
    for (int id : {1, 14, 5, 11, 4, 13, 16, 2, 3, 15}) {
        rig.Load(id, 14, 2);
        glides.push_back(Walk(rig, 0, 0, false, 3, 40)[0]);
    }
    EXPECT_EQ(glides, Ints({60, 121, 121, 39, 45, 95, 49, 60, 72, 45}));
    rig.Load(14, 14, 2);

    // A rooted robot stops dead: the beam's firing nodes end its glide (91 px of the 100).
    Walk(rig, 0, 0, false, 3);
    const int before = f.P1Fighter.PosX - f.P2Fighter.PosX;
    rig.Press({Key::J});
    rig.Frame(60);
    EXPECT_EQ(f.P1Fighter.PosX - f.P2Fighter.PosX - before, 91);

    // A dash keeps the facing it started with; walking turns to the opponent again. Too little
    // energy (3 or less) walks instead; energy comes back one a frame (up to the maximum: see Walk).
    rig.Place(400, 300, 400, 230);
    rig.Hold({Key::V, Key::D});
    rig.Frame(6);
    EXPECT_EQ(f.P1Fighter.Facing, 0);
    rig.Hold(Key::V, false);
    rig.Frame(2);  // the frame after the last dash turns
    EXPECT_EQ(f.P1Fighter.Facing, 7);
    rig.Hold(Key::D, false);
    f.P1Fighter.Energy = 4;
    rig.Press({Key::V}, 2);
    EXPECT_EQ(Ints({f.P1Fighter.Energy, f.P1Fighter.Dashing}), Ints({2, 0}));  // 4 - 3 dashing, then +1 walking
}

TEST(FightMoves, BodiesNeverOverlapAndTheCameraFollows) {
    Rig rig;
    TForm1& f = rig.f;
    rig.Place(400, 329, 400, 270);
    rig.Press({Key::W}, 30);  // into the other robot: steps of 6, 7, 8, 8 up to touching, 30 px
    EXPECT_EQ(f.P1Fighter.PosY - f.P2Fighter.PosY, 30);
    rig.Place(400, 300, 430, 270);  // side by side, just clear: moving up is allowed
    rig.Press({Key::W}, 3);
    EXPECT_EQ(f.P1Fighter.PosY, 300 - 21);

    // Dashing away: the camera keeps both robots inside x 150..650 and y 120..480, no
    // farther apart than the box; the ground stays on its grid and the shots move along.
    // The key, the other robot (out of the way), where player 1 ends on the axis and how far
    // from the other robot.
    const struct {
        Key key;
        int x2, y2, edge, gap;
    } dashes[] = {{Key::D, 400, 200, 650, 491},
                  {Key::A, 400, 200, 150, -491},
                  {Key::S, 250, 300, 480, 359},
                  {Key::W, 250, 300, 120, -358}};
    for (const auto& d : dashes) {
        const bool across = d.key == Key::D || d.key == Key::A;
        rig.Place(400, 300, d.x2, d.y2);
        f.ResetBackGrid();
        ShotNode still{.Duration = 1000};
        ShotRecord& r = Aim(f, 0, &still, 300, 100, 0);
        rig.Press({d.key, Key::V}, 60);
        const FighterState &p1 = f.P1Fighter, &p2 = f.P2Fighter;
        const int sx = p2.PosX - d.x2, sy = p2.PosY - d.y2;  // how far the world moved
        EXPECT_EQ(
            Ints({across ? p1.PosX : p1.PosY, across ? p1.PosX - p2.PosX : p1.PosY - p2.PosY, (across ? sx : sy) != 0}),
            Ints({d.edge, d.gap, 1}));
        EXPECT_EQ(Ints({r.PosX, r.PosY, r.Trail[2].X, r.Trail[2].Y}), Ints({300 + sx, 100 + sy, 300 + sx, 100 + sy}));
        for (int i = 0; i < 8 * 7; ++i) {  // tile (i / 7, i % 7) 200 px on from (-300, -300), wrapped
            const auto& g = f.BackGrid[i / 7][i % 7];
            ASSERT_TRUE(g.X >= -300 && g.X < 1300 && g.Y >= -300 && g.Y < 1100) << g.X << " " << g.Y;
            ASSERT_TRUE((g.X + 300 - sx - 200 * (i / 7) + 16000) % 1600 == 0 &&
                        (g.Y + 300 - sy - 200 * (i % 7) + 14000) % 1400 == 0);
        }
    }
}

TEST(FightFiring, PaymentLimitsAndHeldButtons) {
    // The weapon; energy, ammunition and presses; shots, energy and ammunition left, latch.
    const struct {
        int moveKind, cost, rows, columns, energy, ammo, presses, shots, energyLeft, ammoLeft, latch;
    } cases[] = {
        {kMoveBeam, 30, 1, 10, 300, 0, 1, 0, 300, 0, 0},  // a beam needs energy - 10 x cost > 0
        {kMoveBeam, 30, 1, 10, 301, 0, 1, 10, 1, 0, 1},   // and pays once, for the whole row
        {kMoveMelee, 5, 1, 3, 11, 0, 1, 2, 1, 0, 0},      // a blow needs energy - cost > 0, per shot
        {kMoveStraight, 0, 8, 2, 0, 3, 3, 3, 0, 0, 0},    // a round a shot while one is left
        {kMoveStraight, 0, 2, 2, 0, 9, 3, 4, 0, 5, 0},    // no free row: nothing more is fired
    };
    for (const auto& c : cases) {
        Rig rig;
        FighterState& p1 = rig.f.P1Fighter;
        TestWeapon(rig.f, c.moveKind, c.cost, c.rows, c.columns, c.energy, c.ammo);
        for (int i = 0; i < c.presses; ++i) {
            p1.FireLatch = 0;
            rig.f.ShotWeapon(0);
        }
        EXPECT_EQ(Ints({rig.Shots(0), p1.Energy, p1.Ammo[0], p1.FireLatch}),
                  Ints({c.shots, c.energyLeft, c.ammoLeft, c.latch}))
            << c.energy;
    }
    // A chain without a start for the facing launches nothing and costs nothing;
    // outside the weapon states 1..4 nothing fires.
    Rig rig;
    TestWeapon(rig.f, kMoveStraight, 0, 8, 2, 450, 9);
    LaunchLink(rig.f.P1ShotTables[0].Node[0][0][0], 0) = nullptr;
    for (int state : {1, 5, 6, 0}) {
        rig.f.P1Fighter.ActionState = state;
        rig.f.P1Fighter.FireLatch = 0;
        rig.f.ShotWeapon(0);
    }
    EXPECT_EQ(Ints({rig.Shots(0), rig.Shots(3) + rig.Shots(4) + rig.Shots(5), rig.f.P1Fighter.Ammo[0]}),
              Ints({0, 0, 9}));

    // A button held from one weapon's sequence into another's is no new press: the pass through
    // the second weapon's fire node launches nothing. Released, then pressed anew, it fires.
    // The robot, the first and second buttons, the node (handS, handK) where the second takes
    // over from the first, the second button's weapon, and a node (passS, passK) after its fire node.
    const struct {
        int robot;
        Key first, second;
        int handS, handK, slot, passS, passK;
    } held[] = {{10, Key::H, Key::G, 2, 4, 1, 1, 3}, {16, Key::G, Key::H, 1, 3, 2, 2, 2}};
    for (const auto& c : held) {
        Rig duel(c.robot, 1);
        FighterState& p1 = duel.f.P1Fighter;
        duel.Hold(c.first);
        ASSERT_LT(duel.FramesUntil(c.handS, c.handK), 200);
        ASSERT_EQ(p1.FireLatch, 1);  // the first weapon has fired
        duel.Hold(c.first, false);
        duel.Hold(c.second);
        const int32_t ammo = p1.Ammo[c.slot - 1];
        ASSERT_LT(duel.FramesUntil(c.passS, c.passK), 200);
        EXPECT_EQ(Ints({p1.ActionState, p1.Ammo[c.slot - 1], duel.Shots(c.slot - 1)}), Ints({c.slot, ammo, 0}))
            << c.robot;
        duel.Hold(c.second, false);
        ASSERT_LT(duel.FramesUntil(0, 0), 200);
        duel.Hold(c.second);
        ASSERT_LT(duel.FramesUntil(c.passS, c.passK), 200);
        EXPECT_LT(p1.Ammo[c.slot - 1], ammo) << c.robot;
    }
}

TEST(FightFiring, TheGuardAndTheBeam) {
    Rig rig;
    TForm1& f = rig.f;
    const FighterState& p1 = f.P1Fighter;
    rig.Place(300, 300, 700, 300);
    // The guard button takes the guard node, and letting go of it returns to idle.
    rig.Hold(Key::B);
    rig.Frame();
    EXPECT_EQ(p1.CurrentNode, &f.P1Graph.Node[5][0]);
    rig.Hold(Key::B, false);
    rig.Frame();
    EXPECT_EQ(p1.ActionState, 0);
    // Guard asked for at the end of the beam's wind-up breaks it off: no beam.
    rig.Press({Key::J});
    rig.Hold(Key::B);
    rig.Frame(15);
    EXPECT_EQ(p1.ActionState, 3);
    rig.Frame();
    EXPECT_EQ(p1.ActionState, 5);
    rig.Frame(5);
    EXPECT_EQ(rig.Shots(2), 0);
    rig.Hold(Key::B, false);

    // Facing right, the beam's ten segments start 45 px out and 80 px apart, and the line
    // is drawn from the owner in player 1's pen.
    rig.Hold(Key::J);
    for (int i = 0; i < 40 && rig.Shots(2) == 0; ++i) rig.Frame();
    ASSERT_EQ(rig.Shots(2), 10);
    for (int c = 0; c < 10; ++c) {
        const ShotRecord& s = f.Shots.Record[2][0][c];  // one frame's step (20) on
        EXPECT_EQ(Ints({s.PosX - p1.PosX, s.PosY, s.Heading}), Ints({45 + 80 * c + 20, p1.PosY, 2}));
    }
    rig.Draw();
    const uint8_t red = dw::NearestIndex(f.DirectDrawObj->Palette(), 0xFF0000);
    EXPECT_TRUE(f.BackSurface()->Get(p1.PosX + 250, p1.PosY) == red &&
                f.BackSurface()->Get(p1.PosX - 50, p1.PosY) != red);
    // The same beam as player 2's is drawn from player 2, in player 2's pen.
    std::swap(f.Shots.Record[2], f.Shots.Record[6]);
    rig.Draw();
    EXPECT_TRUE(f.BackSurface()->Get(f.P2Fighter.PosX + 50, 300) ==
                    dw::NearestIndex(f.DirectDrawObj->Palette(), 0x0000FF) &&
                f.BackSurface()->Get(p1.PosX + 250, p1.PosY) != red);
}

TEST(FightHits, DamageGuardStunAndKnockBack) {
    // The victim robot on node (s, k), its stun; player 1's D-2-E weapon (0 rifle, 1 claw), the
    // node's knock-back rule (-1 as built), the shot from the victim and its heading; then hit,
    // armour lost, state, stun, push, and the frames until the victim leaves the hit reaction
    // (the frame of the hit counts); player 1 is never hurt.
    const struct {
        int victim, s, k, stunBefore, slot, knockback, dx, dy, heading, hit, loss, state, stun, pushX, pushY, frames;
    } cases[] = {
        // The rifle: 28 damage, stun 24 (D-2-E recovers 6 a frame), pushed 24 px along its
        // heading (17 per axis on a diagonal); boxes touch at 16 + 15 px.
        {14, 0, 0, 0, 0, -1, 0, 20, 0, 1, 28, 6, 24, 0, -24, 4},
        {14, 0, 0, 0, 0, -1, 30, -30, 3, 1, 28, 6, 24, 17, 17, 4},
        {14, 0, 0, 0, 0, -1, 31, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {14, 0, 0, 0, 0, -1, 0, -31, 0, 0, 0, 0, 0, 0, 0, 0},
        {14, 0, 0, 0, 0, -1, -30, 0, 0, 1, 28, 6, 24, 0, -24, 4},
        // Other rules push away from the shot, whatever its heading.
        {14, 0, 0, 0, 0, 0, -20, 0, 0, 1, 28, 6, 24, 24, 0, 4},
        {14, 0, 0, 0, 0, 2, 10, 10, 0, 1, 28, 6, 24, -17, -17, 4},
        // In the hit reaction the larger stun stays, counted from the new hit.
        {14, 6, 0, 50, 0, -1, 0, 0, 0, 1, 28, 6, 50, 0, -24, 9},
        {14, 6, 0, 10, 0, -1, 0, 0, 0, 1, 28, 6, 24, 0, -24, 4},
        // A guard takes a quarter and stands, unless the shot breaks guards (the claw: 32).
        {14, 5, 0, 0, 0, -1, 0, 0, 0, 1, 7, 5, 0, 0, 0, 0},
        {14, 0, 0, 0, 1, -1, 0, 0, 0, 1, 32, 6, 110, 0, -24, 19},
        {14, 0, 0, 0, 1, -1, 49, 0, 0, 1, 32, 6, 110, 0, -24, 19},
        {14, 0, 0, 0, 1, -1, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        // The push moves only a victim its hit node lets move: DeziVor's broken guard leads
        // back into the guard; D-2-E rooted by its laser is hit into a free node.
        {10, 5, 0, 0, 1, -1, 0, 0, 0, 1, 8, 6, 110, 0, 0, 1},
        {14, 3, 3, 0, 1, -1, 0, 0, 6, 1, 32, 6, 110, -24, 0, 19},
        // Other robots recover 7 (DedaZivirEvavid) and 8 (Durade-Revov) a frame.
        {4, 0, 0, 0, 1, -1, 0, 0, 0, 1, 32, 6, 110, 0, -24, 16},
        {15, 0, 0, 0, 1, -1, 0, 0, 0, 1, 32, 6, 110, 0, -24, 14},
    };
    for (const auto& c : cases) {
        Rig rig(14, c.victim);
        TForm1& f = rig.f;
        FighterState& v = f.P2Fighter;  // at (400, 150), player 1 below it
        ShotNode node = f.P1ShotTables[size_t(c.slot)].Node[c.heading][0][0];
        if (c.knockback >= 0) node.KnockbackRule = c.knockback;
        v.ActionState = c.s;
        v.CurrentNode = &f.P2Graph.Node[c.s][c.k];
        v.StunTime = c.stunBefore;
        v.FireLatch = 1;
        const int armour = v.Armour;
        ShotRecord& r = Aim(f, c.slot, &node, 400 + c.dx, 150 + c.dy, c.heading);
        const int hit = f.HitShot(r, 1);
        // A hit disarms the shot and restarts its count; the bullet vanishes, the claw stays.
        EXPECT_EQ(Ints({r.Visible, r.HitArmed, r.Ticks, f.HitShot(r, 1)}),
                  hit ? Ints({c.slot, 0, 0, 0}) : Ints({1, 1, 3, 0}));
        Ints seen{hit, armour - v.Armour, v.ActionState, v.StunTime, v.PosX - 400, v.PosY - 150, 0, f.P1Fighter.Armour};
        for (; v.ActionState == 6 && seen[6] < 100; ++seen[6]) rig.Frame();  // the frames stunned
        EXPECT_EQ(seen, Ints({c.hit, c.loss, c.state, c.stun, c.pushX, c.pushY, c.frames, 480}))
            << c.victim << " " << c.dx << " " << c.dy;
        EXPECT_TRUE(!c.frames || (v.CurrentNode == &f.P2Graph.Node[0][0] && v.FireLatch == 0));
    }

    // DeziVor's saw stays armed and keeps counting; its hit lands on player 1.
    Rig rig(14, 11);
    TForm1& f = rig.f;
    ShotRecord& saw = Aim(f, 5, &f.P2ShotTables[1].Node[0][0][3], 400, 450, 4);
    EXPECT_EQ(f.HitShot(saw, 0), 1);
    EXPECT_EQ(Ints({saw.HitArmed, saw.Ticks, 480 - f.P1Fighter.Armour}), Ints({1, 3, 12}));
}

TEST(FightShots, MovementsNodesAndTrails) {
    Rig rig;
    TForm1& f = rig.f;
    rig.Place(50, 60, -50, 50);
    FighterState &owner = f.P1Fighter, &aside = f.P2Fighter;
    // The node's movement and step; where the shot is after one move from (0, 0), heading 3,
    // and its newest trail point: the node's reach (2, 3) behind.
    const struct {
        int moveKind, dx, dy, x, y, heading, tx, ty;
    } cases[] = {
        {kMoveStraight, 4, -6, 4, -6, 3, 2, -9},     {kMoveBeam, 4, -6, 4, -6, 3, 2, -9},
        {kMoveHoming, 4, 6, -4, 6, 5, -2, 3},         // toward the target, with that heading's signs
        {kMoveAtTarget, 4, -6, -46, 44, 3, -48, 41},  // at the target plus the step
        {kMoveMelee, 4, -6, 80, 90, 3, 78, 87},       // held at the owner's launch point
    };
    for (const auto& c : cases) {
        ShotNode n{.Dx = c.dx, .Dy = c.dy, .Duration = 9, .ReachY = 3, .ReachX = 2, .MoveKind = c.moveKind};
        // The claw's weapon: 30 px out.
        ShotRecord s{.Heading = 3, .Weapon = &f.P1Weapons[1], .Node = &n, .Trail = {{7, 8}}};
        MoveShot(s, owner, aside);
        EXPECT_EQ(Ints({s.PosX, s.PosY, s.Heading, s.Trail[0].X, s.Trail[0].Y, s.Trail[1].X, s.Trail[2].Y}),
                  Ints({c.x, c.y, c.heading, c.tx, c.ty, 7, 0}))
            << c.moveKind;  // the older puffs move on
    }

    // A shot that ends when its owner is hit, and an impact at once.
    ShotNode last{.Duration = 2, .EndsOnOwnerHit = 1}, first{.HitKind = kHitImpactNow, .ImpactNode = &last};
    ShotRecord s{.Active = 1, .HitArmed = 1, .Visible = 1, .Node = &last, .Trail = {}};
    owner.ActionState = 5;
    StepShotNode(s, owner);
    EXPECT_EQ(s.Active, 1);
    owner.ActionState = 6;
    StepShotNode(s, owner);
    EXPECT_EQ(s.Active + s.Visible + s.HitArmed, 0);
    s.Node = &first;
    s.Ticks = 2;
    EXPECT_EQ(f.HitShot(s, 1), 0);
    EXPECT_TRUE(s.Node == &last && s.Ticks == 0);
}

TEST(FightFiring, PlayerTwosFourthWeaponHomesOnPlayerOne) {
    Rig rig(2, 3);  // ZovaZazovo's linked missiles, fired by player 2
    TForm1& f = rig.f;
    rig.Place(400, 450, 400, 150);
    const int armour = f.P1Fighter.Armour;
    int launched = 0, hit = 0, turned = 0;
    for (int i = 1; i <= 150; ++i) {
        // A new press in the sequence's first node skips ahead to the launch.
        rig.Hold(fight_rig::kWeaponKey[1][3], i == 1 || i == 4);
        rig.Frame();
        if (rig.Shots(7) && !launched) {
            launched = i;
            f.P1Fighter.PosX += 150;  // player 1 steps aside, off the line of flight
            f.P1Fighter.PosY -= 150;
        }
        for (const auto& row : f.Shots.Record[7])
            for (const ShotRecord& s : row) turned |= s.Active && s.Heading != 4;
        if (!hit && f.P1Fighter.Armour < armour) hit = i;
        for (int g = 0; g < 7; ++g) ASSERT_EQ(rig.Shots(g), 0) << g;
    }
    EXPECT_EQ(Ints({launched, turned, hit, armour - f.P1Fighter.Armour, f.P2Fighter.Ammo[3],
                    f.P2Spec.MaxArmour - f.P2Fighter.Armour}),
              Ints({9, 1, 32, 88, 60, 0}));
}

TEST(FightLoop, KnockOutsIntroTimeOverBrokenDataAndPinch) {
    // Mode, stage, Limit enemy and both armours; then the winner, the screen after the
    // fight-over screen, and the stage, Limit enemy and Survival score then.
    const struct {
        int mode, stage, enemy, p1Armour, p2Armour, winner, state, stageAfter, enemyAfter, score;
    } cases[] = {
        {1, 0, 1, 100, 0, 1, kStatePreFight, 1, 1, 3},
        {1, 5, 1, 100, 0, 1, kStateEnding, 0, 1, 3},
        {1, 2, 1, 0, 100, 2, kStateTitle, 2, 1, 3},
        {2, 0, 1, 0, 0, 0, kStateSelect, 0, 1, 0},
        {3, 0, 1, 100, -5, 1, kStatePreFight, 0, 1, 4},
        {3, 0, 1, -1, 100, 2, kStateSurvivalResult, 0, 1, 3},
        {4, 0, 3, 100, 0, 1, kStatePreFight, 0, 4, 3},
        {4, 0, 8, 100, 0, 1, kStateLimitResult, 0, 1, 3},
        {4, 0, 8, 0, 0, 0, kStateTitle, 0, 8, 3},
        {2, 0, 1, 1, 1, 0, kStateFight, 0, 1, 3},  // one point of armour left fights on
    };
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        Rig rig(14, 14, c.mode);
        TForm1& f = rig.f;
        f.DataDir = dir.Str();
        f.StageNo = c.stage;
        f.LimitEnemy = c.enemy;
        f.SurvivalScore = 3;
        f.P1Fighter.Armour = c.p1Armour;
        f.P2Fighter.Armour = c.p2Armour;
        testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
        rig.Frame();
        EXPECT_EQ(Ints({f.GameState, f.Winner}),
                  Ints({c.state == kStateFight ? kStateFight : kStateFightOver, c.winner}));
        if (c.state == kStateFight) continue;
        rig.Frame(149);
        EXPECT_EQ(f.GameState, kStateFightOver);
        rig.Frame();
        EXPECT_EQ(Ints({f.GameState, f.StageNo, f.LimitEnemy, f.SurvivalScore}),
                  Ints({c.state, c.stageAfter, c.enemyAfter, c.score}))
            << c.mode << " " << c.stage << " " << c.enemy;
    }

    Rig rig;
    TForm1& f = rig.f;
    // The fight starts with player 1 below facing up, player 2 above facing down.
    const FighterState &p1 = f.P1Fighter, &p2 = f.P2Fighter;
    EXPECT_EQ(Ints({p1.PosX, p1.PosY, p1.Facing, p2.PosX, p2.PosY, p2.Facing, f.Winner, f.StateFrames}),
              Ints({400, 450, 0, 400, 150, 4, 0, 0}));
    f.GameState = kStateFightIntro;
    rig.Frame(89);
    EXPECT_EQ(f.GameState, kStateFightIntro);
    rig.Frame();
    EXPECT_EQ(f.GameState, kStateFight);

    // The Limit budget running out ends the run: the next starts from the first enemy.
    f.GameMode = 4;
    f.LimitFrames = 5;
    f.LimitElapsed = 4;
    f.LimitEnemy = 4;
    rig.Frame();
    EXPECT_EQ(Ints({f.GameState, f.LimitEnemy}), Ints({kStateTimeOver, 1}));

    // Robot data the fight cannot use ends on the error screen, naming the player.
    for (int p = 0; p < 2; ++p)
        for (int fault = 0; fault < 4; ++fault) {
            Rig broken;
            PlayerRefs pl = broken.f.Player(p);
            if (fault == 0) pl.spec.MaxArmour = 0;
            if (fault == 1) pl.spec.MaxEnergy = 0;
            if (fault == 2) pl.fighter.Spec = nullptr;
            if (fault == 3) pl.fighter.CurrentNode = nullptr;
            broken.Frame();
            EXPECT_EQ(Ints({broken.f.GameState, broken.f.ErrorCode}), Ints({kStateError, p + 1}));
        }

    // The pinch music starts once either robot's armour is below a third of its most, exactly.
    const struct {
        int player, most, armour;
        bool pinch;
    } pinch[] = {{0, 460, 153, true},  {0, 460, 154, false}, {1, 460, 153, true},
                 {1, 460, 154, false}, {0, 459, 153, false}, {1, 459, 152, true}};
    f.GameMode = 2;
    f.GameState = kStateFight;
    for (const auto& c : pinch) {
        for (int p = 0; p < 2; ++p) {
            f.Player(p).spec.MaxArmour = c.most;
            f.Player(p).fighter.Armour = p == c.player ? c.armour : c.most;
        }
        f.PinchPlayed = false;
        rig.Frame();
        EXPECT_EQ(f.PinchPlayed, c.pinch) << c.player << ": " << c.armour << " of " << c.most;
    }
}

TEST(FightView, SheetsDepthGaugesTrailsShotsAndWords) {
    Rig rig(13, 13);
    TForm1& f = rig.f;
    const dw::ColorTable& palette = f.DirectDrawObj->Palette();
    const dw::Surface& back = *f.BackSurface();
    f.P2Hide = 1;
    // Facing 0 shows the back view from the robot's own file; then back-side, side,
    // front-side, front; facings 5..7 show 3..1 mirrored. The sheets are keyed.
    const char* views[8] = {"back", "bs", "side", "fs", "front", "fs", "side", "bs"};
    testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
    for (const auto& held : f.P1Sheets) ASSERT_TRUE(held && held->ColorKey().has_value());
    const uint8_t key = *f.P1Sheets[0]->ColorKey();
    for (int facing = 0; facing < 8; ++facing) {
        std::unique_ptr<dw::Surface> s;
        for (const char* file : RobotRowFor(13, 0, 2)->sheets)
            if (std::string(file).find(std::string("_") + views[facing] + ".") != std::string::npos)
                s = dw::LoadBitmapSurface(f.DirectDrawObj.get(), file);
        ASSERT_TRUE(s) << views[facing];
        rig.Place(300, 300, 600, 100);
        f.P1Fighter.Facing = facing;
        rig.Draw();
        int drawn = 0, wrong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint8_t want = s->Get(facing >= 5 ? 63 - x : x, y);
                drawn += want != key;
                wrong += want != key && back.Get(300 - 32 + x, 300 - 32 + y) != want;
            }
        EXPECT_TRUE(drawn > 200 && wrong == 0) << facing << ": " << wrong << " of " << drawn;
    }

    // Away from the robots the ground repeats its 200-pixel picture each way.
    f.Draw_FS2();
    int seams = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 600; ++x)
            seams += back.Get(x, y) != back.Get(x + 200, y) || back.Get(x, y) != back.Get(x, y + 400);
    EXPECT_EQ(seams, 0);
    rig.Draw();
    // A hidden robot is not drawn: letting it show changes the picture.
    const std::vector<uint8_t> hidden(back.Row(0), back.Row(0) + 800 * 600);
    f.P2Hide = 0;
    rig.Draw();
    EXPECT_FALSE(std::equal(hidden.begin(), hidden.end(), back.Row(0)));

    // Overlapping, the robot lower on the screen is drawn over the other, also on the
    // fight-over screen.
    for (int lower = 0; lower < 2; ++lower) {
        rig.Place(300, 310 - 20 * lower, 300, 300);
        f.GameState = kStateFightOver;
        f.AppIdle();
        const dw::Surface& view = *f.Player(lower).sheets[1];  // facing up: the back view
        const int line = lower == 0 ? 32 : 42;                 // its row on screen line 310
        int same = 0, lit = 0;
        for (int x = 0; x < 64; ++x) {
            lit += view.Get(x, line) != *view.ColorKey();
            same += view.Get(x, line) != *view.ColorKey() && back.Get(268 + x, 310) == view.Get(x, line);
        }
        EXPECT_TRUE(lit > 5 && same == lit) << lower;
    }

    // Armour and energy bars, 300 px framed, filled in proportion.
    f.GameState = kStateFight;
    f.P1Fighter.Armour = f.P1Spec.MaxArmour / 2;
    f.P2Fighter.Armour = f.P2Spec.MaxArmour / 4;
    f.P2Fighter.Energy = 0;
    rig.Draw();
    const uint8_t frame = dw::NearestIndex(palette, 0x007800), green = dw::NearestIndex(palette, 0x00D200);
    EXPECT_EQ(Ints({CountIndex(back, {21, 15, 320, 16}, dw::NearestIndex(palette, 0xB40000)),
                    CountIndex(back, {481, 15, 780, 16}, dw::NearestIndex(palette, 0x0000B4)),
                    CountIndex(back, {21, 29, 320, 30}, green), CountIndex(back, {481, 29, 780, 30}, green)}),
              Ints({149, 74, 298, 0}));
    // Under them, each player's rounds of the four weapons.
    for (int gx : {20, 480}) {
        EXPECT_TRUE(testing_support::TextShows(back, palette, f.Fonts[2].get(), gx, 38, "40  256  256  60", 0xFFFFFF));
        for (int gy : {10, 24})
            EXPECT_EQ(Ints({CountIndex(back, {gx, gy, gx + 300, gy + 1}, frame),
                            CountIndex(back, {gx, gy + 9, gx + 300, gy + 10}, frame),
                            CountIndex(back, {gx, gy, gx + 1, gy + 10}, frame)}),
                      Ints({300, 300, 10}));
    }

    // A trail puff is a round disc centred on its point, the older puffs fading; a weapon
    // without a trail leaves none.
    f.Shots.Record[0][0][0] = {
        .Active = 1, .Visible = 1, .Weapon = &f.P1Weapons[0], .Trail = {{120, 200}, {200, 200}, {300, 200}}};
    std::ranges::copy(std::array{6, 6, 0}, f.P1Weapons[0].TrailHalfSize);  // the oldest puff has no size
    const uint8_t smoke = dw::NearestIndex(palette, 0xD8D8D8);
    for (int on : {1, 0}) {
        f.P1Weapons[0].TrailOn = on;
        rig.Draw();
        EXPECT_EQ(
            Ints({CountIndex(back, {100, 200, 140, 201}, smoke), CountIndex(back, {100, 194, 140, 195}, smoke) > 0,
                  CountIndex(back, {100, 192, 140, 193}, smoke), back.Get(114, 200) == smoke,
                  back.Get(126, 200) == smoke, back.Get(200, 200) == dw::NearestIndex(palette, 0xA8A8A8),
                  back.Get(300, 200) == dw::NearestIndex(palette, 0x787878)}),
            on ? Ints({13, 1, 0, 1, 1, 1, 0}) : Ints({0, 0, 0, 0, 0, 0, 0}));
    }

    // A shot is drawn over its box and nowhere else; heading 6 shows heading 2's picture mirrored.
    Rig zeredi(1, 1);
    const dw::Surface& screen = *zeredi.f.BackSurface();
    ShotRecord& m = zeredi.f.Shots.Record[2][0][0];  // a missile: a 20-pixel box, its smoke out of sight
    m = {.PosX = 600,
         .PosY = 400,
         .Visible = 1,
         .Weapon = m.Weapon,
         .Trail = {{-100, -100}, {-100, -100}, {-100, -100}}};
    zeredi.Draw();
    const std::vector<uint8_t> ground(screen.Row(0), screen.Row(0) + 800 * 600);
    m.Active = 1;
    auto drawn = [&](int heading) {  // the box, -1 where the ground shows
        m.Node = &zeredi.f.P1ShotTables[2].Node[heading][0][0];
        m.Heading = heading;
        zeredi.Draw();
        std::vector<int> box;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const bool inside = x >= 590 && x < 610 && y >= 390 && y < 410;
                const int v = screen.Get(x, y) == ground[size_t(y * 800 + x)] ? -1 : screen.Get(x, y);
                if (inside) box.push_back(v);
                EXPECT_TRUE(inside || v < 0) << x << " " << y;
            }
        return box;
    };
    const std::vector<int> right = drawn(2), left = drawn(6);
    int shown = 0, mirrored = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            shown += right[size_t(y * 20 + x)] >= 0;
            mirrored += right[size_t(y * 20 + x)] == left[size_t(y * 20 + 19 - x)];
        }
    EXPECT_TRUE(shown > 50 && mirrored == 20 * 20 && right != left) << shown << " " << mirrored;

    // The fight's words.
    const struct {
        int state, winner;
        const char* text;
        int x;
    } words[] = {{kStateFightIntro, 0, "READY", 300},
                 {kStateFightOver, 1, "1P WIN!", 260},
                 {kStateFightOver, 2, "2P WIN!", 260},
                 {kStateFightOver, 0, "DRAW", 260}};
    for (const auto& w : words) {
        f.GameState = w.state;
        f.Winner = w.winner;
        rig.Draw();
        // White on the ground, not on a white box of its own.
        EXPECT_TRUE(testing_support::TextShows(back, palette, f.Fonts[0].get(), w.x, 270, w.text, 0xFFFFFF) &&
                    CountIndex(back, {w.x, 270, w.x + 60, 290}, dw::NearestIndex(palette, 0xFFFFFF)) < 60 * 20)
            << w.text;
    }
}
