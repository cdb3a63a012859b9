// Every robot: what a load must give for all of them, the catalogue against the loaded data,
// the data validator, each weapon fired in a fight and judged against its builder, the
// homing missiles' turns, the fourth button of the three-weapon robots and Durade-Revov's
// guard during its rockets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "assetgen/weapon_cells.h"
#include "fight_rig.h"
#include "robots/builders.h"
#include "robots/loading.h"
#include "robots/validator.h"

using fight_rig::Ints;
using fight_rig::Rig;

namespace {

// The bytes of a player's specification, graph, shot tables and sprite frames.
std::vector<unsigned char> Snapshot(TForm1& form, int player) {
    PlayerRefs p = form.Player(player);
    std::vector<unsigned char> out;
    auto add = [&](const void* data, size_t size) {
        out.insert(out.end(), static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
    };
    add(&p.spec, sizeof p.spec);
    add(&p.graph, sizeof p.graph);
    add(p.shotTables.data(), sizeof p.shotTables);
    add(&p.motion, sizeof p.motion);
    return out;
}

// What one press of a weapon gives; EachWeaponInAFight tells each figure.
struct Volley {
    int fire = -1, end = -1, shots = 0, cost = 0, hit = 0, stun = 0, trail = 0;
};

// Player 1 presses weapon k once against its twin standing at (x, y) from it.
Volley Fire(Rig& rig, int id, int k, int x, int y) {
    rig.Load(id == 3 ? 15 : 3, 2, 2);  // what a builder leaves unwritten holds another robot's values
    rig.Load(id, id, 2);
    TForm1& f = rig.f;
    rig.Place(400, 400, 400 + x, 400 + y);
    const int ammo = f.P1Fighter.Ammo[k];
    int least = f.P1Fighter.Energy;
    Volley v;
    const WeaponData& w = *f.Shots.Record[k][0][0].Weapon;
    v.trail = w.TrailOn == 1 ? w.TrailHalfSize[0] : 0;
    rig.Hold(fight_rig::kWeaponKey[0][k]);
    for (int i = 1; i <= 200; ++i) {
        rig.Frame();
        rig.Hold(fight_rig::kWeaponKey[0][k], false);
        const int live = rig.Shots(k);
        if (live > 0 && v.fire < 0) v.fire = i;
        v.shots = std::max(v.shots, live);
        least = std::min(least, f.P1Fighter.Energy);
        if (v.hit == 0 && f.P2Fighter.Armour < f.P2Spec.MaxArmour) {
            v.hit = f.P2Spec.MaxArmour - f.P2Fighter.Armour;
            v.stun = f.P2Fighter.StunTime;
        }
        if (v.end < 0 && f.P1Fighter.ActionState == 0) v.end = i;
    }
    v.cost = ammo - f.P1Fighter.Ammo[k] + f.P1Spec.MaxEnergy - least;
    return v;
}

// Player 1's shot node (heading h, column c, node n) of weapon slot `slot`.
ShotNode& Shot(TForm1& f, size_t slot, int h = 0, int c = 0, int n = 0) { return f.P1ShotTables[slot].Node[h][c][n]; }

}  // namespace

TEST(Robots, EveryRowLoadsAloneIntoEitherPlayer) {
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    ASSERT_EQ(count, 10);
    std::set<const RobotRow*> rows;
    for (int i = 0; i < count; ++i) rows.insert(RobotRowFor(ladder[i], 0, 1));
    EXPECT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.count(nullptr), 0u);
    const std::set<int> withData = {0, 1, 2, 3, 4, 5, 6, 10, 11, 13, 14, 15, 16};
    for (int id = -1; id <= 20; ++id)
        for (int mode = 1; mode <= 4; ++mode)
            for (int p = 0; p < 2; ++p) {
                const RobotRow* row = RobotRowFor(id, p, mode);
                EXPECT_EQ(row != nullptr, withData.count(id) > 0) << id;
                // Ids 0 and 10 load as 1 and 11; 6 is the hidden robot but for player 2's
                // stand-in in Survival and Limit.
                const int same = id == 0 || id == 10 ? id + 1 : id == 6 ? (p == 1 && mode >= 3 ? 1 : 16) : id;
                EXPECT_EQ(row, RobotRowFor(same, p, mode)) << id << " " << p << " " << mode;
            }

