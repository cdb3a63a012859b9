// Revidu zava Davov: its graph, "LONG-RIFLE", "4WAY-ROCKET" and its load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "robot_checks.h"
#include "robot_walk.h"
#include "robots/revidu/revidu.h"
#include "robots/zeredi/zeredi.h"
#include "third_set_rig.h"

using robot_walk::Flight;
using robot_walk::Point;

namespace {

constexpr Point kOwner{400, 450};

}  // namespace

TEST(Revidu, LoadRegistrationAndCatalogue) {
    third_set::Rig rig(2, 1);
    const int ammo[4] = {80, 256, 48, 100};  // slot 4 holds the placeholder's rounds
    for (int k = 0; k < 4; ++k) EXPECT_EQ(rig.f.P1Fighter.Ammo[k], ammo[k]) << k;
    EXPECT_EQ(std::memcmp(&rig.f.P1Motion, &rig.f.DefaultMotions[10], sizeof(MotionTable)), 0);
    robot_checks::ExpectLoadsAlone(kReviduRow, kZerediRow,
                                   {{80, "ATTACK1", false}, {256, "ATTACK2", false}, {48, "ATTACK5", true},
                                    {100, nullptr, false}});
    EXPECT_EQ(third_set::LoadedResources(kReviduRow),
              std::vector<std::string>({"p_LizV/lv_back.bmp", "p_LizV/lv_bs.bmp", "p_LizV/lv_front.bmp",
                                        "p_LizV/lv_fs.bmp", "p_LizV/lv_side.bmp", "ATTACK1", "ATTACK2", "ATTACK5",
                                        "HITTED4"}));

    for (int mode = 1; mode <= 4; ++mode)
        for (int p = 0; p < 2; ++p) EXPECT_EQ(RobotRowFor(2, p, mode), &kReviduRow);
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 2), ladder + count);
    rig.f.FillRoster();
    const char* names[4] = {"LONG-RIFLE", "STICK", "4WAY-ROCKET", "NOTHING"};
    for (int w = 0; w < 4; ++w) EXPECT_STREQ(rig.f.Roster[size_t(RosterIndex(2))].WeaponName[w], names[w]);
}

TEST(Revidu, GraphSequencesAndHeldRifle) {
    third_set::Rig rig(2, 2);
    const ActionGraph& g = rig.f.P1Graph;
    EXPECT_EQ(third_set::ReachableFromIdle(g).size(), 21u);
    const int lengths[3] = {15, 20, 30};
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(robot_walk::SequenceLength(g, s), lengths[s - 1]) << s;
    EXPECT_EQ(robot_checks::RootedFrames(g, 3), 10);
    EXPECT_EQ(g.Node[4][0].Kind, 0);  // no fourth weapon: a copy of idle that leads to itself
    EXPECT_EQ(g.Node[4][0].Next[4], &g.Node[4][0]);

    // Held from idle the rifle runs 1.0 once, then loops 1.1 to 1.4 (11 frames), one shot a
    // press; released it returns to idle from 1.4.
    rig.Place(400, 450, 700, 150);  // off the line of fire
    rig.Hold(dw::Key::G);
    EXPECT_EQ(rig.FramesUntil(1, 1), 4);  // idle takes the press at once: 1.0's 4 frames
    for (int loop = 0; loop < 3; ++loop) EXPECT_EQ(rig.LoopFrames(1, 1), 11);
    EXPECT_EQ(rig.f.P1Fighter.Ammo[0], 79);
    rig.Hold(dw::Key::G, false);
    EXPECT_EQ(rig.FramesUntil(0, 0), 11);
}

TEST(Revidu, RifleFlight) {
    auto form = robot_walk::Loaded(kReviduRow);
    const WeaponData& rifle = form->P1Weapons[0];
    const ShotNode& rest = *form->Shots.Record[0][4][0].Node;
    EXPECT_EQ(rifle.Rows * rifle.Columns, 5);
    // 30 px out (25 per axis on a diagonal), then 50 frames: 1,000 px on an axis, 750 per
    // axis on a diagonal.
    for (int h = 0; h < kHeadings; ++h) {
        Flight b(rifle, rest, 0, h, kOwner);
        const LaunchOffset out = AxisStep(h, 30, 25), flight = AxisStep(h, 1000, 750);
        EXPECT_EQ(b.at.x - kOwner.x, out.x);
        EXPECT_EQ(b.at.y - kOwner.y, out.y);
        EXPECT_EQ(b.Life(kOwner, {}), 50);
        EXPECT_EQ(b.at.x - kOwner.x, out.x + flight.x) << h;
        EXPECT_EQ(b.at.y - kOwner.y, out.y + flight.y) << h;
    }
}

TEST(Revidu, FourWayRocketFanCruiseAndBlast) {
    auto form = robot_walk::Loaded(kReviduRow);
    const WeaponData& rockets = form->P1Weapons[2];
    const ShotTable& t = form->P1ShotTables[2];
    EXPECT_EQ(rockets.Rows * rockets.Columns, 8);
    // Facing 0: four rockets 40 px above the owner fan out for 12 frames, then all fly
    // straight up at 12 px a frame for 45. Column 1 has moved (-36, -684) after 57 frames;
    // its blast stands 8 frames and the shot ends.
    const Point fan[4] = {{-10, -10}, {-3, -12}, {3, -12}, {10, -10}};
    for (int c = 0; c < 4; ++c) {
        Flight r(rockets, *form->Shots.Record[2][1][c].Node, c, 0, kOwner);
        const Point start = r.at;
        EXPECT_EQ(start.y - kOwner.y, -40);
        for (int i = 0; i < 12; ++i) r.Frame(kOwner, {});
        EXPECT_EQ(r.at.x - start.x, 12 * fan[c].x) << c;
        EXPECT_EQ(r.at.y - start.y, 12 * fan[c].y) << c;
        for (int i = 0; i < 45; ++i) r.Frame(kOwner, {});
        EXPECT_EQ(r.at.x - start.x, 12 * fan[c].x) << c;
        EXPECT_EQ(r.at.y - start.y, 12 * fan[c].y - 540) << c;
        if (c == 1) {
            EXPECT_EQ(r.at.x - start.x, -36);
            EXPECT_EQ(r.at.y - start.y, -684);
        }
        const Point blast = r.at;
        EXPECT_EQ(r.Life(kOwner, {}), 8);
        EXPECT_EQ(r.at.x, blast.x);
        EXPECT_EQ(r.at.y, blast.y);
    }
    // The fans mirror one another but for heading 3, whose middle two cross.
    EXPECT_EQ(third_set::FanIrregularities(t, 0, 4), (std::vector<std::pair<int, int>>{{3, 1}, {3, 2}}));

    // A hit in the fan blasts at once: 32 damage, disarmed, 8 frames of blast in place.
    Flight r(rockets, t.Node[5][2][3], 0, 0, kOwner);
    const auto strikes = robot_checks::FlyAt(r, kOwner, {{390, 360}, 20});
    EXPECT_EQ(strikes.frames, std::vector<int>({2}));
    EXPECT_EQ(strikes.armour, 32);
    EXPECT_EQ(strikes.life, 2 + 8);
    // A new facing starts each rocket at node 0 of that facing in its own column, wherever
    // its record rests.
    EXPECT_EQ(LaunchLink(t.Node[5][2][3], 6), &t.Node[6][2][0]);
}
