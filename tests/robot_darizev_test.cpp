// DariZev and FIRE-FLY: the robot's records after a load, checked against the figures its
// design states, and every weapon flown frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "robot_checks.h"
#include "robots/d2e/d2e.h"
#include "robots/darizev/darizev.h"

using robot_walk::Flight;
using robot_walk::Pilot;
using robot_walk::Point;

namespace {

constexpr Point kOwner{400, 300};

}  // namespace

TEST(DariZev, SpecificationAndActionGraph) {
    auto form = robot_walk::Loaded(kDariZevRow);
    const RobotSpec& s = form->P1Spec;
    EXPECT_EQ(robot_checks::Header(*form), (std::vector<int32_t>{460, 400, 15, 15, 10, 5, 3}));

    // Modifier +1: facing up, moving right 6, 7, 8; up 6, 7, 8; down 4, 5, 6.
    const auto& up = s.NormalSpeed.Block[0].Speed;
    for (int step = 1; step <= 3; ++step) {
        EXPECT_EQ(up[0][step][0], 5 + step) << step;
        EXPECT_EQ(up[2][step][1], 5 + step) << step;
        EXPECT_EQ(up[5][step][1], 3 + step) << step;
    }
    // Every non-zero speed lies in 4..8 walking and 8..13 dashing; step 0 stands still.
    for (int dash = 0; dash < 2; ++dash)
        for (const SpeedBlock& b : (dash ? s.DashSpeed : s.NormalSpeed).Block)
            for (const auto& group : b.Speed)
                for (int step = 0; step < 4; ++step)
                    for (int32_t v : group[step]) {
                        if (step == 0 || v == 0) {
                            EXPECT_EQ(v, 0);
                            continue;
                        }
                        EXPECT_GE(v, dash ? 8 : 4);
                        EXPECT_LE(v, dash ? 13 : 8);
                    }

    // Sequence lengths: machine gun 4 + 4 + 4, spike 24, fireflies 6 + 4 + 8 + 8.
    const ActionGraph& g = form->P1Graph;
    EXPECT_EQ(robot_walk::SequenceLength(g, 1), 12);
    EXPECT_EQ(robot_walk::SequenceLength(g, 2), 24);
    EXPECT_EQ(robot_walk::SequenceLength(g, 3), 26);
    // The fireflies root the robot from 3.1 through the firing node 3.2.
    EXPECT_EQ(robot_checks::RootedFrames(g, 3), 12);
    EXPECT_EQ(robot_checks::RootedFrames(g, 1) + robot_checks::RootedFrames(g, 2), 0);
    // Every attack node falls to the hit node and idles by slot 7.
    for (int seq = 1; seq <= 3; ++seq)
        for (const ActionNode* n = &g.Node[seq][0]; n->Kind == seq; n = n->Next[kSlotDefault]) {
            EXPECT_EQ(n->Next[kSlotHit], &g.Node[6][0]);
            EXPECT_EQ(n->Next[kSlotIdle], &g.Node[0][0]);
        }
    // 4.0 is idle again and leads back to itself on weapon 4.
    EXPECT_EQ(g.Node[4][0].Kind, 0);
    EXPECT_EQ(g.Node[4][0].Next[4], &g.Node[4][0]);
    EXPECT_EQ(g.Node[4][0].Next[1], &g.Node[1][0]);
}

TEST(DariZev, LoadsIntoEitherPlayerAlone) {
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 5), ladder + count);
    for (int mode = 1; mode <= 4; ++mode) EXPECT_EQ(RobotRowFor(5, 1, mode), &kDariZevRow);
    // Slot 3 starts firefly c in column c.
    robot_checks::ExpectLoadsAlone(kDariZevRow, kD2ERow,
                                   {{200, "ATTACK4", false}, {256, "ATTACK2", false},
                                    {72, "BEAM", true}, {100, nullptr, false}});
}

