// DivizOdir: its records after a load, and its four weapons flown frame by frame, against
// the figures its design states.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "robot_checks.h"
#include "robots/divizodir/divizodir.h"
#include "robots/doz/doz.h"

using robot_checks::FlyAt;
using robot_walk::Flight;
using robot_walk::Pilot;
using robot_walk::Point;

namespace {

constexpr Point kOwner{400, 300};

}  // namespace

TEST(DivizOdir, SpecificationGraphAndLoad) {
    auto form = robot_walk::Loaded(kDivizOdirRow);
    EXPECT_EQ(robot_checks::Header(*form), (std::vector<int32_t>{640, 600, 25, 25, 15, 6, 3}));
    // Template speeds as they stand: facing right, walking right 6, 7, 8, dashing 11, 12, 12.
    const int walk[3] = {6, 7, 8}, dash[3] = {11, 12, 12};
    for (int step = 1; step <= 3; ++step) {
        EXPECT_EQ(form->P1Fighter.NormalSpeed.Block[2].Speed[0][step][0], walk[step - 1]);
        EXPECT_EQ(form->P1Fighter.DashSpeed.Block[2].Speed[0][step][0], dash[step - 1]);
    }
    // Grenade 20 frames, claw 16, beam 28 (rooted from its firing node on), salvo 24.
    const ActionGraph& g = form->P1Graph;
    const int lengths[4] = {20, 16, 28, 24};
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(robot_walk::SequenceLength(g, k), lengths[k - 1]) << k;
    EXPECT_EQ(robot_checks::RootedFrames(g, 3), 16);
    // Only the grenade draws a trail.
    for (int k = 0; k < 4; ++k) EXPECT_EQ(form->P1Weapons[size_t(k)].TrailOn, k == 0 ? 1 : 0);
    EXPECT_EQ(form->P1Weapons[0].TrailHalfSize[2], 14);

    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 13), ladder + count);
    for (int mode = 1; mode <= 4; ++mode) EXPECT_EQ(RobotRowFor(13, 1, mode), &kDivizOdirRow);
    robot_checks::ExpectLoadsAlone(kDivizOdirRow, kDOZRow,
                                   {{40, "ATTACK5", false}, {256, "ATTACK2", false}, {256, "BEAM", true},
                                    {60, "ATTACK5", true}});
}

TEST(DivizOdir, GrenadeAndClaw) {
    auto form = robot_walk::Loaded(kDivizOdirRow);
    const WeaponData& grenade = form->P1Weapons[0];
    const ShotNode& rest = form->P1ShotTables[0].Node[0][0][0];

    // Toward heading 1: (10, -10) a frame; a 40-frame flight and a 16-frame burst.
    Flight up(grenade, rest, 0, 1, kOwner);
    EXPECT_EQ(up.at.x - kOwner.x, 45);
    EXPECT_EQ(up.at.y - kOwner.y, -45);
    up.Frame(kOwner, {});
    EXPECT_EQ(up.at.x - kOwner.x, 55);
    EXPECT_EQ(up.at.y - kOwner.y, -55);
    Flight whole(grenade, rest, 0, 1, kOwner);
    EXPECT_EQ(FlyAt(whole, kOwner, {{0, 5000}}).life, 56);

    // Facing right: a hit in flight bursts there and the burst does no more (36, 9 through a
    // guard); a grenade that flies out bursts at 930 armed, and its growing box reaches an
    // opponent 50 px further once it has grown to 26, on frame 44 (a frame's hit test
    // follows its node step).
    for (bool guarding : {false, true}) {
        Flight g(grenade, rest, 0, 2, kOwner);
        const auto s = FlyAt(g, kOwner, {{600, 300}, 25, guarding});
        EXPECT_EQ(s.frames, std::vector<int>{10});
        EXPECT_EQ(s.armour, guarding ? 9 : 36);
        EXPECT_EQ(s.life, 10 + 16);
    }
    Flight far(grenade, rest, 0, 2, kOwner);
    const auto burst = FlyAt(far, kOwner, {{980, 300}});
    EXPECT_EQ(far.at.x, 930);
    EXPECT_EQ(burst.frames, std::vector<int>{44});

    // The claw: held 40 px out, 32 frames, able to hit only in its first four nodes (16
    // frames; the step into the fifth comes before the 16th frame's test); 48 once.
    const WeaponData& claw = form->P1Weapons[1];
    const ShotNode& clawRest = form->P1ShotTables[1].Node[0][0][0];
    const Point front{kOwner.x + 40, kOwner.y};
    for (int arrives : {0, 14, 15}) {
        Flight c(claw, clawRest, 0, 2, kOwner);
        const auto arriving = [&](int frame, Point) { return frame >= arrives ? front : Point{0, 9000}; };
        const auto s = FlyAt(c, kOwner, {}, arriving);
        EXPECT_EQ(s.life, 32);
        EXPECT_EQ(s.frames, arrives < 15 ? std::vector<int>{arrives + 1} : std::vector<int>{}) << arrives;
    }
    Flight guarded(claw, clawRest, 0, 6, kOwner);
    EXPECT_EQ(FlyAt(guarded, kOwner, {{kOwner.x - 40, kOwner.y}, 25, true}).armour, 12);
}

