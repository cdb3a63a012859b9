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
#include "frames/cell_layout.h"
#include "robots/builders.h"
#include "robots/loading.h"

using dw::Key;
using fight_rig::Ints;
using fight_rig::Rig;
using testing_support::CountIndex;

namespace {

// Player 1 stands at (400, 300) with the opponent 200 px off in heading `facing` and holds the
// stick toward (x, y), each -1, 0 or 1, dashing or not, for `frames` frames; how far it moved
// against the opponent, and the energy it spent. `glide` frames after letting go count too.
Ints Walk(Rig& rig, int facing, int x, int y, bool dash, int frames, int glide = 0) {
    rig.Place(400, 300, 400 + 200 * kHeadingSignX[facing], 300 + 200 * kHeadingSignY[facing]);
    FighterState& p = rig.f.P1Fighter;
    const FighterState& o = rig.f.P2Fighter;
    p.SpeedLeft = p.SpeedRight = p.SpeedUp = p.SpeedDown = p.DecayCount = 0;
    p.HoldLeft = p.HoldRight = p.HoldUp = p.HoldDown = p.Dashing = 0;
    p.Energy = p.Spec->MaxEnergy;
    // Escape stands for "no key": the fight does not read it.
    const Key across = x > 0 ? Key::D : x < 0 ? Key::A : Key::Escape;
    const Key along = y > 0 ? Key::S : y < 0 ? Key::W : Key::Escape;
    rig.Press({across, along, dash ? Key::V : Key::Escape}, frames);
    rig.Frame(glide);
    return {p.PosX - o.PosX + 200 * kHeadingSignX[facing], p.PosY - o.PosY + 200 * kHeadingSignY[facing],
            p.Spec->MaxEnergy - p.Energy};
}

// The first record of a shot group on `node`, placed at (x, y) with a heading, ready to hit.
ShotRecord& Aim(TForm1& f, int group, ShotNode* node, int x, int y, int heading) {
    ShotRecord& r = f.Shots.Record[group][0][0];
    r = {.Active = 1, .HitArmed = 1, .Visible = 1, .Ticks = 3, .Weapon = r.Weapon, .Node = node, .Trail = {}};
    r.PosX = x;
    r.PosY = y;
    r.Heading = heading;
    return r;
}

// Player 1's rifle turned into a weapon of the kind (which decides how a volley is paid for)
// with the cost, rows and columns given; the fighter on a firing node of the sequence.
void TestWeapon(TForm1& f, int moveKind, int cost, int rows, int columns, int energy, int ammo) {
    f.P1Weapons[0].Rows = rows;
    f.P1Weapons[0].Columns = columns;
    f.P1Weapons[0].EnergyCost = cost;
    f.P1ShotTables[0].Node[0][0][0].MoveKind = moveKind;  // every record's template node
    f.P1Fighter.ActionState = 1;
    f.P1Fighter.CurrentNode = &f.P1Graph.Node[1][1];
    f.P1Fighter.Energy = energy;
    f.P1Fighter.Ammo[0] = ammo;
}

}  // namespace

