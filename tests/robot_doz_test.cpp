// DedaZivirEvavid: its records after a load, and its four weapons flown frame by frame,
// against the figures its design states.
#include <gtest/gtest.h>

#include <algorithm>

#include "robot_checks.h"
#include "robots/d2e/d2e.h"
#include "robots/doz/doz.h"

using robot_checks::FlyAt;
using robot_walk::Flight;
using robot_walk::Pilot;
using robot_walk::Point;

namespace {

constexpr Point kOwner{400, 300};

// An opponent far away in heading j.
Point FarOff(int j) { return {kOwner.x + 100000 * kHeadingSignX[j], kOwner.y + 100000 * kHeadingSignY[j]}; }

}  // namespace

TEST(DedaZivirEvavid, SpecificationGraphAndLoad) {
    auto form = robot_walk::Loaded(kDOZRow);
    EXPECT_EQ(robot_checks::Header(*form), (std::vector<int32_t>{660, 560, 30, 30, 14, 7, 2}));
    // Modifier -1, and the fixed entries: walking right facing right 5, 6, 8; dashing left
    // facing left 10, 11, 13.
    const int walkRight[3] = {5, 6, 8}, dashLeft[3] = {10, 11, 13};
    for (int step = 1; step <= 3; ++step) {
        EXPECT_EQ(form->P1Spec.NormalSpeed.Block[0].Speed[2][step][1], 3 + step);  // facing up, up
        EXPECT_EQ(form->P1Spec.NormalSpeed.Block[2].Speed[0][step][0], walkRight[step - 1]);
        EXPECT_EQ(form->P1Spec.DashSpeed.Block[6].Speed[1][step][0], dashLeft[step - 1]);
    }
    // Gun 18 frames, blow 28, creeper 13, rockets 28 standing still for the last 16.
    const ActionGraph& g = form->P1Graph;
    const int lengths[4] = {18, 28, 13, 28};
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(robot_walk::SequenceLength(g, k), lengths[k - 1]) << k;
    EXPECT_EQ(robot_checks::RootedFrames(g, 4), 16);

    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 4), ladder + count);
    for (int mode = 1; mode <= 4; ++mode) EXPECT_EQ(RobotRowFor(4, 1, mode), &kDOZRow);
    robot_checks::ExpectLoadsAlone(kDOZRow, kD2ERow,
                                   {{200, "ATTACK4", false}, {256, "ATTACK2", false}, {30, "ATTACK3", true},
                                    {60, "ATTACK5", true}});
}

TEST(DedaZivirEvavid, GunAndHeavyBlow) {
    auto form = robot_walk::Loaded(kDOZRow);
    // Facing down, the three bullets leave from (10, 70), (0, 45) and (-10, 40): the third
    // only 5 px behind the second.
    const WeaponData& gun = form->P1Weapons[0];
    const ShotNode& gunRest = form->P1ShotTables[0].Node[0][0][0];
    const Point muzzle[3] = {{10, 70}, {0, 45}, {-10, 40}};
    for (int c = 0; c < 3; ++c) {
        Flight b(gun, gunRest, c, 4, kOwner);
        EXPECT_EQ(b.at.x - kOwner.x, muzzle[c].x);
        EXPECT_EQ(b.at.y - kOwner.y, muzzle[c].y);
        EXPECT_EQ(b.node, &form->P1ShotTables[0].Node[4][0][0]);  // every bullet runs column 0
    }
    // 20 frames: 300 px on an axis, (200, 200) on a diagonal.
    for (int h = 0; h < kHeadings; ++h) {
        Flight b(gun, gunRest, 0, h, kOwner);
        const Point from = b.at;
        EXPECT_EQ(b.Life(kOwner, {}), 20) << h;
        const LaunchOffset far = AxisStep(h, 300, 200);
        EXPECT_EQ(b.at.x - from.x, far.x) << h;
        EXPECT_EQ(b.at.y - from.y, far.y) << h;
    }

    // The blow: held 45 px out for 12 frames; overlapping the opponent on every frame it
    // hits once, for 160 (40 through a guard), in its first frame.
    const WeaponData& ripper = form->P1Weapons[1];
    const ShotNode& ripperRest = form->P1ShotTables[1].Node[0][0][0];
    for (int h = 0; h < kHeadings; ++h)
        for (bool guarding : {false, true}) {
            Flight blow(ripper, ripperRest, 0, h, kOwner);
            const LaunchOffset out = AxisStep(h, 45, 45);
            EXPECT_EQ(blow.at.x, kOwner.x + out.x);
            EXPECT_EQ(blow.at.y, kOwner.y + out.y);
            const auto s = FlyAt(blow, kOwner, {{kOwner.x + out.x, kOwner.y + out.y}, 30, guarding});
            EXPECT_EQ(s.life, 12);
            EXPECT_EQ(s.frames, std::vector<int>{1});
            EXPECT_EQ(s.armour, guarding ? 40 : 160);
        }
}