    ShotNode blow{.Stun = 5, .HitKind = kHitProjectile, .BreaksGuard = 1};
    // The pictures of the weapon sheet; the left 10 x 10 of the rocket's also serves alone.
    std::vector<dw::Rect> pictures = {dw::Rect{}};
    for (const assetgen::SpriteCell& cell : assetgen::kSprites) {
        pictures.push_back(cell.rect);
        if (cell.kind == assetgen::Sprite::Orb) pictures.push_back({cell.rect.left, 0, cell.rect.left + 10, 10});
    }
    for (const RobotRow* row : rows)
        for (int p = 0; p < 2; ++p) {
            SCOPED_TRACE(std::string(row->name) + " as player " + std::to_string(p + 1));
            auto form = std::make_unique<TForm1>();  // nothing left from an earlier load
            TForm1& f = *form;
            f.BuildDammyWeapon();
            f.BuildDefaultMotions();
            f.LoadRobot(1 - p, *RobotRowFor(p == 0 ? 15 : 4, 1 - p, 2));
            const auto other = Snapshot(f, 1 - p);
            f.LoadRobot(p, *row);
            EXPECT_EQ(ValidateRobot(f, p), std::vector<std::string>{});
            const auto first = Snapshot(f, p);
            f.LoadRobot(p, *row);
            EXPECT_EQ(Snapshot(f, p), first);
            EXPECT_EQ(Snapshot(f, 1 - p), other);
            PlayerRefs pl = f.Player(p);
            EXPECT_EQ(pl.fighter.CurrentNode, &pl.graph.Node[0][0]);
            EXPECT_EQ(pl.fighter.Spec, &pl.spec);
            EXPECT_EQ(std::memcmp(&pl.motion, &f.DefaultMotions[size_t(row->motionIndex)], sizeof(MotionTable)), 0);
            // Every shot picture is one the weapon sheet holds, or none for a shot not drawn; the
            // view draws headings 5 to 7 as mirror images of the pictures of 3 to 1 (`m`).
            for (size_t slot = 0; slot < 4; ++slot)
                for (int h = 0; h < kHeadings; ++h)
                    for (int c = 0; c < pl.weapons[slot].Columns; ++c)
                        for (int n = 0; n < kChainNodes; ++n) {
                            const int32_t* r = pl.shotTables[slot].Node[h][c][n].SrcRect;
                            const int32_t* m = pl.shotTables[slot].Node[(8 - h) % kHeadings][c][n].SrcRect;
                            SCOPED_TRACE(::testing::Message()
                                         << "weapon " << slot + 1 << " node " << h << "." << c << "." << n);
                            EXPECT_EQ(std::count(pictures.begin(), pictures.end(), dw::Rect{r[0], r[1], r[2], r[3]}),
                                      1);
                            EXPECT_EQ(Ints(r, r + 4), Ints(m, m + 4));
                        }
            // Volleys to the left are mirror images of volleys to the right, and volleys down of
            // volleys up. Barrels set in a slant break it at heading 4's third barrel, and the
            // three-bullet gun also at heading 1's first; each point is named with its mirror's.
            const std::set<std::string> slant = {"{ 0, 4, 2, -10, -20, -10, 40 }"};
            std::set<std::string> gun = slant;
            gun.insert({"{ 1, 3, 0, 80, -70, 80, 50 }", "{ 1, 7, 0, 80, -70, -80, -50 }"});
            for (const WeaponData& w : pl.weapons) {
                std::set<std::string> unmirrored;
                for (const auto& [h, mirror, sx, sy] :
                     {std::array{1, 7, -1, 1}, std::array{2, 6, -1, 1}, std::array{3, 5, -1, 1},
                      std::array{0, 4, 1, -1}, std::array{1, 3, 1, -1}, std::array{7, 5, 1, -1}})
                    for (int c = 0; c < w.Columns; ++c) {
                        const LaunchOffset a = w.LaunchPoint[h][c];
                        const LaunchOffset b = w.LaunchPoint[mirror][c];
                        if (a.x != sx * b.x || a.y != sy * b.y)
                            unmirrored.insert(::testing::PrintToString(std::array{h, mirror, c, a.x, a.y, b.x, b.y}));
                    }
                if (!unmirrored.empty()) {
                    EXPECT_EQ(unmirrored, unmirrored.size() == 1 ? slant : gun) << "weapon " << &w - pl.weapons.data();
                }
            }
            // A hit in any node throws the robot into its hit reaction; a guard stands. Each node
            // shows a picture of its own sequence's row or an earlier one, at its own place or an
            // earlier one: an animation may show a picture again, never one ahead of itself.
            for (int s = 0; s < kSequences; ++s)
                for (int k = 0; k < kSequenceNodes; ++k) {
                    ActionNode& n = pl.graph.Node[s][k];
                    if (n.Duration < 1) continue;
                    SCOPED_TRACE(::testing::Message() << "node " << s << "." << k);
                    EXPECT_LE(n.Motion, s);
                    EXPECT_LE(n.Frame, k);
                    // A button leads on in the node's own sequence, back to idle, or to the start of
                    // its own sequence: weapon k's, the guard's or the hit reaction's.
                    for (int slot = 1; slot < 7; ++slot) {
                        const auto to = n.Next[slot] - &pl.graph.Node[0][0];
                        if (to / kSequenceNodes != s && to >= kSequenceNodes) {
                            EXPECT_EQ(to, slot * kSequenceNodes) << "slot " << slot;
                        }
                    }
                    pl.fighter.CurrentNode = &n;
                    pl.fighter.ActionState = n.Kind;
                    ShotRecord r{
                        .PosX = pl.fighter.PosX, .PosY = pl.fighter.PosY, .HitArmed = 1, .Node = &blow, .Trail = {}};
                    f.HitShot(r, p);
                    EXPECT_EQ(pl.fighter.CurrentNode->Kind, n.Kind == 5 ? 5 : 6);
                }
        }
}