TEST(DivizOdir, LazerAndTenpest) {
    auto form = robot_walk::Loaded(kDivizOdirRow);
    const WeaponData& beam = form->P1Weapons[2];
    const ShotTable& beamTable = form->P1ShotTables[2];
    // A beam pays 10 x EnergyCost: it fires above 160 energy, not at 160, and leaves 1 of 161.
    ASSERT_EQ(form->Shots.Record[2][0][0].Node->MoveKind, kMoveBeam);
    const auto fires = [&](int energy) { return energy - 10 * beam.EnergyCost > 0; };
    EXPECT_FALSE(fires(160));
    EXPECT_TRUE(fires(161));
    EXPECT_EQ(161 - 10 * beam.EnergyCost, 1);
    // Segment 9 starts 765 px right facing right, at (-675, -675) facing up-left; the line
    // is drawn 800 px out along the heading.
    EXPECT_EQ(beam.LaunchPoint[2][9].x, 765);
    EXPECT_EQ(beam.LaunchPoint[2][9].y, 0);
    EXPECT_EQ(beam.LaunchPoint[7][9].x, -675);
    EXPECT_EQ(beam.LaunchPoint[7][9].y, -675);
    for (int h = 0; h < kHeadings; ++h) {
        const LaunchOffset tip = AxisStep(h, 800, 800);
        EXPECT_EQ(beamTable.Node[h][4][0].ReachX, tip.x) << h;
        EXPECT_EQ(beamTable.Node[h][4][0].ReachY, tip.y) << h;
    }
    for (bool guarding : {false, true}) {
        Flight seg(beam, beamTable.Node[0][2][0], 2, 2, kOwner);
        const auto s = FlyAt(seg, kOwner, {{kOwner.x + 205, kOwner.y}, 25, guarding});
        EXPECT_EQ(s.life, 10);
        EXPECT_EQ(s.armour, guarding ? 13 : 52);
    }

    // The salvo: six missiles climb, hang above the opponent and start falling in the order
    // of their columns 0, 4, 1, 3, then 2 and 5 together; the paths are the same whatever
    // the heading they were fired in.
    const WeaponData& salvo = form->P1Weapons[3];
    const ShotTable& t = form->P1ShotTables[3];
    const Point target{400, 100};
    int fallsAt[6] = {};
    for (int c = 0; c < 6; ++c)
        for (int h = 0; h < kHeadings; ++h) {
            Flight m(salvo, t.Node[0][c][0], c, h, kOwner);
            EXPECT_EQ(m.at.x, kOwner.x);
            EXPECT_EQ(m.at.y, kOwner.y);
            int frames = 0;
            for (; robot_checks::NodeIndex(t, m.node) != 3; ++frames) m.Frame(kOwner, target);
            if (h == 0) fallsAt[c] = frames;
            EXPECT_EQ(frames, fallsAt[c]) << c << " " << h;
            for (int f = 0; f < 20; ++f) m.Frame(kOwner, target);
            EXPECT_EQ(m.at.x - target.x, t.Node[0][c][2].Dx) << c;
            EXPECT_EQ(m.at.y - target.y, t.Node[0][c][2].Dy + 600) << c;
        }
    int order[6];
    std::iota(order, order + 6, 0);
    std::stable_sort(order, order + 6, [&](int a, int b) { return fallsAt[a] < fallsAt[b]; });
    EXPECT_EQ(std::vector<int>(order, order + 6), (std::vector<int>{0, 4, 1, 3, 2, 5}));
    EXPECT_EQ(fallsAt[2], fallsAt[5]);
    EXPECT_EQ(fallsAt[0], 12 + 8 + 8);

    // Column 0 climbs through an opponent standing right above the owner and falls through
    // it without a test; its blast, landing 60 px below, reaches it once grown to 45.
    for (bool guarding : {false, true}) {
        Flight m(salvo, t.Node[0][0][0], 0, 2, kOwner);
        const auto s = FlyAt(m, kOwner, {target, 25, guarding});
        EXPECT_EQ(s.frames, std::vector<int>{12 + 8 + 8 + 20 + 4 + 6});
        EXPECT_EQ(s.armour, guarding ? 10 : 40);
        EXPECT_EQ(s.life, 64);
    }
}

TEST(DivizOdir, HeldButtonsFireOneVolleyPerPress) {
    auto form = robot_walk::Loaded(kDivizOdirRow);
    const ActionGraph& g = form->P1Graph;
    robot_walk::ExpectOneVolleyPerHeldButton(g, 4, 300);
    // The beam held repeats, through one idle frame still in its sequence, without firing;
    // each later press from idle fires one beam.
    Pilot p(&g.Node[0][0]);
    p.Press(3);
    p.Frames(1 + 28);
    EXPECT_EQ(p.node, &g.Node[0][0]);
    EXPECT_EQ(p.state, 3);
    p.Frames(1);
    EXPECT_EQ(p.node, &g.Node[3][0]);
    p.Release(3);
    p.Frames(60);
    const int before = p.volleys[2];
    for (int press = 0; press < 3; ++press) {
        p.Press(3);
        p.Frames(1);
        p.Release(3);
        p.Frames(40);
    }
    EXPECT_EQ(p.volleys[2], before + 3);
}