TEST(DedaZivirEvavid, FourWayRocketFansThenFliesParallel) {
    auto form = robot_walk::Loaded(kDOZRow);
    const WeaponData& w = form->P1Weapons[3];
    const ShotTable& t = form->P1ShotTables[3];

    // Facing right: all four leave (40, 0); after the 12-frame fan they stand 120 and 36 px
    // above and 36 and 120 below the line of flight, then move 12 px a frame to the right.
    const int off[4] = {-120, -36, 36, 120};
    for (int c = 0; c < 4; ++c) {
        Flight r(w, t.Node[0][c][0], c, 2, kOwner);
        EXPECT_EQ(r.at.x - kOwner.x, 40);
        EXPECT_EQ(r.at.y, kOwner.y);
        for (int f = 0; f < 12; ++f) r.Frame(kOwner, {});
        EXPECT_EQ(r.at.y - kOwner.y, off[c]) << c;
        const int x = r.at.x;
        r.Frame(kOwner, {});
        EXPECT_EQ(r.at.x - x, 12);
        EXPECT_EQ(r.at.y - kOwner.y, off[c]);
        EXPECT_EQ(13 + r.Life(kOwner, {}), 57 + 8);  // fan and flight, explosion
    }
    // At heading 3 the middle two are crossed, as drawn.
    EXPECT_EQ(t.Node[3][1][0].Dx, 4);
    EXPECT_EQ(t.Node[3][1][0].Dy, 6);
    EXPECT_EQ(t.Node[3][2][0].Dx, 6);
    EXPECT_EQ(t.Node[3][2][0].Dy, 4);

    // A rocket that hits goes straight to its explosion, which tests nothing: 40 once.
    Flight r(w, t.Node[0][1][0], 1, 2, kOwner);
    const auto s = FlyAt(r, kOwner, {{700, kOwner.y - 36}});
    ASSERT_EQ(s.frames.size(), 1u);
    EXPECT_EQ(s.armour, 40);
    EXPECT_EQ(s.life, s.frames[0] + 8);
}

TEST(FireCreeper, SwingsRunsSteersTwiceAndBursts) {
    auto form = robot_walk::Loaded(kDOZRow);
    const WeaponData& w = form->P1Weapons[2];
    const ShotTable& t = form->P1ShotTables[2];
    const ShotNode& rest = t.Node[0][0][0];

    // After the 8-frame swing, 96 px to the side of the launch line and 40 behind: facing
    // up at (96, 40), down (-96, -40), right (-40, 96) below the robot; facing down-right it
    // swings above, to (40, -96). Then it runs 15 px a frame (12 per axis on a diagonal).
    const int headings[4] = {0, 4, 2, 3};
    const Point swung[4] = {{96, 40}, {-96, -40}, {-40, 96}, {40, -96}};
    for (int i = 0; i < 4; ++i) {
        const int h = headings[i];
        Flight f(w, rest, 0, h, kOwner);
        for (int frame = 0; frame < 8; ++frame) f.Frame(kOwner, FarOff(h));
        EXPECT_EQ(f.at.x - kOwner.x, swung[i].x) << h;
        EXPECT_EQ(f.at.y - kOwner.y, swung[i].y) << h;
        f.Frame(kOwner, FarOff(h));
        const LaunchOffset run = AxisStep(h, 15, 12);
        EXPECT_EQ(f.at.x - kOwner.x, swung[i].x + run.x) << h;
        EXPECT_EQ(f.at.y - kOwner.y, swung[i].y + run.y) << h;
    }

    // Toward an opponent far off, whatever the launch heading: both runs go its way, the
    // burst's first frame is frame 93 and the shot ends after frame 104.
    for (int h = 0; h < kHeadings; ++h)
        for (int j = 0; j < kHeadings; ++j) {
            Flight f(w, rest, 0, h, kOwner);
            int frames = 0;
            for (; robot_checks::NodeIndex(t, f.node) != 9; ++frames) f.Frame(kOwner, FarOff(j));
            EXPECT_EQ(frames + 1, 93) << h << " " << j;
            EXPECT_EQ(f.node, &t.Node[j][0][9]);
            EXPECT_TRUE(f.armed);
            EXPECT_EQ(frames + f.Life(kOwner, FarOff(j)), 104);
        }

    // A hit on the first run bursts at once, where it is, and hits no more: 32 once.
    Flight f(w, rest, 0, 0, kOwner);
    const auto s = FlyAt(f, kOwner, {{496, 100}});
    EXPECT_EQ(s.frames, std::vector<int>{22});
    EXPECT_EQ(s.armour, 32);
    EXPECT_EQ(s.life, 22 + 12);
    EXPECT_EQ(w.Rows, 2);
}

TEST(DedaZivirEvavid, HeldButtonsFireOneVolleyPerPress) {
    auto form = robot_walk::Loaded(kDOZRow);
    const ActionGraph& g = form->P1Graph;
    robot_walk::ExpectOneVolleyPerHeldButton(g, 4, 300);

    // The gun stays on its firing node while held, and fires again at each new press.
    Pilot p(&g.Node[0][0]);
    p.Press(1);
    p.Frames(40);
    EXPECT_EQ(p.node, &g.Node[1][1]);
    for (int press = 0; press < 3; ++press) {
        p.Release(1);
        p.Frames(2);
        p.Press(1);
        p.Frames(1);
    }
    EXPECT_EQ(p.volleys[0], 4);
    p.Release(1);
    p.Frames(20);
    EXPECT_EQ(p.node, &g.Node[0][0]);

    // Button 2 held through the rockets' aim switches to the heavy blow before they fire.
    Pilot q(&g.Node[0][0]);
    q.Press(4);
    q.Frames(6);
    q.Press(2);
    q.Frames(4);
    EXPECT_EQ(q.node->Kind, 2);
    EXPECT_EQ(q.volleys[3], 0);
}