TEST(Robots, CatalogueRatingsAgreeWithTheLoadedRobots) {
    // What the select screen's ratings mean: Armor from the maximum armour (550 and more 2,
    // 650 and more 3), Control from the recovery rate (6 and 7), Energy from the maximum
    // energy (500 and 600), Speed 2 plus the speed modifier (the walk's first step right,
    // facing up, is 5 plus it), Barance the rounded mean of the other five. The fourth
    // weapon is "NOTHING" exactly where the robot has none.
    auto band = [](int value, int two, int three) { return value >= three ? 3 : value >= two ? 2 : 1; };
    Rig rig;
    rig.f.FillRoster();
    for (int id : {1, 2, 3, 4, 5, 11, 13, 14, 15, 16}) {
        SCOPED_TRACE(id);
        rig.Load(id, id, 2);
        const RobotSpec& s = rig.f.P1Spec;
        const RosterEntry& e = rig.f.Roster[size_t(RosterIndex(id))];
        EXPECT_EQ(e.Rating[0], band(s.MaxArmour, 550, 650));
        EXPECT_EQ(e.Rating[2], band(s.RecoveryRate, 6, 7));
        EXPECT_EQ(e.Rating[3], band(s.MaxEnergy, 500, 600));
        EXPECT_EQ(e.Rating[4], 2 + s.NormalSpeed.Block[0].Speed[0][1][0] - 5);
        EXPECT_EQ(e.Rating[5], std::lround(std::accumulate(e.Rating, e.Rating + 5, 0) / 5.0));
        EXPECT_EQ(std::strcmp(e.WeaponName[3], "NOTHING") == 0,
                  rig.f.Shots.Record[3][0][0].Weapon == &rig.f.DammyWeapon);
    }
    const int32_t* zora = rig.f.Roster[size_t(RosterIndex(12))].Rating;  // no data: 1 everywhere
    EXPECT_EQ(Ints(zora, zora + 6), Ints(6, 1));
}