TEST(FightMoves, HeadingsWalkingAndDashing) {
    // A robot faces its opponent in one of eight headings, a point toward itself heading 0; an
    // axis heading reaches 30 degrees either side (1000 px out, 29.5 or 30.5 degrees off the axis).
    for (int h = 0; h < 8; ++h) EXPECT_EQ(DirectionTo(5, 5, 5 + 9 * kHeadingSignX[h], 5 + 9 * kHeadingSignY[h]), h);
    EXPECT_EQ(DirectionTo(5, 5, 5, 5), 0);
    EXPECT_EQ(DirectionTo(0, 0, int(std::tan(29.5 * M_PI / 180) * 1000), -1000), 0);
    EXPECT_EQ(DirectionTo(0, 0, -1000, int(std::tan(30.5 * M_PI / 180) * 1000)), 5);

    Rig rig;  // D-2-E: speed modifier +1, decay every 3 frames, 450 energy
    TForm1& f = rig.f;
    // Facing up, four frames of walking, then of dashing, in a stick direction. A frame's speed
    // is the template's for the facing and direction (5 right; 4 and 3 down-left), plus the
    // hold step (1, 2, 3, 3) less 1, plus the modifier; dashing adds 5 across and 4 along:
    // right walks 6 + 7 + 8 + 8 and dashes 11 + 12 + 13 + 13.
    EXPECT_EQ(Walk(rig, 0, 1, 0, false, 4), Ints({29, 0, 0}));
    EXPECT_EQ(Walk(rig, 0, 1, 0, true, 4), Ints({49, 0, 12}));  // 3 energy a dashing frame
    EXPECT_EQ(Walk(rig, 0, -1, 1, false, 4), Ints({-25, 21, 0}));
    EXPECT_EQ(Walk(rig, 0, -1, 1, true, 4), Ints({-45, 37, 12}));
    // Facing down, up and down swap their template speeds: 3 up, 5 down.
    EXPECT_EQ(Walk(rig, 4, 0, -1, false, 4), Ints({0, -21, 0}));
    EXPECT_EQ(Walk(rig, 4, 0, 1, false, 4), Ints({0, 29, 0}));
    // Every facing moves as the mirror image of its mirror facing, walking and dashing, in each
    // stick direction.
    for (int facing = 0; facing < 8; ++facing)
        for (int x = -1; x <= 1; ++x)
            for (int y = -1; y <= 1; ++y)
                for (bool dashing : {false, true}) {
                    const Ints seen = Walk(rig, facing, x, y, dashing, 3);
                    EXPECT_EQ(Ints({-seen[0], seen[1], seen[2]}), Walk(rig, (8 - facing) % 8, -x, y, dashing, 3))
                        << facing << ": " << x << " " << y << " " << dashing;
                }

    // Let go, a speed falls by one every third frame: three frames of walking right (6 + 7 +
    // 8), then 8 + 8 and 7..1 three frames each, 121 px in all.
    EXPECT_EQ(Walk(rig, 0, 1, 0, false, 3, 40)[0], 121);
    // A robot rooted by its beam's firing nodes stops dead, and its glide is over: it stays
    // put through the beam and after it.
    Walk(rig, 0, 1, 0, false, 3);
    rig.Press({Key::J});
    ASSERT_LT(rig.FramesUntil(3, 1), 40);
    const int rooted = f.P1Fighter.PosX;
    rig.Frame(60);
    EXPECT_EQ(f.P1Fighter.PosX, rooted);

    // A dash keeps the facing it started with; walking turns to the opponent again.
    rig.Place(400, 300, 400, 230);
    rig.Hold({Key::V, Key::D});
    rig.Frame(6);
    EXPECT_EQ(f.P1Fighter.Facing, 0);
    rig.Hold(Key::V, false);
    rig.Frame(2);  // the frame after the last dash turns
    EXPECT_EQ(f.P1Fighter.Facing, 7);
    rig.Hold(Key::D, false);
    // A dashing frame costs 3 energy and needs more than that: with 3 the robot walks, and
    // every frame without a dash gives 1 back.
    f.P1Fighter.Energy = 4;
    rig.Press({Key::V, Key::D});
    EXPECT_EQ(Ints({f.P1Fighter.Dashing, f.P1Fighter.Energy}), Ints({1, 1}));
    f.P1Fighter.Energy = 3;
    rig.Press({Key::V, Key::D});
    EXPECT_EQ(Ints({f.P1Fighter.Dashing, f.P1Fighter.Energy}), Ints({0, 4}));
}

