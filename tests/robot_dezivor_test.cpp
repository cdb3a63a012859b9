// DeziVor: the robot's records after a load, checked against the figures its design states,
// and its shot gun, chain saw and mines flown frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "robot_checks.h"
#include "robots/darizev/darizev.h"
#include "robots/dezivor/dezivor.h"

using robot_checks::FlyAt;
using robot_checks::Victim;
using robot_walk::Flight;
using robot_walk::Pilot;
using robot_walk::Point;

namespace {

constexpr Point kOwner{400, 300};

}  // namespace

TEST(DeziVor, SpecificationAndActionGraph) {
    auto form = robot_walk::Loaded(kDeziVorRow);
    const RobotSpec& s = form->P1Spec;
    EXPECT_EQ(robot_checks::Header(*form), (std::vector<int32_t>{600, 640, 20, 20, 12, 5, 1}));
    // Modifier 0: the template's own speeds, dashing right while facing right 11, 12, 12.
    for (int step = 1; step <= 3; ++step) {
        EXPECT_EQ(s.DashSpeed.Block[2].Speed[0][step][0], step == 1 ? 11 : 12);
        EXPECT_EQ(s.NormalSpeed.Block[0].Speed[2][step][1], 4 + step);
    }

    // Sequence lengths: shot gun 6 + 4 + 4 + 8, chain saw 2 + 2 + 4 + 20 + 4 + 6, mine 10 + 4 + 4.
    const ActionGraph& g = form->P1Graph;
    EXPECT_EQ(robot_walk::SequenceLength(g, 1), 22);
    EXPECT_EQ(robot_walk::SequenceLength(g, 2), 38);
    EXPECT_EQ(robot_walk::SequenceLength(g, 3), 18);
    EXPECT_EQ(g.Node[4][0].Next[4], &g.Node[4][0]);
}

TEST(DeziVor, LoadsIntoEitherPlayerAlone) {
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 11), ladder + count);
    for (int id : {10, 11})
        for (int mode = 1; mode <= 4; ++mode) EXPECT_EQ(RobotRowFor(id, 1, mode), &kDeziVorRow);
    // Slots 1 and 3 start shot c in column c; the saw's records all in column 0.
    robot_checks::ExpectLoadsAlone(kDeziVorRow, kDariZevRow,
                                   {{220, "ATTACK1", true}, {256, "ATTACK3", false},
                                    {48, "BEAM", true}, {100, nullptr, false}});
}

TEST(DeziVor, ShotGunPelletsFanOutFor37Frames) {
    auto form = robot_walk::Loaded(kDeziVorRow);
    const WeaponData& gun = form->P1Weapons[0];
    const ShotTable& t = form->P1ShotTables[0];
    EXPECT_EQ(gun.Rows, 3);
    EXPECT_EQ(gun.Columns, 5);
    for (int h = 0; h < kHeadings; ++h) {
        const LaunchOffset out = AxisStep(h, 30, 25);
        for (int c = 0; c < 5; ++c) {
            Flight p(gun, t.Node[0][c][0], c, h, kOwner);
            EXPECT_EQ(p.at.x, kOwner.x + out.x);
            EXPECT_EQ(p.at.y, kOwner.y + out.y);
            const Point from = p.at;
            EXPECT_EQ(p.Life(kOwner, {}), 37) << h << " " << c;
            // The middle pellet flies straight on for all 35 moving frames.
            if (c == 2) {
                const LaunchOffset far = AxisStep(h, 35 * 15, 35 * 12);
                EXPECT_EQ(p.at.x - from.x, far.x) << h;
                EXPECT_EQ(p.at.y - from.y, far.y) << h;
            }
            // The outer pellets fan out as mirror images about the heading.
            const ShotNode& fan = t.Node[h][c][1];
            const Point m = robot_walk::Mirror(h, {fan.Dx, fan.Dy});
            EXPECT_EQ(m.x, t.Node[h][4 - c][1].Dx) << h << " " << c;
            EXPECT_EQ(m.y, t.Node[h][4 - c][1].Dy) << h << " " << c;
        }
    }
}