TEST(DariZev, MachineGunAndSpikeFlights) {
    auto form = robot_walk::Loaded(kDariZevRow);
    const WeaponData& gun = form->P1Weapons[0];
    const ShotNode& gunRest = form->P1ShotTables[0].Node[0][0][0];

    // Facing right from (400, 300): three muzzles, then 18 px a frame for 20 frames.
    const Point muzzle[3] = {{470, 290}, {445, 300}, {420, 310}};
    for (int c = 0; c < 3; ++c) {
        Flight b(gun, gunRest, c, 2, kOwner);
        EXPECT_EQ(b.at.x, muzzle[c].x);
        EXPECT_EQ(b.at.y, muzzle[c].y);
        b.Frame(kOwner, {});
        EXPECT_EQ(b.at.x, muzzle[c].x + 18);
        EXPECT_EQ(b.Life(kOwner, {}), 19);
        EXPECT_EQ(b.at.x - muzzle[c].x, 360);
        EXPECT_EQ(b.at.y, muzzle[c].y);
    }
    // Every heading: 20 frames, 360 px on an axis and 280 per axis on a diagonal; the bullet
    // sprite is 10 x 10.
    for (int h = 0; h < kHeadings; ++h) {
        Flight b(gun, gunRest, 0, h, kOwner);
        const Point from = b.at;
        EXPECT_EQ(b.Life(kOwner, {}), 20) << h;
        const LaunchOffset far = AxisStep(h, 360, 280);
        EXPECT_EQ(b.at.x - from.x, far.x) << h;
        EXPECT_EQ(b.at.y - from.y, far.y) << h;
        const int32_t* r = b.node->SrcRect;
        EXPECT_EQ(r[2] - r[0], 10);
        EXPECT_EQ(r[3] - r[1], 10);
    }

    // The spike: 17 frames held 35 px in front of its owner, even as the owner moves; a box
    // 40 high and 30 wide facing up or down, 30 x 40 facing sideways, 35 x 35 on diagonals.
    const WeaponData& spike = form->P1Weapons[1];
    const ShotNode& spikeRest = form->P1ShotTables[1].Node[0][0][0];
    const int halfHeight[kHeadings] = {40, 35, 30, 35, 40, 35, 30, 35};
    for (int h = 0; h < kHeadings; ++h) {
        Flight t(spike, spikeRest, 0, h, kOwner);
        EXPECT_EQ(t.node->HitHalfHeight, halfHeight[h]) << h;
        EXPECT_EQ(t.node->HitHalfWidth, 70 - halfHeight[h]) << h;
        int hitting = 0, frames = 0;
        for (Point owner = kOwner; t.active; ++frames) {
            hitting += t.node->HitKind == kHitMelee;
            owner.x += 3;
            t.Frame(owner, {});
            const LaunchOffset out = AxisStep(h, 35, 35);
            EXPECT_EQ(t.at.x, owner.x + out.x);
            EXPECT_EQ(t.at.y, owner.y + out.y);
        }
        EXPECT_EQ(frames, 17) << h;
        EXPECT_EQ(hitting, 9) << h;
    }
    EXPECT_EQ(spikeRest.Damage, 32);
    EXPECT_EQ(spikeRest.Stun, 80);
}

TEST(FireFly, BothFormsLive108FramesAndSteerAtTheOpponent) {
    struct Form {
        void (*build)(WeaponData&, ShotTable&);
        int ammo, damage, legAxis, legDiagonal, hitToEnd;
    };
    const Form forms[2] = {{BuzzB_Weapon3, 72, 20, 18, 15, 6}, {Scav_Weapon2, 60, 24, 15, 12, 4}};
    for (const Form& form : forms) {
        auto w = std::make_unique<WeaponData>();
        auto t = std::make_unique<ShotTable>();
        form.build(*w, *t);
        EXPECT_EQ(w->StartAmmo, form.ammo);
        EXPECT_EQ(w->Rows * w->Columns, 6);

        for (int h = 0; h < kHeadings; ++h)
            for (int c = 0; c < 6; ++c) {
                const ShotNode& rest = t->Node[0][c][0];
                const ShotNode* chain = t->Node[h][c];
                // Pairs of columns are mirror images about the launch heading; the fling
                // goes out behind the launcher and the drift forward.
                const ShotNode* twin = t->Node[h][c ^ 1];
                for (int k : {0, 2}) {
                    const Point m = robot_walk::Mirror(h, {chain[k].Dx, chain[k].Dy});
                    EXPECT_EQ(m.x, twin[k].Dx) << h << " " << c << " " << k;
                    EXPECT_EQ(m.y, twin[k].Dy) << h << " " << c << " " << k;
                    const int along = chain[k].Dx * kHeadingSignX[h] + chain[k].Dy * kHeadingSignY[h];
                    EXPECT_EQ(along > 0, k == 2) << h << " " << c << " " << k;
                }
                EXPECT_EQ(chain[0].Damage, form.damage);

                // Toward an opponent far off in heading j both legs fly heading j: the
                // firefly lives 108 frames and ends 60 leg steps beyond its drift.
                for (int j = 0; j < kHeadings; ++j) {
                    const Point target{kOwner.x + 100000 * kHeadingSignX[j], kOwner.y + 100000 * kHeadingSignY[j]};
                    Flight fly(*w, rest, c, h, kOwner);
                    EXPECT_EQ(fly.Life(kOwner, target), 108) << h << " " << c << " " << j;
                    const LaunchOffset leg = AxisStep(j, form.legAxis, form.legDiagonal);
                    EXPECT_EQ(fly.at.x, kOwner.x + 6 * chain[0].Dx + 30 * chain[2].Dx + 60 * leg.x);
                    EXPECT_EQ(fly.at.y, kOwner.y + 6 * chain[0].Dy + 30 * chain[2].Dy + 60 * leg.y);
                    EXPECT_EQ(fly.node, &t->Node[j][c][10]);
                }

                // A hit in the fling bursts at once and ends the firefly 6 (4) frames later.
                Flight hit(*w, rest, c, h, kOwner);
                hit.Frame(kOwner, {});
                hit.Hit();
                EXPECT_EQ(hit.node, &chain[9]);
                EXPECT_FALSE(hit.armed);
                EXPECT_EQ(hit.Life(kOwner, {}), form.hitToEnd);
            }

        // An opponent 20 degrees off the up axis is approached along heading 0.
        Flight fly(*w, t->Node[0][0][0], 0, 2, kOwner);
        const Point target{kOwner.x + 3640, kOwner.y - 10000};
        while (fly.node->MoveKind != kMoveBranch) fly.Frame(kOwner, target);
        fly.Frame(kOwner, target);
        EXPECT_EQ(fly.node, &t->Node[0][0][5]);
        EXPECT_EQ(fly.heading, 0);
    }
}

