// ZovaZazovo: its graph, "300mm-CANON", "3LINKED-MISILE" and its load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "robot_checks.h"
#include "robot_walk.h"
#include "robots/revidu/revidu.h"
#include "robots/zovazazovo/zovazazovo.h"
#include "third_set_rig.h"

using robot_walk::Flight;
using robot_walk::Point;

TEST(ZovaZazovo, LoadRegistrationAndCatalogue) {
    third_set::Rig rig(3, 2);
    const int ammo[4] = {240, 256, 12, 63};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(rig.f.P1Fighter.Ammo[k], ammo[k]) << k;
    EXPECT_EQ(std::memcmp(&rig.f.P1Motion, &rig.f.DefaultMotions[7], sizeof(MotionTable)), 0);
    // Loaded over a three-weapon robot, slot 4 is the robot's own.
    robot_checks::ExpectLoadsAlone(kZovaZazovoRow, kReviduRow,
                                   {{240, "ATTACK4", false}, {256, "BEAM", false}, {12, "HITTED1", false},
                                    {63, "ATTACK5", false}});
    EXPECT_EQ(third_set::LoadedResources(kZovaZazovoRow),
              std::vector<std::string>({"p_Pyro/pp_back.BMP", "p_Pyro/pp_bs.BMP", "p_Pyro/pp_front.BMP",
                                        "p_Pyro/pp_fs.BMP", "p_Pyro/pp_side.BMP", "ATTACK4", "BEAM", "HITTED1",
                                        "ATTACK5"}));

    for (int mode = 1; mode <= 4; ++mode)
        for (int p = 0; p < 2; ++p) EXPECT_EQ(RobotRowFor(3, p, mode), &kZovaZazovoRow);
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 3), ladder + count);
    rig.f.FillRoster();
    const char* names[4] = {"GADRING-GUN", "LAZER-SPIKE", "300mm-CANON", "3LINKED-MISILE"};
    for (int w = 0; w < 4; ++w) EXPECT_STREQ(rig.f.Roster[size_t(RosterIndex(3))].WeaponName[w], names[w]);
}

TEST(ZovaZazovo, GraphSequencesHeldGunAndCannonBreakOff) {
    third_set::Rig rig(3, 3);
    const ActionGraph& g = rig.f.P1Graph;
    EXPECT_EQ(third_set::ReachableFromIdle(g).size(), 30u);
    const int lengths[4] = {14, 26, 42, 38};
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(robot_walk::SequenceLength(g, s), lengths[s - 1]) << s;
    EXPECT_EQ(robot_checks::RootedFrames(g, 3), 42);

    // Held, the gun stays on its fire node 1.2, re-entering it every 2 frames; released it
    // runs 1.3 and 1.4 back to idle. The idle node takes no request at once.
    rig.Place(400, 450, 700, 150);
    rig.Hold(dw::Key::G);
    EXPECT_EQ(rig.FramesUntil(1, 2), 5);  // idle's frame, then 1.0 and 1.1
    for (int i = 0; i < 10; ++i) {
        rig.Frame();
        EXPECT_EQ(rig.f.P1Fighter.CurrentNode, &g.Node[1][2]);
    }
    rig.Hold(dw::Key::G, false);
    EXPECT_EQ(rig.FramesUntil(0, 0), 10);

    // Guard at the end of a cannon wind-up node breaks off into guard; once the fire node is
    // reached the shot and the 23 frames after it run to the end whatever is held.
    rig.Hold(dw::Key::J);
    rig.FramesUntil(3, 1);
    rig.Hold(dw::Key::J, false);
    rig.Hold(dw::Key::B);
    EXPECT_EQ(rig.FramesUntil(5, 0), 6);
    rig.Hold(dw::Key::B, false);
    rig.FramesUntil(0, 0);
    rig.Hold(dw::Key::J);
    rig.FramesUntil(3, 3);
    rig.Hold(dw::Key::J, false);
    rig.Hold(dw::Key::B);
    EXPECT_EQ(rig.FramesUntil(0, 0), 26);
    EXPECT_EQ(rig.f.P1Fighter.Ammo[2], 11);
}

TEST(ZovaZazovo, CannonShellHitRestartsItsFiftyFrames) {
    // Unopposed the shell flies 50 frames: 1,000 px on an axis, 750 per axis on a diagonal,
    // from 70 px out (50 per axis); heading 4 shows heading 0's picture.
    auto form = robot_walk::Loaded(kZovaZazovoRow);
    const WeaponData& cannon = form->P1Weapons[2];
    const ShotTable& t = form->P1ShotTables[2];
    for (int h = 0; h < kHeadings; ++h) {
        Flight s(cannon, t.Node[0][0][0], 0, h, {0, 0});
        const LaunchOffset out = AxisStep(h, 70, 50), flight = AxisStep(h, 1000, 750);
        EXPECT_EQ(s.Life({0, 0}, {}), 50);
        EXPECT_EQ(s.at.x, out.x + flight.x) << h;
        EXPECT_EQ(s.at.y, out.y + flight.y) << h;
    }
    EXPECT_TRUE(std::equal(t.Node[4][0][0].SrcRect, t.Node[4][0][0].SrcRect + 4, t.Node[0][0][0].SrcRect));

    // In a fight: the shell hits the robot above for 240 and stun 100, vanishes, and keeps its
    // record busy for 50 frames after the hit.
    third_set::Rig rig(3, 3);
    TForm1& f = rig.f;
    const ShotRecord& shell = f.Shots.Record[2][0][0];
    rig.Hold(dw::Key::J);
    rig.Frame();
    rig.Hold(dw::Key::J, false);
    int frames = 0;
    while (f.P2Fighter.Armour == 700 && frames++ < 100) rig.Frame();
    EXPECT_EQ(f.P2Fighter.Armour, 700 - 240);
    EXPECT_EQ(f.P2Fighter.StunTime, 100);
    EXPECT_EQ(shell.Visible, 0);
    int after = 0;
    while (shell.Active && after < 100) {
        rig.Frame();
        ++after;
    }
    EXPECT_EQ(after, 50);
}

TEST(ZovaZazovo, LinkedMissilesWithTheirTurns) {
    auto form = robot_walk::Loaded(kZovaZazovoRow);
    const WeaponData& w = form->P1Weapons[3];
    const ShotTable& t = form->P1ShotTables[3];
    EXPECT_EQ(w.Rows, 8);
    EXPECT_EQ(w.Columns, 1);
    EXPECT_EQ(w.StartAmmo, 63);
    // The loader has turned the table: launched in any heading and steered to any two
    // headings, a missile flies 136 frames, 44 damage in every node, and ends in the second
    // blast node of its last heading.
    for (int launch = 0; launch < kHeadings; ++launch)
        for (int d = 0; d < kHeadings; ++d)
            for (int e = 0; e < kHeadings; ++e) {
                const ShotNode* n = LaunchLink(t.Node[0][0][0], launch);
                const ShotNode* last = nullptr;
                int frames = 0, branches = 0;
                while (n && frames < 1000) {
                    if (n->MoveKind == kMoveBranch) n = HomingLink(*n, branches++ == 0 ? d : e);
                    EXPECT_EQ(n->Damage, 44);
                    last = n;
                    frames += n->Duration;
                    n = n->Next;
                }
                ASSERT_EQ(frames, 136) << launch << d << e;
                EXPECT_EQ(last, &t.Node[e][e][13]);
            }
}