TEST(FightMoves, BodiesNeverOverlapAndTheCameraFollows) {
    Rig rig;
    TForm1& f = rig.f;
    // Into the other robot: steps of 6, 7, 8, 8 up to the bodies (15 px half-height) touching.
    rig.Place(400, 329, 400, 270);
    rig.Press({Key::W}, 30);
    EXPECT_EQ(f.P1Fighter.PosY - f.P2Fighter.PosY, 30);
    rig.Place(400, 300, 430, 270);  // side by side, just clear: moving up is allowed
    rig.Press({Key::W}, 3);
    EXPECT_EQ(f.P1Fighter.PosY, 300 - 21);

    // Dashing away: the camera keeps both robots inside x 150..650 and y 120..480, and they
    // get no farther apart than the box's 500 x 360 short of a dash step; the ground stays on
    // its grid and the shots move along. The key, the other robot (out of the way), where
    // player 1 ends on the axis and how far from the other robot.
    const struct {
        Key key = Key::D;
        int x2 = 0, y2 = 0, edge = 0, gap = 0;
    } dashes[] = {
        {.key = Key::D, .x2 = 400, .y2 = 200, .edge = 650, .gap = 491},
        {.key = Key::A, .x2 = 400, .y2 = 200, .edge = 150, .gap = -491},
        {.key = Key::S, .x2 = 250, .y2 = 300, .edge = 480, .gap = 359},
        {.key = Key::W, .x2 = 250, .y2 = 300, .edge = 120, .gap = -358},
    };
    for (const auto& d : dashes) {
        const bool across = d.key == Key::D || d.key == Key::A;
        rig.Place(400, 300, d.x2, d.y2);
        f.ResetBackGrid();
        ShotNode still{.Duration = 1000};
        ShotRecord& r = Aim(f, 0, &still, 300, 100, 0);
        rig.Press({d.key, Key::V}, 60);
        const int sx = f.P2Fighter.PosX - d.x2;  // how far the world moved
        const int sy = f.P2Fighter.PosY - d.y2;
        EXPECT_EQ(across ? f.P1Fighter.PosX : f.P1Fighter.PosY, d.edge) << d.edge;
        EXPECT_EQ(across ? f.P1Fighter.PosX - f.P2Fighter.PosX : f.P1Fighter.PosY - f.P2Fighter.PosY, d.gap) << d.edge;
        EXPECT_EQ(Ints({r.PosX, r.PosY, r.Trail[2].X, r.Trail[2].Y}), Ints({300 + sx, 100 + sy, 300 + sx, 100 + sy}));
        // Ground tile (i, j) starts 200 px on from (-300, -300) and wraps in the 1600 x 1400
        // span from there.
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 7; ++j) {
                const auto& g = f.BackGrid[i][j];
                EXPECT_EQ((g.X - sx - 200 * i + 300) % 1600, 0) << i << " " << j;
                EXPECT_EQ((g.Y - sy - 200 * j + 300) % 1400, 0) << i << " " << j;
                EXPECT_EQ(std::clamp(g.X, -300, 1299), g.X) << i << " " << j;
                EXPECT_EQ(std::clamp(g.Y, -300, 1099), g.Y) << i << " " << j;
            }
    }
}