TEST(Robots, ValidatorFindsEachFaultAlone) {
    struct Fault {
        const char* says;
        std::function<void(TForm1&)> fault;
        int robot = 14;
    };
    const Fault faults[] = {
        {.says = "no specification", .fault = [](auto& f) { f.P1Fighter.Spec = nullptr; }},
        {.says = "does not stand on a node", .fault = [](auto& f) { f.P1Fighter.CurrentNode = &f.P2Graph.Node[0][0]; }},
        {.says = "node 1.2: duration below 1", .fault = [](auto& f) { f.P1Graph.Node[1][2].Duration = 0; }},
        {.says = "node 2.1: kind 3 in sequence 2", .fault = [](auto& f) { f.P1Graph.Node[2][1].Kind = 3; }},
        {.says = "node 1.1: kind 7", .fault = [](auto& f) { f.P1Graph.Node[1][1].Kind = 7; }},
        {.says = "node 3.0: sprite frame out of range", .fault = [](auto& f) { f.P1Graph.Node[3][0].Frame = kFrames; }},
        {.says = "node 3.0: sprite frame out of range", .fault = [](auto& f) { f.P1Graph.Node[3][0].Motion = -1; }},
        {.says = "no sprite frame for facing 3", .fault = [](auto& f) { f.P1Motion.Piece[3][1][1].SrcRight = 700; }},
        {.says = "no sprite frame for facing 5", .fault = [](auto& f) { f.P1Motion.Piece[5][1][1].HalfHeight = 0; }},
        {.says = "1.1: no sprite frame for facing 0", .fault = [](auto& f) { f.P1Motion.Piece[0][1][1].SrcTop = -1; }},
        {.says = "node 2.2: a link leaves the graph",
         .fault = [](auto& f) { f.P1Graph.Node[2][2].Next[6] = &f.P2Graph.Node[6][0]; }},
        {.says = "slot 2: no weapon", .fault = [](auto& f) { f.Shots.Record[1][0][0].Weapon = nullptr; }},
        {.says = "slot 1: rows or columns out of range", .fault = [](auto& f) { f.P1Weapons[0].Rows = kMaxRows + 1; }},
        {.says = "slot 1: rows or columns out of range", .fault = [](auto& f) { f.P1Weapons[0].Columns = 0; }},
        {.says = "slot 3: records of one slot disagree",
         .fault = [](auto& f) { f.Shots.Record[2][7][9].Weapon = &f.P1Weapons[0]; }},
        {.says = "slot 3: a record's node lies outside",
         .fault = [](auto& f) { f.Shots.Record[2][7][9].Node = &f.P2ShotTables[2].Node[0][0][0]; }},
        {.says = "slot 1 node (0, 0, 0): duration below 1", .fault = [](auto& f) { Shot(f, 0).Duration = 0; }},
        {.says = "slot 1 node (0, 0, 0): unknown movement", .fault = [](auto& f) { Shot(f, 0).MoveKind = 6; }},
        {.says = "slot 1 node (3, 0, 0): unknown hit test", .fault = [](auto& f) { Shot(f, 0, 3, 0, 0).HitKind = -1; }},
        {.says = "slot 1 node (2, 0, 0): next leaves",
         .fault = [](auto& f) { Shot(f, 0, 2, 0, 0).Next = &f.P2ShotTables[0].Node[0][0][0]; }},
        {.says = "slot 2 node (0, 0, 1): impact leaves",
         .fault = [](auto& f) { Shot(f, 1, 0, 0, 1).ImpactNode = &Shot(f, 0); }},
        {.says = "slot 1 node (0, 0, 0): no launch link for heading 6",
         .fault = [](auto& f) { LaunchLink(Shot(f, 0), 6) = nullptr; }},
        {.says = "slot 1 node (0, 0, 0): a launch link leaves",
         .fault = [](auto& f) { LaunchLink(Shot(f, 0), 1) = &f.P2ShotTables[0].Node[0][0][0]; }},
        {.says = "slot 1 node (4, 0, 0): steer node without a homing link for heading 0",
         .fault = [](auto& f) { Shot(f, 0, 4, 0, 0).MoveKind = kMoveBranch; }},
        {.says = "slot 3 node (0, 1, 3): duration below 1",  // reached only through a homing link
         .fault = [](auto& f) { Shot(f, 2, 0, 1, 3).Duration = 0; },
         .robot = 1},
    };
    for (const Fault& c : faults) {
        Rig rig(c.robot, 14);
        c.fault(rig.f);
        rig.f.P2Graph.Node[6][0].Duration = 0;  // no fault: the hit reaction lasts as long as the stun
        const auto found = ValidateRobot(rig.f, 0);
        ASSERT_FALSE(found.empty()) << c.says;
        EXPECT_NE(found.front().find(c.says), std::string::npos) << found.front();
        EXPECT_EQ(ValidateRobot(rig.f, 1), std::vector<std::string>{}) << c.says;
    }
}

