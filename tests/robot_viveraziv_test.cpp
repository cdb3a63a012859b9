// ViveraziV: its records after a load, which robot ids 6 and 16 load, and its rifle and
// napalm flown frame by frame, against the figures its design states.
#include <gtest/gtest.h>

#include <algorithm>

#include "robot_checks.h"
#include "robots/d2e/d2e.h"
#include "robots/viveraziv/viveraziv.h"

using robot_checks::FlyAt;
using robot_walk::Flight;
using robot_walk::Pilot;
using robot_walk::Point;

namespace {

constexpr Point kOwner{400, 300};

}  // namespace

TEST(ViveraziV, SpecificationGraphAndLoad) {
    auto form = robot_walk::Loaded(kViveraziVRow);
    EXPECT_EQ(robot_checks::Header(*form), (std::vector<int32_t>{580, 600, 25, 25, 14, 5, 1}));
    // Modifier +1: facing right, walking right 7, 8, 8; dashing right facing right and left
    // facing left 12, 13, 13.
    const RobotSpec& s = form->P1Spec;
    const int walk[3] = {7, 8, 8}, dash[3] = {12, 13, 13};
    for (int step = 1; step <= 3; ++step) {
        EXPECT_EQ(s.NormalSpeed.Block[2].Speed[0][step][0], walk[step - 1]);
        EXPECT_EQ(s.DashSpeed.Block[2].Speed[0][step][0], dash[step - 1]);
        EXPECT_EQ(s.DashSpeed.Block[6].Speed[1][step][0], dash[step - 1]);
    }
    // Rifle 18 frames, fireflies 18, napalm 30, rooted for 22 of them in 3.1 and 3.2; 4.0
    // is a copy of idle whose weapon-4 link leads to itself.
    const ActionGraph& g = form->P1Graph;
    const int lengths[3] = {18, 18, 30};
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(robot_walk::SequenceLength(g, k), lengths[k - 1]) << k;
    EXPECT_EQ(robot_checks::RootedFrames(g, 3), 22);
    EXPECT_EQ(robot_checks::RootedFrames(g, 1) + robot_checks::RootedFrames(g, 2), 0);
    EXPECT_EQ(g.Node[4][0].Kind, 0);
    EXPECT_EQ(g.Node[4][0].Next[4], &g.Node[4][0]);

    // 16 is always ViveraziV; 6 too, but for player 2 in Survival and Limit.
    for (int mode = 1; mode <= 4; ++mode)
        for (int player = 0; player < 2; ++player) {
            EXPECT_EQ(RobotRowFor(16, player, mode), &kViveraziVRow);
            EXPECT_EQ(RobotRowFor(6, player, mode) == &kViveraziVRow, player == 0 || mode <= 2) << player << mode;
        }
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 16), ladder + count);
    robot_checks::ExpectLoadsAlone(kViveraziVRow, kD2ERow,
                                   {{100, "ATTACK1", false}, {60, "BEAM", true}, {20, "ATTACK5", true},
                                    {100, nullptr, false}});
}