TEST(FightFiring, PaymentLimitsAndHeldButtons) {
    // The weapon, energy, ammunition and presses; then shots, energy, ammunition and latch left.
    const struct {
        int moveKind = kMoveStraight, cost = 0, rows = 1, columns = 1, energy = 0, ammo = 0, presses = 1;
        Ints left;
    } cases[] = {
        // A beam needs energy - 10 x cost > 0, and pays once for the whole row.
        {.moveKind = kMoveBeam, .cost = 30, .columns = 10, .energy = 300, .left = {0, 300, 0, 0}},
        {.moveKind = kMoveBeam, .cost = 30, .columns = 10, .energy = 301, .left = {10, 1, 0, 1}},
        // A blow needs energy - cost > 0, per shot.
        {.moveKind = kMoveMelee, .cost = 5, .columns = 3, .energy = 11, .left = {2, 1, 0, 0}},
        // A round a shot while one is left; with no free row nothing more is fired.
        {.rows = 8, .columns = 2, .ammo = 3, .presses = 3, .left = {3, 0, 0, 0}},
        {.rows = 2, .columns = 2, .ammo = 9, .presses = 3, .left = {4, 0, 5, 0}},
    };
    for (const auto& c : cases) {
        Rig rig;
        FighterState& p1 = rig.f.P1Fighter;
        TestWeapon(rig.f, c.moveKind, c.cost, c.rows, c.columns, c.energy, c.ammo);
        for (int i = 0; i < c.presses; ++i) {
            p1.FireLatch = 0;
            rig.f.ShotWeapon(0);
        }
        EXPECT_EQ(Ints({rig.Shots(0), p1.Energy, p1.Ammo[0], p1.FireLatch}), c.left) << c.energy;
    }
    // A chain without a start for the facing launches nothing and costs nothing.
    Rig rig;
    TestWeapon(rig.f, kMoveStraight, 0, 8, 2, 450, 9);
    LaunchLink(rig.f.P1ShotTables[0].Node[0][0][0], 0) = nullptr;
    rig.f.ShotWeapon(0);
    EXPECT_EQ(Ints({rig.Shots(0), rig.f.P1Fighter.Ammo[0]}), Ints({0, 9}));

    // A button held from one weapon's sequence into another's is no new press: the pass through
    // the second weapon's fire node launches nothing. Released, then pressed anew, it fires.
    // DeziVor's saw (button 2) held to node (2, 4), then button 1 held: the shot gun's sequence
    // follows, and node (1, 3) lies after its fire node.
    Rig duel(10, 1);
    FighterState& p1 = duel.f.P1Fighter;
    duel.Hold(Key::H);
    ASSERT_LT(duel.FramesUntil(2, 4), 200);
    ASSERT_EQ(p1.FireLatch, 1);  // the saw has fired
    duel.Hold(Key::H, false);
    duel.Hold(Key::G);
    const int32_t ammo = p1.Ammo[0];
    ASSERT_LT(duel.FramesUntil(1, 3), 200);
    EXPECT_EQ(Ints({p1.ActionState, p1.Ammo[0], duel.Shots(0)}), Ints({1, ammo, 0}));
    duel.Hold(Key::G, false);
    ASSERT_LT(duel.FramesUntil(0, 0), 200);
    duel.Hold(Key::G);
    ASSERT_LT(duel.FramesUntil(1, 3), 200);
    EXPECT_LT(p1.Ammo[0], ammo);
    // Button 2 held through the shot gun's sequence carries the fighter on in it (node (1, 0)
    // leads on to (1, 1) by every slot), still attacking with the shot gun.
    duel.Hold(Key::G, false);
    ASSERT_LT(duel.FramesUntil(0, 0), 200);
    duel.Press({Key::G});
    duel.Hold(Key::H);
    ASSERT_LT(duel.FramesUntil(1, 1), 200);
    EXPECT_EQ(p1.ActionState, 1);
    // A weapon pressed while dash is held still starts that weapon.
    duel.Hold(Key::H, false);
    ASSERT_LT(duel.FramesUntil(0, 0), 200);
    duel.Hold(Key::V);
    duel.Press({Key::H});
    duel.Frame(2);
    EXPECT_EQ(p1.ActionState, 2);
}

TEST(FightFiring, TheGuardAndTheBeam) {
    Rig rig;
    TForm1& f = rig.f;
    const FighterState& p1 = f.P1Fighter;
    rig.Place(300, 300, 700, 300);
    // Guard asked for at the end of the beam's wind-up breaks it off for the guard: no beam.
    rig.Press({Key::J});
    rig.Hold(Key::B);
    rig.Frame(15);
    EXPECT_EQ(p1.ActionState, 3);
    rig.Frame();
    EXPECT_EQ(p1.CurrentNode, &f.P1Graph.Node[5][0]);
    rig.Hold(Key::B, false);

    // Facing right, the beam's line is drawn from the owner in player 1's pen.
    rig.Hold(Key::J);
    for (int i = 0; i < 40 && rig.Shots(2) == 0; ++i) rig.Frame();
    ASSERT_EQ(rig.Shots(2), 10);
    const dw::Surface& back = *f.BackSurface();
    const uint8_t red = dw::NearestIndex(f.DirectDrawObj->Palette(), 0xFF0000);
    rig.Draw();
    EXPECT_EQ(back.Get(p1.PosX + 250, p1.PosY), red);
    EXPECT_NE(back.Get(p1.PosX - 50, p1.PosY), red);
    // The same beam as player 2's is drawn from player 2, in player 2's pen.
    std::swap(f.Shots.Record[2], f.Shots.Record[6]);
    rig.Draw();
    EXPECT_EQ(back.Get(f.P2Fighter.PosX + 50, 300), dw::NearestIndex(f.DirectDrawObj->Palette(), 0x0000FF));
    EXPECT_NE(back.Get(p1.PosX + 250, p1.PosY), red);
}