TEST(Robots, EachWeaponInAFight) {
    // The robot against its twin, one press of weapon slot 0..3 (0 where none is given) in
    // frame 1, the twin standing at (x, y) from it. From the robot's graph: `fire`, the frame
    // the slot's fire node is reached (1 plus the durations of the nodes before it, one more
    // where idle takes no request at once), and `end`, the frame the attack's last node ends
    // and the robot stands idle. From the weapon's builder: the shots of a volley (its
    // columns), the cost in ammunition (one a shot) or energy (ten times the weapon's cost for
    // a beam), the Damage (`hit`, armour the twin lost in the frame of the first hit) and Stun
    // of one shot, and the size of the smoke puffs the view draws behind it (0: none).
    struct Case {
        int id, slot = 0, x = 0, y = -250, fire = -1, end, shots, cost, hit = 0, stun = 0, trail = 0;
    };
    const Case cases[] = {
        {.id = 1, .fire = 7, .end = 12, .shots = 3, .cost = 3, .hit = 8, .stun = 8},
        {.id = 1, .slot = 1, .y = -84, .fire = 3, .end = 18, .shots = 1, .cost = 0, .hit = 40, .stun = 100},
        {.id = 1, .slot = 2, .fire = 9, .end = 26, .shots = 1, .cost = 1, .hit = 40, .stun = 80, .trail = 10},
        {.id = 14, .fire = 8, .end = 21, .shots = 1, .cost = 1, .hit = 28, .stun = 24},
        {.id = 14, .slot = 1, .y = -79, .fire = 6, .end = 21, .shots = 1, .cost = 0, .hit = 32, .stun = 110},
        // 10 segments x 30 energy, one point regained that frame
        {.id = 14, .slot = 2, .fire = 18, .end = 41, .shots = 10, .cost = 299, .hit = 40, .stun = 80},
        {.id = 5, .fire = 6, .end = 13, .shots = 3, .cost = 3, .hit = 8, .stun = 8},
        {.id = 5, .slot = 1, .y = -89, .fire = 10, .end = 25, .shots = 1, .cost = 0, .hit = 32, .stun = 80},
        {.id = 5, .slot = 2, .fire = 12, .end = 27, .shots = 6, .cost = 6, .hit = 20, .stun = 20},
        {.id = 11, .fire = 7, .end = 22, .shots = 5, .cost = 5, .hit = 20, .stun = 20},
        // the saw's first cutting stage gives no stun
        {.id = 11, .slot = 1, .y = -89, .fire = 9, .end = 38, .shots = 1, .cost = 0, .hit = 12, .stun = 0},
        {.id = 11, .slot = 2, .fire = 11, .end = 18, .shots = 1, .cost = 1, .hit = 36, .stun = 100},
        {.id = 4, .fire = 8, .end = 19, .shots = 3, .cost = 3, .hit = 12, .stun = 8},
        {.id = 4, .slot = 1, .y = -114, .fire = 8, .end = 29, .shots = 1, .cost = 0, .hit = 160, .stun = 140},
        {.id = 4, .slot = 2, .fire = 7, .end = 14, .shots = 1, .cost = 1, .hit = 32, .stun = 28},
        {.id = 4, .slot = 3, .fire = 14, .end = 29, .shots = 4, .cost = 4, .hit = 40, .stun = 40, .trail = 14},
        {.id = 13, .fire = 11, .end = 21, .shots = 1, .cost = 1, .hit = 36, .stun = 120, .trail = 14},
        // The grenade's reach: launched 50 px out, 40 frames x 12 px, then its widest burst
        // box, 35, and the twin's half-width, 25: it hits 589 px away, not 590.
        {.id = 13, .x = 589, .y = 0, .fire = 11, .end = 21, .shots = 1, .cost = 1, .hit = 36, .stun = 120, .trail = 14},
        {.id = 13, .x = 590, .y = 0, .fire = 11, .end = 21, .shots = 1, .cost = 1, .trail = 14},
        {.id = 13, .slot = 1, .y = -99, .fire = 6, .end = 17, .shots = 1, .cost = 0, .hit = 48, .stun = 120},
        // 10 segments x 16 energy, one point regained that frame; two segments hit at once
        {.id = 13, .slot = 2, .fire = 14, .end = 29, .shots = 10, .cost = 159, .hit = 104, .stun = 80},
        {.id = 13, .slot = 3, .fire = 14, .end = 25, .shots = 6, .cost = 6, .hit = 40, .stun = 80},
        {.id = 16, .fire = 6, .end = 19, .shots = 1, .cost = 1, .hit = 24, .stun = 24},
        // two fire-flies hit at once
        {.id = 16, .slot = 1, .fire = 4, .end = 19, .shots = 6, .cost = 6, .hit = 48, .stun = 20},
        {.id = 16, .slot = 2, .fire = 10, .end = 31, .shots = 1, .cost = 1, .hit = 100, .stun = 140},
        {.id = 2, .fire = 5, .end = 15, .shots = 1, .cost = 1, .hit = 28, .stun = 28},
        {.id = 2, .slot = 1, .y = -84, .fire = 7, .end = 20, .shots = 1, .cost = 0, .hit = 40, .stun = 100},
        // the twin in line with the inner right rocket: 3 px a frame for its 12 fan frames
        {.id = 2, .slot = 2, .x = 36, .fire = 11, .end = 30, .shots = 4, .cost = 4, .hit = 32, .stun = 40, .trail = 14},
        // two fire nodes of three bullets each
        {.id = 3, .fire = 6, .end = 15, .shots = 6, .cost = 6, .hit = 8, .stun = 8},
        {.id = 3, .slot = 1, .y = -109, .fire = 10, .end = 27, .shots = 1, .cost = 0, .hit = 52, .stun = 20},
        {.id = 3, .slot = 2, .fire = 18, .end = 43, .shots = 1, .cost = 1, .hit = 240, .stun = 100, .trail = 18},
        // three fire nodes of one missile each
        {.id = 3, .slot = 3, .fire = 12, .end = 39, .shots = 3, .cost = 3, .hit = 44, .stun = 80, .trail = 10},
        {.id = 15, .fire = 8, .end = 21, .shots = 5, .cost = 5, .hit = 8, .stun = 18},
        {.id = 15, .slot = 1, .y = -109, .fire = 6, .end = 19, .shots = 1, .cost = 0, .hit = 52, .stun = 100},
        {.id = 15, .slot = 2, .fire = 16, .end = 40, .shots = 3, .cost = 3, .hit = 36, .stun = 60},
        {.id = 15, .slot = 3, .fire = 20, .end = 47, .shots = 6, .cost = 6, .hit = 40, .stun = 40, .trail = 14},
        // Each blow reaches as far as its launch point and its box, and the twin's half-height
        // (the rows above at that distance): a pixel farther it misses.
        {.id = 1, .slot = 1, .y = -85, .fire = 3, .end = 18, .shots = 1, .cost = 0},
        {.id = 14, .slot = 1, .y = -80, .fire = 6, .end = 21, .shots = 1, .cost = 0},
        {.id = 5, .slot = 1, .y = -90, .fire = 10, .end = 25, .shots = 1, .cost = 0},
        {.id = 11, .slot = 1, .y = -90, .fire = 9, .end = 38, .shots = 1, .cost = 0},
        {.id = 4, .slot = 1, .y = -115, .fire = 8, .end = 29, .shots = 1, .cost = 0},
        {.id = 13, .slot = 1, .y = -100, .fire = 6, .end = 17, .shots = 1, .cost = 0},
        {.id = 2, .slot = 1, .y = -85, .fire = 7, .end = 20, .shots = 1, .cost = 0},
        {.id = 3, .slot = 1, .y = -110, .fire = 10, .end = 27, .shots = 1, .cost = 0},
        {.id = 15, .slot = 1, .y = -110, .fire = 6, .end = 19, .shots = 1, .cost = 0},
        // Weapon 4 of the three-weapon robots: their sequence 4 is a copy of the idle node and
        // the slot holds the placeholder weapon; nothing is launched or spent, and the robot
        // stands idle again once the button is up, at the end of frame 2.
        {.id = 1, .slot = 3, .end = 2, .shots = 0, .cost = 0},
        {.id = 2, .slot = 3, .end = 2, .shots = 0, .cost = 0},
        {.id = 5, .slot = 3, .end = 2, .shots = 0, .cost = 0},
        {.id = 11, .slot = 3, .end = 2, .shots = 0, .cost = 0},
        {.id = 14, .slot = 3, .end = 2, .shots = 0, .cost = 0},
        {.id = 16, .slot = 3, .end = 2, .shots = 0, .cost = 0},
    };
    Rig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE("robot " + std::to_string(c.id) + " weapon " + std::to_string(c.slot + 1) + " at " +
                     std::to_string(c.x) + ", " + std::to_string(c.y));
        const Volley v = Fire(rig, c.id, c.slot, c.x, c.y);
        EXPECT_EQ(v.fire, c.fire);
        EXPECT_EQ(v.end, c.end);
        EXPECT_EQ(v.shots, c.shots);
        EXPECT_EQ(v.cost, c.cost);
        EXPECT_EQ(v.hit, c.hit);
        EXPECT_EQ(v.stun, c.stun);
        EXPECT_EQ(v.trail, c.trail);
    }
}