TEST(ViveraziV, RifleAndNapalm) {
    auto form = robot_walk::Loaded(kViveraziVRow);
    // Rifle: six rows; 50 frames, 1000 px on an axis and 750 per axis on a diagonal. A hit
    // takes 24 (6 through a guard) and the bullet flies on, harmless, to its 50th frame.
    const WeaponData& rifle = form->P1Weapons[0];
    const ShotNode& rest = form->P1ShotTables[0].Node[0][0][0];
    EXPECT_EQ(rifle.Rows, 6);
    for (int h = 0; h < kHeadings; ++h) {
        Flight b(rifle, rest, 0, h, kOwner);
        const LaunchOffset out = AxisStep(h, 50, 40);
        EXPECT_EQ(b.at.x - kOwner.x, out.x);
        EXPECT_EQ(b.at.y - kOwner.y, out.y);
        EXPECT_EQ(b.Life(kOwner, {}), 50);
        const LaunchOffset far = AxisStep(h, 1000, 750);
        EXPECT_EQ(b.at.x - kOwner.x - out.x, far.x) << h;
        EXPECT_EQ(b.at.y - kOwner.y - out.y, far.y) << h;
    }
    for (bool guarding : {false, true}) {
        Flight b(rifle, rest, 0, 2, kOwner);
        const auto s = FlyAt(b, kOwner, {{600, 300}, 25, guarding});
        EXPECT_EQ(s.frames.size(), 1u);
        EXPECT_EQ(s.armour, guarding ? 6 : 24);
        EXPECT_EQ(s.life, 50);
    }

    // Napalm: in any facing the canister rises 600 px straight up in 12 frames and lives 70.
    const WeaponData& napalm = form->P1Weapons[2];
    const ShotTable& t = form->P1ShotTables[2];
    for (int h = 0; h < kHeadings; ++h) {
        Flight c(napalm, t.Node[0][0][0], 0, h, kOwner);
        for (int f = 0; f < 12; ++f) c.Frame(kOwner, {600, 300});
        EXPECT_EQ(c.at.x, kOwner.x) << h;
        EXPECT_EQ(c.at.y, kOwner.y - 600) << h;
        EXPECT_EQ(c.Life(kOwner, {600, 300}) + 12, 70) << h;
    }
    // Hung 600 px above the opponent it is drawn half as tall as wide.
    EXPECT_EQ(t.Node[5][0][2].HitHalfHeight, 6);
    EXPECT_EQ(t.Node[5][0][2].HitHalfWidth, 12);

    // It lands where the opponent stood on the last hung frame (28); one that walks on
    // is not caught by the blast.
    Flight walked(napalm, t.Node[0][0][0], 0, 2, kOwner);
    const auto away = FlyAt(walked, kOwner, {{600, 300}}, [](int, Point at) { return Point{at.x + 5, at.y}; });
    EXPECT_EQ(walked.at.x, 600 + 5 * 28);
    EXPECT_EQ(walked.at.y, 300);
    EXPECT_TRUE(away.frames.empty());
    EXPECT_EQ(away.life, 70);

    // One standing still is hit once, by the blast's first box on the fall's last frame,
    // for 100 (25 guarding), however long it stays inside the growing blast.
    for (bool guarding : {false, true}) {
        Flight c(napalm, t.Node[0][0][0], 0, 6, kOwner);
        const auto s = FlyAt(c, kOwner, {{600, 300}, 25, guarding});
        EXPECT_EQ(s.frames, std::vector<int>{12 + 8 + 8 + 20});
        EXPECT_EQ(s.armour, guarding ? 25 : 100);
    }
}

TEST(ViveraziV, HeldButtonsFireOneVolleyPerPress) {
    auto form = robot_walk::Loaded(kViveraziVRow);
    const ActionGraph& g = form->P1Graph;
    robot_walk::ExpectOneVolleyPerHeldButton(g, 3, 300);

    // Rifle: the first entry into 1.2 fires (frame 6); a new press in 1.3 goes back to 1.1
    // and re-arms it, so the next 1.2 fires again; held on, the loop fires no more.
    Pilot p(&g.Node[0][0]);
    p.Press(1);
    p.Frames(6);
    EXPECT_EQ(p.node, &g.Node[1][2]);
    EXPECT_EQ(p.volleys[0], 1);
    p.Frames(7);
    EXPECT_EQ(p.node, &g.Node[1][3]);
    p.Release(1);
    p.Frames(1);
    p.Press(1);
    p.Frames(1);
    EXPECT_EQ(p.node, &g.Node[1][1]);
    p.Frames(100);
    EXPECT_EQ(p.volleys[0], 2);

    // Weapon 4 holds it on the idle copy, which fires nothing; released, it idles.
    Pilot q(&g.Node[0][0]);
    q.Press(4);
    q.Frames(10);
    EXPECT_EQ(q.node, &g.Node[4][0]);
    q.Release(4);
    q.Frames(1);
    EXPECT_EQ(q.node, &g.Node[0][0]);
    EXPECT_EQ(q.volleys[3], 0);
}