TEST(DeziVor, ChainSawCutsTwelveFramesOfTwenty) {
    auto form = robot_walk::Loaded(kDeziVorRow);
    const WeaponData& saw = form->P1Weapons[1];
    for (int h = 0; h < kHeadings; ++h) {
        // Against a robot standing in the cut: 4 frames of wind-up, then a hit of 12 in each
        // of the 12 cutting frames (it stays armed), 4 frames without a test; 20 in all.
        Flight cut(saw, form->P1ShotTables[1].Node[0][0][0], 0, h, kOwner);
        EXPECT_EQ(cut.node->Stun, 4);
        const robot_checks::Strikes s = FlyAt(cut, kOwner, Victim{cut.at});
        std::vector<int> cutting(12);
        std::iota(cutting.begin(), cutting.end(), 4);
        EXPECT_EQ(s.frames, cutting) << h;
        EXPECT_EQ(s.armour, 12 * 12) << h;
        EXPECT_EQ(s.life, 20) << h;
        EXPECT_EQ(cut.node->Stun, 0);
    }
}

TEST(DeziVor, MinesLandBehindAndLive177Frames) {
    auto form = robot_walk::Loaded(kDeziVorRow);
    const WeaponData& mines = form->P1Weapons[2];
    const ShotTable& t = form->P1ShotTables[2];
    EXPECT_EQ(mines.Rows, 4);
    for (int h = 0; h < kHeadings; ++h) {
        // Thrown from the centre, it lands 150 px behind (120, 120 on a diagonal).
        const Point target{kOwner.x + 5000, kOwner.y};
        Flight m(mines, t.Node[0][0][0], 0, h, kOwner);
        EXPECT_EQ(m.at.x, kOwner.x);
        EXPECT_EQ(m.at.y, kOwner.y);
        for (int i = 0; i < 5; ++i) m.Frame(kOwner, target);
        const LaunchOffset back = AxisStep(h, -150, -120);
        EXPECT_EQ(m.at.x, kOwner.x + back.x) << h;
        EXPECT_EQ(m.at.y, kOwner.y + back.y) << h;
        // Then it floats 5 px a frame toward an opponent to the right, and blasts.
        const Point landed = m.at;
        m.Frame(kOwner, target);
        EXPECT_EQ(m.at.x, landed.x + 5);
        EXPECT_EQ(m.at.y, landed.y);
        EXPECT_EQ(m.Life(kOwner, target), 177 - 6) << h;
        EXPECT_EQ(m.node->HitKind, kHitNone);
    }

    // A hit in the throw goes on to the float; a hit while floating blasts at once, disarmed.
    Flight thrown(mines, t.Node[0][0][0], 0, 2, kOwner);
    thrown.Frame(kOwner, {});
    thrown.Hit();
    EXPECT_EQ(thrown.node, &t.Node[2][0][1]);
    Flight floating(mines, t.Node[0][0][0], 0, 2, kOwner);
    for (int i = 0; i < 50; ++i) floating.Frame(kOwner, {});
    floating.Hit();
    EXPECT_EQ(floating.node, &t.Node[2][0][2]);
    EXPECT_FALSE(floating.armed);
    EXPECT_EQ(floating.Life(kOwner, {}), 12);
}

TEST(DeziVor, HeldButtonsFireOneVolleyPerPress) {
    auto form = robot_walk::Loaded(kDeziVorRow);
    const ActionGraph& g = form->P1Graph;
    robot_walk::ExpectOneVolleyPerHeldButton(g, 3, 200);

    // A new press during 3.2 throws another mine from 3.1.
    Pilot mine(&g.Node[0][0]);
    mine.Press(3);
    mine.Frames(16);
    EXPECT_EQ(mine.node, &g.Node[3][2]);
    mine.Release(3);
    mine.Press(3);
    mine.Frame();
    EXPECT_EQ(mine.node, &g.Node[3][1]);
    EXPECT_EQ(mine.volleys[2], 2);

    // Button 1 pressed once the cut is out and held through the follow-through leads into
    // the shot gun without passing idle; a held button is no new press, so that pass
    // fires nothing.
    Pilot saw(&g.Node[0][0]);
    saw.Press(2);
    while (saw.node != &g.Node[2][3]) saw.Frame();
    saw.Frame();
    saw.Release(2);
    saw.Press(1);
    bool idled = false;
    while (saw.node != &g.Node[1][3]) {
        saw.Frame();
        idled |= saw.node == &g.Node[0][0];
    }
    EXPECT_FALSE(idled);
    EXPECT_EQ(saw.volleys[1], 1);
    EXPECT_EQ(saw.volleys[0], 0);
}
