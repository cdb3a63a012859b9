// Durade-Revov: its graph, "SHOT-GUN", "3WAY-CANON", "6WAY-ROCKET" and its load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "robot_checks.h"
#include "robot_walk.h"
#include "robots/durade/durade.h"
#include "robots/revidu/revidu.h"
#include "robots/zovazazovo/zovazazovo.h"
#include "third_set_rig.h"

using robot_walk::Flight;
using robot_walk::Point;

namespace {

constexpr Point kOwner{0, 0};

struct Flown {
    Point at;  // from the owner
    int frames;
};

// A shot of column c of a slot, fired facing h from its loaded record, flown n frames, or
// to its end when n is -1.
Flown Fly(const TForm1& f, int slot, int c, int h, int n = -1) {
    Flight s(f.P1Weapons[size_t(slot)], *f.Shots.Record[slot][0][c].Node, c, h, kOwner);
    int frames = 0;
    for (; s.active && (n < 0 || frames < n); ++frames) s.Frame(kOwner, {});
    return {s.at, frames};
}

}  // namespace

TEST(Durade, LoadRegistrationAndCatalogue) {
    third_set::Rig rig(15, 3);
    const int ammo[4] = {210, 256, 48, 90};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(rig.f.P1Fighter.Ammo[k], ammo[k]) << k;
    EXPECT_EQ(std::memcmp(&rig.f.P1Motion, &rig.f.DefaultMotions[0], sizeof(MotionTable)), 0);
    // Loaded over a three-weapon robot, slot 4 is the robot's own; every slot is per column.
    robot_checks::ExpectLoadsAlone(kDuradeRow, kReviduRow,
                                   {{210, "ATTACK1", true}, {256, "ATTACK2", true}, {48, "ATTACK1", true},
                                    {90, "ATTACK5", true}});
    EXPECT_EQ(third_set::LoadedResources(kDuradeRow),
              std::vector<std::string>({"p_Dirazi/tang_back.bmp", "p_Dirazi/tang_bs.bmp",
                                        "p_Dirazi/tang_front.bmp", "p_Dirazi/tang_fs.bmp",
                                        "p_Dirazi/tang_side.bmp", "ATTACK1", "ATTACK2", "ATTACK1", "ATTACK5"}));

    for (int mode = 1; mode <= 4; ++mode)
        for (int p = 0; p < 2; ++p) EXPECT_EQ(RobotRowFor(15, p, mode), &kDuradeRow);
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 15), ladder + count);
    rig.f.FillRoster();
    const char* names[4] = {"SHOT-GUN", "BANISHING", "3WAY-CANON", "6WAY-ROCKET"};
    for (int w = 0; w < 4; ++w) EXPECT_STREQ(rig.f.Roster[size_t(RosterIndex(15))].WeaponName[w], names[w]);
}

TEST(Durade, GraphWordsLoopsAndGuardBreakOff) {
    third_set::Rig rig(15, 15);
    TForm1& f = rig.f;
    const ActionGraph& g = f.P1Graph;
    EXPECT_EQ(third_set::ReachableFromIdle(g).size(), 21u);
    const int lengths[4] = {20, 18, 39, 46};
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(robot_walk::SequenceLength(g, s), lengths[s - 1]) << s;

    // Every one of the 84 nodes holds 77 and 70, whatever the player held before.
    f.LoadRobot(0, kZovaZazovoRow);
    f.LoadRobot(0, kDuradeRow);
    for (const auto& sequence : g.Node)
        for (const ActionNode& n : sequence) {
            EXPECT_EQ(n.NodeWord7, 77);
            EXPECT_EQ(n.NodeWord8, 70);
        }

    // Held buttons loop: the shot gun 1.1 to 1.3 in 14 frames, the rockets 4.2 to 4.4 in 28.
    rig.Place(400, 450, 700, 150);
    rig.Hold(dw::Key::G);
    rig.FramesUntil(1, 1);
    for (int loop = 0; loop < 2; ++loop) EXPECT_EQ(rig.LoopFrames(1, 1), 14);
    rig.Hold(dw::Key::G, false);
    rig.FramesUntil(0, 0);
    rig.Hold(dw::Key::K);
    rig.FramesUntil(4, 2);
    for (int loop = 0; loop < 2; ++loop) EXPECT_EQ(rig.LoopFrames(4, 2), 28);
    rig.Hold(dw::Key::K, false);
    rig.FramesUntil(0, 0);

    // Guard at the end of 4.0 breaks off into guard.
    rig.Hold(dw::Key::K);
    rig.FramesUntil(4, 0);
    rig.Hold(dw::Key::K, false);
    rig.Hold(dw::Key::B);
    EXPECT_EQ(rig.FramesUntil(5, 0), 8);
    rig.Hold(dw::Key::B, false);
    rig.FramesUntil(0, 0);
    // At the end of 4.1 the guard link leads on into the fire node 4.2, in the guard state:
    // nothing is launched there or after.
    const int ammo = f.P1Fighter.Ammo[3];
    rig.Hold(dw::Key::K);
    rig.FramesUntil(4, 1);
    rig.Hold(dw::Key::K, false);
    rig.Hold(dw::Key::B);
    EXPECT_EQ(rig.FramesUntil(4, 2), 10);
    EXPECT_EQ(f.P1Fighter.ActionState, 5);
    rig.FramesUntil(5, 0);
    EXPECT_EQ(f.P1Fighter.Ammo[3], ammo);
}