TEST(FightHits, DamageGuardStunAndKnockBack) {
    // The victim robot (player 2) on node (s, k) with a stun running; player 1's D-2-E weapon
    // (slot 0 the rifle, 1 the claw), the node's knock-back rule (-1 as built), the shot off
    // the victim and its heading; then hit, armour lost, state, stun, push, and the frames until
    // the victim leaves the hit reaction (the frame of the hit counts). A miss changes nothing;
    // player 1 keeps its 480 armour.
    const struct {
        int victim = 14, s = 0, k = 0, stunBefore = 0, slot = 0, knockback = -1, dx = 0, dy = 0, heading = 0;
        int hit = 1, loss = 28, state = 6, stun = 24, pushX = 0, pushY = -24, frames = 4;
    } cases[] = {
        // The rifle: 28 damage, stun 24 (D-2-E recovers 6 a frame), pushed 24 px along its
        // heading (17 per axis on a diagonal); boxes touch at 16 + 15 px.
        {.dy = 20},
        {.dx = 30, .dy = -30, .heading = 3, .pushX = 17, .pushY = 17},
        {.dx = 31, .hit = 0},
        {.dy = -31, .hit = 0},
        // Another rule pushes away from the shot, whatever its heading.
        {.knockback = 2, .dx = 10, .dy = 10, .pushX = -17, .pushY = -17},
        // In the hit reaction the larger stun stays, counted from the new hit.
        {.s = 6, .stunBefore = 50, .stun = 50, .frames = 9},
        {.s = 6, .stunBefore = 10},
        // A guard takes a quarter and stands.
        {.s = 5, .loss = 7, .state = 5, .stun = 0, .pushY = 0, .frames = 0},
        // The claw (32, stun 110: 19 frames) breaks guards, yet takes only a quarter. The push
        // moves only a victim its hit node lets move: DeziVor's broken guard leads back into the
        // guard; D-2-E rooted by its laser is hit into a free node.
        {.victim = 10, .s = 5, .slot = 1, .loss = 8, .stun = 110, .pushY = 0, .frames = 1},
        {.s = 3, .k = 3, .slot = 1, .heading = 6, .loss = 32, .stun = 110, .pushX = -24, .pushY = 0, .frames = 19},
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
        // A hit disarms the shot and restarts its count; the bullet vanishes, the claw (slot 1) stays.
        EXPECT_EQ(Ints({r.Visible, r.HitArmed, r.Ticks, f.HitShot(r, 1)}),
                  hit ? Ints({c.slot, 0, 0, 0}) : Ints({1, 1, 3, 0}));
        Ints seen{hit, armour - v.Armour, v.ActionState, v.StunTime, v.PosX - 400, v.PosY - 150, 0, f.P1Fighter.Armour};
        for (; v.ActionState == 6 && seen[6] < 100; ++seen[6]) rig.Frame();  // the frames stunned
        const Ints want = c.hit ? Ints({1, c.loss, c.state, c.stun, c.pushX, c.pushY, c.frames, 480})
                                : Ints({0, 0, c.s, c.stunBefore, 0, 0, 0, 480});
        EXPECT_EQ(seen, want) << c.victim << " " << c.dx << " " << c.dy;
    }

    // DeziVor's saw stays armed and keeps counting; its hit, the saw's 12, lands on player 1.
    Rig rig(14, 11);
    TForm1& f = rig.f;
    ShotRecord& saw = Aim(f, 5, &f.P2ShotTables[1].Node[0][0][3], 400, 450, 4);
    EXPECT_EQ(f.HitShot(saw, 0), 1);
    EXPECT_EQ(Ints({saw.HitArmed, saw.Ticks, 480 - f.P1Fighter.Armour}), Ints({1, 3, 12}));
    // Hit mid-blow or mid-beam, a robot's shots end at once: player 1's claw, then its laser,
    // each struck by the saw.
    for (const auto& [key, slot] : {std::pair{Key::H, 1}, std::pair{Key::J, 2}}) {
        ASSERT_LT(rig.FramesUntil(0, 0), 100);
        rig.Press({key});
        for (int i = 0; i < 40 && rig.Shots(slot) == 0; ++i) rig.Frame();
        ASSERT_GT(rig.Shots(slot), 0) << slot;
        EXPECT_EQ(f.HitShot(Aim(f, 5, &f.P2ShotTables[1].Node[0][0][3], f.P1Fighter.PosX, f.P1Fighter.PosY, 4), 0), 1);
        rig.Frame();
        EXPECT_EQ(rig.Shots(slot), 0) << slot;
    }
}