TEST(Robots, HomingMissilesTurnRoundFromEveryHeading) {
    // Fired facing each heading at the twin, which then stands 350 px behind the owner: at
    // its first branch (node 2) the missile heads back toward it, its three turn stages take
    // 8 frames each with the box of its flight, and it flies on (node 6) in the chain of its
    // new heading, nearer the twin at its second branch (node 7); its second turn ends (node
    // 11) in the chain of the heading it took there, nearer still.
    struct Seen {
        int frame = 0, heading = -1, chain = -1, distance = 0, box = 0;
    };
    Rig rig;
    for (const auto& [id, k] : {std::pair{1, 2}, std::pair{3, 3}})
        for (int h = 0; h < kHeadings; ++h) {
            SCOPED_TRACE("robot " + std::to_string(id) + " facing " + std::to_string(h));
            rig.Load(id, id, 2);
            TForm1& f = rig.f;
            rig.Place(400, 400, 400 + 250 * kHeadingSignX[h], 400 + 250 * kHeadingSignY[h]);
            const ShotNode* table = &f.P1ShotTables[size_t(k)].Node[0][0][0];
            const ShotRecord& m = f.Shots.Record[k][0][0];
            std::map<int, Seen> at;  // by node, the first frame the missile stands on it
            rig.Hold(fight_rig::kWeaponKey[0][k]);
            for (int i = 1; i <= 120; ++i) {
                rig.Frame();
                rig.Hold(fight_rig::kWeaponKey[0][k], false);
                if (!m.Active) continue;
                if (at.empty()) {
                    f.P2Fighter.PosX = f.P1Fighter.PosX - 350 * kHeadingSignX[h];
                    f.P2Fighter.PosY = f.P1Fighter.PosY - 350 * kHeadingSignY[h];
                }
                const auto n = m.Node - table;
                const int distance = int(std::hypot(m.PosX - f.P2Fighter.PosX, m.PosY - f.P2Fighter.PosY));
                const int chain = int(n / (kColumns * kChainNodes));
                at.try_emplace(int(n % kChainNodes), Seen{i, m.Heading, chain, distance, m.Node->HitHalfWidth});
            }
            EXPECT_EQ(at[3].heading, (h + 4) % kHeadings);
            EXPECT_EQ(at[6].frame - at[2].frame, 3 * 8);
            EXPECT_EQ(at[6].chain, (h + 4) % kHeadings);
            EXPECT_LT(at[7].distance, at[2].distance);
            EXPECT_EQ(at[11].chain, at[8].heading);
            EXPECT_LT(at[11].distance, at[7].distance);
            EXPECT_EQ(at[4].box, at[1].box);
        }

    // The flight pushes a twin it hits along the missile's heading, the blast away from where
    // it bursts: heading up 20 px left of the twin, the flight pushes it 24 px up, the blast
    // 24 px right.
    rig.Load(1, 1, 2);
    for (const auto& [node, push] : {std::pair{1, Ints{0, -24}}, std::pair{12, Ints{24, 0}}}) {
        rig.Place(400, 400, 400, 150);
        ShotRecord r{
            .PosX = 380, .PosY = 150, .HitArmed = 1, .Node = &rig.f.P1ShotTables[2].Node[0][0][node], .Trail = {}};
        rig.f.HitShot(r, 1);
        EXPECT_EQ(Ints({rig.f.P2Fighter.PosX - 400, rig.f.P2Fighter.PosY - 150}), push) << node;
    }
}