TEST(Durade, ShotGunAndThreeWayCannon) {
    auto form = robot_walk::Loaded(kDuradeRow);
    const TForm1& f = *form;
    // Facing right: five pellets 60 px right of the owner, together for 2 frames, then
    // spread over 24. Pellet 2 has gone 390 px straight right, pellets 0 and 4 318 px right
    // and 144 up and down; 2 frames of rest and the pellet ends.
    EXPECT_EQ(f.P1Weapons[0].Rows * f.P1Weapons[0].Columns, 15);
    const Point moved[5] = {{318, -144}, {366, -72}, {390, 0}, {366, 72}, {318, 144}};
    for (int c = 0; c < 5; ++c) {
        const Point together = Fly(f, 0, c, 2, 2).at, spread = Fly(f, 0, c, 2, 26).at;
        const Flown end = Fly(f, 0, c, 2);
        EXPECT_EQ(together.x, 60 + 30) << c;
        EXPECT_EQ(together.y, 0) << c;
        EXPECT_EQ(spread.x - 60, moved[c].x) << c;
        EXPECT_EQ(spread.y, moved[c].y) << c;
        EXPECT_EQ(end.frames, 28);
        EXPECT_EQ(end.at.x, spread.x);
    }
    EXPECT_TRUE(third_set::FanIrregularities(f.P1ShotTables[0], 1, 5).empty());

    // Three shells side by side, parallel: facing 1 from (60, -35), (60, -60), (60, -85),
    // 600 px along each axis in their 40 frames.
    EXPECT_EQ(f.P1Weapons[2].Rows * f.P1Weapons[2].Columns, 3);
    const Point from[3] = {{60, -35}, {60, -60}, {60, -85}};
    for (int c = 0; c < 3; ++c) {
        const Flown end = Fly(f, 2, c, 1);
        EXPECT_EQ(end.frames, 40);
        EXPECT_EQ(end.at.x, from[c].x + 600) << c;
        EXPECT_EQ(end.at.y, from[c].y - 600) << c;
    }
    EXPECT_EQ(f.P1Weapons[2].LaunchPoint[4][2].y, 40);  // not the mirror of heading 0's -20
    // Both weapons draw every node of every column with their heading's picture.
    for (int slot : {0, 2})
        for (int h = 0; h < kHeadings; ++h)
            for (const auto& column : f.P1ShotTables[size_t(slot)].Node[h])
                for (const ShotNode& n : column) {
                    const int32_t* want = f.P1ShotTables[size_t(slot)].Node[h][0][0].SrcRect;
                    EXPECT_TRUE(std::equal(want, want + 4, n.SrcRect));
                }
    EXPECT_NE(f.P1ShotTables[2].Node[2][9][15].SrcRect[0], f.P1ShotTables[2].Node[1][9][15].SrcRect[0]);
}

TEST(Durade, SixWayRocket) {
    auto form = robot_walk::Loaded(kDuradeRow);
    const TForm1& f = *form;
    EXPECT_EQ(f.P1Weapons[3].Rows * f.P1Weapons[3].Columns, 12);
    // Facing 0: six rockets 50 px above the owner; column 4 has moved (-36, -660) after its
    // 12 fan and 45 cruise frames.
    const Point fan[6] = {{-10, -10}, {-6, -12}, {6, -12}, {10, -10}, {-3, -10}, {3, -10}};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(Fly(f, 3, c, 0, 0).at.y, -50);
        const Point fanned = Fly(f, 3, c, 0, 12).at, cruised = Fly(f, 3, c, 0, 57).at;
        EXPECT_EQ(fanned.x, 12 * fan[c].x) << c;
        EXPECT_EQ(fanned.y, -50 + 12 * fan[c].y) << c;
        EXPECT_EQ(cruised.x, fanned.x) << c;
        EXPECT_EQ(cruised.y, fanned.y - 540) << c;
        const Flown end = Fly(f, 3, c, 0);  // 8 frames of blast in place
        EXPECT_EQ(end.frames, 65);
        EXPECT_EQ(end.at.y, cruised.y);
    }
    EXPECT_EQ(Fly(f, 3, 4, 0, 57).at.x, -36);
    EXPECT_EQ(Fly(f, 3, 4, 0, 57).at.y, -50 - 660);
    EXPECT_TRUE(third_set::FanIrregularities(f.P1ShotTables[3], 0, 6).empty());
}