TEST(FightShots, MovementsNodesAndTrails) {
    Rig rig;
    TForm1& f = rig.f;
    rig.Place(50, 60, -50, 50);
    FighterState& owner = f.P1Fighter;
    // A blow is held at its owner's launch point, the claw's 30 px out each way at heading 3:
    // (80, 90) from the owner at (50, 60). Its newest trail puff lies the node's reach (2, 3)
    // behind it, and the older puffs move on.
    ShotNode n{.Dx = 4, .Dy = -6, .Duration = 9, .ReachY = 3, .ReachX = 2, .MoveKind = kMoveMelee};
    ShotRecord blow{.Heading = 3, .Weapon = &f.P1Weapons[1], .Node = &n, .Trail = {{7, 8}, {5, 6}, {0, 0}}};
    MoveShot(blow, owner, f.P2Fighter);
    EXPECT_EQ(Ints({blow.PosX, blow.PosY, blow.Heading}), Ints({80, 90, 3}));
    EXPECT_EQ(
        Ints({blow.Trail[0].X, blow.Trail[0].Y, blow.Trail[1].X, blow.Trail[1].Y, blow.Trail[2].X, blow.Trail[2].Y}),
        Ints({78, 87, 7, 8, 5, 6}));

    // A shell dropping on its target stands at the target plus its node's step.
    ShotNode drop{.Dx = 7, .Dy = -9, .MoveKind = kMoveAtTarget};
    ShotRecord shell{.Node = &drop, .Trail = {}};
    MoveShot(shell, owner, f.P2Fighter);
    EXPECT_EQ(Ints({shell.PosX, shell.PosY}), Ints({f.P2Fighter.PosX + 7, f.P2Fighter.PosY - 9}));

    // A shot that ends when its owner is hit, and an impact at once.
    ShotNode last{.Duration = 2, .EndsOnOwnerHit = 1};
    ShotNode first{.HitKind = kHitImpactNow, .ImpactNode = &last};
    ShotRecord s{.Active = 1, .HitArmed = 1, .Visible = 1, .Node = &last, .Trail = {}};
    owner.ActionState = 5;
    StepShotNode(s, owner);
    EXPECT_EQ(s.Active, 1);
    owner.ActionState = 6;
    StepShotNode(s, owner);
    EXPECT_EQ(Ints({s.Active, s.Visible, s.HitArmed}), Ints({0, 0, 0}));
    s.Node = &first;
    s.Ticks = 2;
    EXPECT_EQ(f.HitShot(s, 1), 0);
    EXPECT_EQ(s.Node, &last);
    EXPECT_EQ(s.Ticks, 0);
}