TEST(FireFly, FormsWriteOnlyTheirOwnFields) {
    // Pre-mark every node: what a builder leaves alone keeps the mark.
    for (auto build : {BuzzB_Weapon3, Scav_Weapon2}) {
        auto w = std::make_unique<WeaponData>();
        auto t = std::make_unique<ShotTable>();
        for (auto& heading : t->Node)
            for (auto& column : heading)
                for (ShotNode& n : column) n.Duration = n.SrcRect[0] = 77;
        build(*w, *t);
        const bool dariZev = build == BuzzB_Weapon3;
        for (int h = 0; h < kHeadings; ++h) {
            // Columns 6 and 7 are never launched: their fling and drift nodes get no step data.
            EXPECT_EQ(t->Node[h][6][0].Duration, 77);
            EXPECT_EQ(t->Node[h][7][2].Duration, 77);
            EXPECT_EQ(t->Node[h][7][1].Duration, 4);
            // Only the DariZev form draws into the spare nodes and columns.
            EXPECT_EQ(t->Node[h][3][12].Duration, 77);
            EXPECT_EQ(t->Node[h][9][9].Duration, 77);
            EXPECT_EQ(t->Node[h][3][12].SrcRect[0], dariZev ? t->Node[h][3][0].SrcRect[0] : 77);
            EXPECT_EQ(t->Node[h][9][10].SrcRect[0], dariZev ? 30 : 77);
        }
        // The drawn sizes: 24 x 24 in flight, bursts 20 then 28, or 32 and 32.
        const ShotNode* chain = t->Node[0][0];
        EXPECT_EQ(chain[0].HitHalfWidth * 2, 24);
        EXPECT_EQ(chain[9].HitHalfWidth * 2, dariZev ? 20 : 32);
        EXPECT_EQ(chain[10].HitHalfWidth * 2, dariZev ? 28 : 32);
    }
}

TEST(DariZev, HeldButtonsFireOneVolleyPerPress) {
    auto form = robot_walk::Loaded(kDariZevRow);
    const ActionGraph& g = form->P1Graph;

    // Held, each weapon fires once however long the button stays down.
    robot_walk::ExpectOneVolleyPerHeldButton(g, 3, 200);

    // The machine gun re-enters its firing node on each new press without the wind-up.
    Pilot p(&g.Node[0][0]);
    p.Press(1);
    p.Frames(5);
    EXPECT_EQ(p.node, &g.Node[1][1]);
    for (int press = 0; press < 5; ++press) {
        p.Release(1);
        p.Frames(3);
        p.Press(1);
        p.Frames(1);
        EXPECT_EQ(p.node, &g.Node[1][1]);
    }
    EXPECT_EQ(p.volleys[0], 6);
    p.Release(1);
    p.Frames(20);
    EXPECT_EQ(p.node, &g.Node[0][0]);

    // Weapon 4 leads to an idle copy that fires nothing.
    p.Press(4);
    p.Frames(10);
    EXPECT_EQ(p.node, &g.Node[4][0]);
    EXPECT_EQ(p.volleys[3], 0);
}