TEST(Robots, DuradeGuardBreaksOffItsRocketsOnlyInTheFirstNode) {
    // Guard pressed and held once the six-way rocket stands on node 4.`from` takes effect when
    // that node's time is up: from 4.0 into the guard; from 4.1 its guard link leads on into
    // the fire node 4.2, but in the guard state, which launches nothing; from 4.2 on the six
    // rockets have left. The robot guards from then on.
    const struct {
        int from, frames, sequence, node, spent;
    } rows[] = {
        {.from = 0, .frames = 8, .sequence = 5, .node = 0, .spent = 0},
        {.from = 1, .frames = 10, .sequence = 4, .node = 2, .spent = 0},
        {.from = 2, .frames = 6, .sequence = 4, .node = 3, .spent = 6},
    };
    Rig rig;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.from);
        rig.Load(15, 15, 2);
        FighterState& f = rig.f.P1Fighter;
        rig.Hold(dw::Key::K);
        rig.FramesUntil(4, r.from);
        rig.Hold(dw::Key::K, false);
        rig.Hold(dw::Key::B);
        const ActionNode* from = f.CurrentNode;
        int frames = 0;
        for (; f.CurrentNode == from && frames < 100; ++frames) rig.Frame();
        EXPECT_EQ(frames, r.frames);
        EXPECT_EQ(f.CurrentNode, &rig.f.P1Graph.Node[r.sequence][r.node]);
        EXPECT_EQ(f.ActionState, 5);
        rig.Frame(40);
        EXPECT_EQ(rig.f.P1Weapons[3].StartAmmo - f.Ammo[3], r.spent);
    }
}