TEST(FightLoop, KnockOutsIntroBrokenDataAndPinch) {
    // Mode, stage, Limit enemy and both armours; then the winner, the screen after the
    // fight-over screen, and the stage and Limit enemy then.
    const struct {
        int mode = 0, stage = 0, enemy = 1, p1Armour = 100, p2Armour = 0;
        int winner = 1, state = 0, stageAfter = 0, enemyAfter = 1;
    } cases[] = {
        {.mode = 1, .state = kStatePreFight, .stageAfter = 1},
        {.mode = 1, .stage = 5, .state = kStateEnding},
        {.mode = 1, .stage = 2, .p1Armour = 0, .p2Armour = 100, .winner = 2, .state = kStateTitle, .stageAfter = 2},
        {.mode = 2, .p1Armour = 0, .winner = 0, .state = kStateSelect},
        {.mode = 4, .enemy = 8, .state = kStateLimitResult},
        // One point of armour left fights on.
        {.mode = 2, .p1Armour = 1, .p2Armour = 1, .winner = 0, .state = kStateFight},
    };
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        Rig rig(14, 14, c.mode);
        TForm1& f = rig.f;
        f.DataDir = dir.Str();
        f.StageNo = c.stage;
        f.LimitEnemy = c.enemy;
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
        EXPECT_EQ(Ints({f.GameState, f.StageNo, f.LimitEnemy}), Ints({c.state, c.stageAfter, c.enemyAfter}))
            << c.mode << " " << c.stage << " " << c.enemy;
    }

    // After 90 frames of "ready" the fight proper starts, however long the screen before ran.
    Rig rig;
    TForm1& f = rig.f;
    f.StateFrames = 50;
    f.ToFight();
    int intro = 0;
    for (; f.GameState == kStateFightIntro && intro < 200; ++intro) rig.Frame();
    EXPECT_EQ(intro, 90);

    // Robot data the fight cannot use ends on the error screen, naming the player (faults of
    // player 1 and 2 in turn).
    for (int fault = 0; fault < 4; ++fault) {
        Rig broken;
        PlayerRefs pl = broken.f.Player(fault % 2);
        if (fault == 0) pl.spec.MaxArmour = 0;
        if (fault == 1) pl.spec.MaxEnergy = 0;
        if (fault == 2) pl.fighter.Spec = nullptr;
        if (fault == 3) pl.fighter.CurrentNode = nullptr;
        broken.Frame();
        EXPECT_EQ(Ints({broken.f.GameState, broken.f.ErrorCode}), Ints({kStateError, fault % 2 + 1})) << fault;
    }

    // The pinch music starts once either robot's armour is below a third of its most, exactly.
    const struct {
        int player = 0, most = 0, armour = 0;
        bool pinch = false;
    } pinch[] = {
        {.player = 0, .most = 459, .armour = 153, .pinch = false},
        {.player = 0, .most = 459, .armour = 152, .pinch = true},
        {.player = 1, .most = 460, .armour = 153, .pinch = true},
    };
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

TEST(FightView, SheetsDepthGaugesTrailsAndWords) {
    Rig rig(13, 13);
    TForm1& f = rig.f;
    const dw::ColorTable& palette = f.DirectDrawObj->Palette();
    const dw::Surface& back = *f.BackSurface();
    f.P2Hide = 1;
    // Facing 0 shows the back view from the robot's own file; then back-side, side,
    // front-side, front; facings 5..7 show 3..1 mirrored. Of the sheet the cell in the node's
    // motion row and frame column is drawn, keyed: DivizOdir's node (2, 4) is motion 2, frame
    // 4, and cell (4, 2) holds another picture.
    const char* views[8] = {"back", "bs", "side", "fs", "front", "fs", "side", "bs"};
    testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
    ASSERT_TRUE(f.P1Sheets[0]->ColorKey().has_value());
    const uint8_t key = *f.P1Sheets[0]->ColorKey();
    const dw::Rect cell = dw::SheetCell(2, 4);
    f.P1Fighter.CurrentNode = &f.P1Graph.Node[2][4];
    for (int facing = 0; facing < 8; ++facing) {
        std::unique_ptr<dw::Surface> s;
        for (const char* file : RobotRowFor(13, 0, 2)->sheets)
            if (std::string(file).find(std::string("_") + views[facing] + ".") != std::string::npos)
                s = dw::LoadBitmapSurface(f.DirectDrawObj.get(), file);
        ASSERT_TRUE(s) << views[facing];
        rig.Place(300, 300, 300, 310);  // player 2 in front, but hidden
        f.P1Fighter.Facing = facing;
        rig.Draw();
        int drawn = 0;
        int wrong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint8_t want = s->Get(cell.left + (facing >= 5 ? 63 - x : x), cell.top + y);
                drawn += int(want != key);
                wrong += int(want != key && back.Get(268 + x, 268 + y) != want);
            }
        EXPECT_GT(drawn, 200) << facing;
        EXPECT_EQ(wrong, 0) << facing;
    }
    f.P1Fighter.CurrentNode = &f.P1Graph.Node[0][0];

    // Away from the robots the ground repeats its 200-pixel picture each way.
    f.Draw_FS2();
    int seams = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 600; ++x)
            seams += int(back.Get(x, y) != back.Get(x + 200, y)) + int(back.Get(x, y) != back.Get(x, y + 400));
    EXPECT_EQ(seams, 0);
    f.P2Hide = 0;

    // Overlapping, the robot lower on the screen is drawn over the other, also on the
    // fight-over screen. It faces up: its back view's row 32 (player 1 at 310) or 42 (player
    // 2 at 300) shows on screen line 310, where it has pixels of its own.
    for (int lower = 0; lower < 2; ++lower) {
        rig.Place(300, 310 - 20 * lower, 300, 300);
        f.GameState = kStateFightOver;
        f.AppIdle();
        const dw::Surface& view = *f.Player(lower).sheets[1];
        const int line = lower == 0 ? 32 : 42;
        int overdrawn = 0;
        for (int x = 0; x < 64; ++x)
            overdrawn += int(view.Get(x, line) != key && back.Get(268 + x, 310) != view.Get(x, line));
        EXPECT_EQ(overdrawn, 0) << lower;
    }

    // Armour and energy bars, 300 px framed, filled in proportion: (300 - 2) x the share.
    f.GameState = kStateFight;
    f.P1Fighter.Armour = f.P1Spec.MaxArmour / 2;
    f.P2Fighter.Armour = f.P2Spec.MaxArmour / 4;
    f.P2Fighter.Energy = 0;
    rig.Draw();
    const uint8_t green = dw::NearestIndex(palette, 0x00D200);
    EXPECT_EQ(Ints({CountIndex(back, {21, 15, 320, 16}, dw::NearestIndex(palette, 0xB40000)),
                    CountIndex(back, {481, 15, 780, 16}, dw::NearestIndex(palette, 0x0000B4)),
                    CountIndex(back, {21, 29, 320, 30}, green), CountIndex(back, {481, 29, 780, 30}, green)}),
              Ints({149, 74, 298, 0}));
    // Under them, each player's rounds of the four weapons (DivizOdir's to start with).
    for (int gx : {20, 480})
        EXPECT_TRUE(testing_support::TextShows(back, palette, f.Fonts[2].get(), gx, 38, "40  256  256  60", 0xFFFFFF));

    // A trail puff is a round disc centred on its point, the older puffs fading; a weapon
    // without a trail leaves none. Radius 6 fills the 13 x 13 box around its centre with rows
    // of 1, 7, 9, 11, 11, 11, 13, 11, 11, 11, 9, 7 and 1 pixels: 113.
    f.Shots.Record[0][0][0] = {
        .Active = 1, .Visible = 1, .Weapon = &f.P1Weapons[0], .Trail = {{120, 200}, {200, 200}, {300, 200}}};
    std::ranges::copy(std::array{6, 6, 0}, f.P1Weapons[0].TrailHalfSize);  // the oldest puff has no size
    for (int on : {1, 0}) {
        f.P1Weapons[0].TrailOn = on;
        rig.Draw();
        EXPECT_EQ(CountIndex(back, {114, 194, 127, 207}, dw::NearestIndex(palette, 0xD8D8D8)), 113 * on);
        EXPECT_EQ(back.Get(200, 200) == dw::NearestIndex(palette, 0xA8A8A8), on == 1);
        EXPECT_NE(back.Get(300, 200), dw::NearestIndex(palette, 0x787878));
    }

    // The fight's words, white on the ground, not on a white box of their own.
    const struct {
        int state = 0, winner = 0;
        const char* text = "";
        int x = 0;
    } words[] = {
        {.state = kStateFightIntro, .winner = 0, .text = "READY", .x = 300},
        {.state = kStateFightOver, .winner = 1, .text = "1P WIN!", .x = 260},
        {.state = kStateFightOver, .winner = 2, .text = "2P WIN!", .x = 260},
        {.state = kStateFightOver, .winner = 0, .text = "DRAW", .x = 260},
    };
    for (const auto& w : words) {
        f.GameState = w.state;
        f.Winner = w.winner;
        rig.Draw();
        EXPECT_TRUE(testing_support::TextShows(back, palette, f.Fonts[0].get(), w.x, 270, w.text, 0xFFFFFF)) << w.text;
        EXPECT_LT(CountIndex(back, {w.x, 270, w.x + 60, 290}, dw::NearestIndex(palette, 0xFFFFFF)), 60 * 20) << w.text;
    }
}
