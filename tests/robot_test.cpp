// Every robot: what a load must give for all of them, the catalogue, the data validator,
// each weapon fired in a fight, judged by what its volley does, and figures the game
// derives from the data: where shots stand, how long attacks and blasts last, how far a
// shot still hits, how it is drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "fight_rig.h"
#include "robots/loading.h"
#include "robots/validator.h"

using fight_rig::Ints;
using fight_rig::Rig;

namespace {

// The bytes of everything a load writes into a player's records.
std::vector<unsigned char> Snapshot(TForm1& form, int player) {
    PlayerRefs p = form.Player(player);
    std::vector<unsigned char> out;
    auto add = [&](const void* data, size_t size) {
        const auto* b = static_cast<const unsigned char*>(data);
        out.insert(out.end(), b, b + size);
    };
    add(&p.spec, sizeof p.spec);
    add(&p.graph, sizeof p.graph);
    add(p.shotTables.data(), sizeof p.shotTables);
    add(&p.motion, sizeof p.motion);
    add(&p.fighter.NormalSpeed, 2 * sizeof(SpeedTable));
    for (const WeaponData& w : p.weapons) {
        const int32_t words[] = {w.StartAmmo, w.EnergyCost, w.VanishOnHit, w.DisarmOnHit, w.Rows, w.Columns, w.TrailOn};
        add(words, sizeof words);
        add(w.LaunchPoint, sizeof w.LaunchPoint);
    }
    for (int k = 0; k < 4; ++k)
        for (int r = 0; r < kMaxRows; ++r)
            for (const ShotRecord& rec : form.Shots.Record[p.firstGroup + k][r]) {
                add(&rec.Node, sizeof rec.Node);
                add(&rec.Weapon, sizeof rec.Weapon);
            }
    return out;
}

// Frames in which player 1 launched a volley of weapon k in 90 frames, the button pressed
// anew every other frame, or held with the stick held right: then `moved` is how far it
// walked in the first 30 frames and `facings` the sum of its facings at each launch.
int Volleys(Rig& rig, int id, int k, bool mashed, int* moved = nullptr, int* facings = nullptr) {
    rig.Load(id, id, 2);
    rig.Place(400, 400, 700, 150);
    rig.Hold(dw::Key::D, !mashed);
    int volleys = 0;
    for (int i = 0; i < 90; ++i) {
        if (i == 30 && moved) *moved = rig.f.P1Fighter.PosX - rig.f.P2Fighter.PosX + 300;
        rig.Hold(fight_rig::kWeaponKey[0][k], !mashed || i % 2 == 0);
        std::vector<uint8_t> was;
        for (const auto& row : rig.f.Shots.Record[k])
            for (const ShotRecord& s : row) was.push_back(s.Active);
        rig.Frame();
        size_t n = 0;
        bool launched = false;
        for (const auto& row : rig.f.Shots.Record[k])
            for (const ShotRecord& s : row) launched |= s.Active && !was[n++];
        volleys += launched;
        if (launched && facings) *facings += rig.f.P1Fighter.Facing;
    }
    rig.Hold(fight_rig::kWeaponKey[0][k], false);
    rig.Hold(dw::Key::D, false);
    return volleys;
}

struct Volley {
    int fire = -1, idle = -1, shots = 0, spent = 0, loss = 0, hitAt = -1, stun = 0;
    int x0 = 0, y0 = 0, x30 = 0, y30 = 0, x100 = 0, y100 = 0;  // the shots summed, from the owner
    int end = 0;                                               // the frame the last shot ended
    Ints at;  // the shots summed, from the owner, in the first frame one stands on node `node`
};

// Player 1 presses weapon k once against its twin standing at (ox, oy) from it; the twin
// moves by (sx, sy) as the volley leaves. Runs until player 1 stands idle, every shot has
// ended and the twin has recovered.
Volley Fire(Rig& rig, int id, int k, int ox, int oy, int sx, int sy, int node = -1) {
    rig.Load(id == 3 ? 15 : 3, 2, 2);  // what a builder leaves unwritten holds another robot's values
    rig.Load(id, id, 2);
    TForm1& f = rig.f;
    rig.Place(400, 400, 400 + ox, 400 + oy);
    const int armour = f.P2Fighter.Armour, ammo = f.P1Fighter.Ammo[k];
    int least = f.P1Fighter.Energy;
    Volley v;
    rig.Hold(fight_rig::kWeaponKey[0][k]);
    for (int i = 1; i <= 400; ++i) {
        rig.Frame();
        rig.Hold(fight_rig::kWeaponKey[0][k], false);
        const int live = rig.Shots(k);
        if (live && v.fire < 0) {
            v.fire = i;
            f.P2Fighter.PosX += sx;
            f.P2Fighter.PosY += sy;
        }
        if (live) v.end = i + 1;
        int x = 0, y = 0;
        bool there = false;
        for (const auto& row : f.Shots.Record[k])
            for (const ShotRecord& s : row)
                if (s.Active) {
                    x += s.PosX - f.P1Fighter.PosX;
                    y += s.PosY - f.P1Fighter.PosY;
                    there |= (s.Node - &f.P1ShotTables[size_t(k)].Node[0][0][0]) % kChainNodes == node;
                }
        if (there && v.at.empty()) v.at = {x, y};
        for (auto [after, sumX, sumY] : {std::tuple{0, &v.x0, &v.y0}, {30, &v.x30, &v.y30}, {100, &v.x100, &v.y100}})
            if (v.fire > 0 && i == v.fire + after) std::tie(*sumX, *sumY) = std::tuple{x, y};
        v.shots = std::max(v.shots, live);
        least = std::min(least, f.P1Fighter.Energy);
        if (v.hitAt < 0 && f.P2Fighter.Armour < armour) v.hitAt = i;
        v.stun += f.P2Fighter.ActionState == 6;
        if (v.idle < 0 && v.fire > 0 && f.P1Fighter.ActionState == 0) v.idle = i;
        if (v.idle > 0 && live == 0 && f.P2Fighter.ActionState != 6 && i > v.fire + 100) break;
    }
    v.spent = ammo - f.P1Fighter.Ammo[k] + f.P1Spec.MaxEnergy - least;
    v.loss = armour - f.P2Fighter.Armour;
    return v;
}

// The volley's summed offset from its owner in the first frame one of its shots stands on
// node `node`, for each facing 0..7 in turn: fired at the twin standing 250 px away that
// way (on each axis on a diagonal), which then steps as far behind the owner.
Ints Facings(Rig& rig, int id, int k, int node) {
    const int toward[kHeadings][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    Ints out;
    for (const auto& [x, y] : toward) {
        const Ints at = Fire(rig, id, k, 250 * x, 250 * y, -500 * x, -500 * y, node).at;
        out.insert(out.end(), at.begin(), at.end());
    }
    return out;
}

// Frames player 1 stands in the sequence of weapon k after one press, holding `also` from
// the launch on.
int Attack(Rig& rig, int id, int k, dw::Key also) {
    rig.Load(id, id, 2);
    int frames = 0;
    rig.Press({fight_rig::kWeaponKey[0][k]});
    for (bool in = true; in; in = (rig.f.P1Fighter.CurrentNode - &rig.f.P1Graph.Node[0][0]) / kSequenceNodes == k + 1) {
        rig.Hold(also, rig.Shots(k) > 0);
        rig.Frame();
        ++frames;
    }
    rig.Hold(also, false);
    return frames;
}

// The farthest distances right of and below its twin at which player 1's shot on node
// (heading, 0, node) of weapon k hits it.
Ints Reach(Rig& rig, int id, int k, int heading, int node) {
    rig.Load(id, id, 2);
    ShotRecord& r = rig.f.Shots.Record[k][0][0];
    Ints farthest{-1, -1};
    for (int d = 0; d < 200; ++d) {
        r.Node = &rig.f.P1ShotTables[size_t(k)].Node[heading][0][node];
        r.HitArmed = 1;
        r.PosX = rig.f.P2Fighter.PosX + (d < 100 ? d : 0);
        r.PosY = rig.f.P2Fighter.PosY + (d < 100 ? 0 : d - 100);
        if (rig.f.HitShot(r, 1)) farthest[d / 100] = d % 100;
    }
    return farthest;
}

// Pixels of the screen that differ from the ground with `cell` of "WEAPON" stretched over
// the box of half-size `half` when player 1's shot stands on node (heading, 0, node) of
// weapon k at (600, 300), the robot loaded first into a new game.
int Drawn(int id, int k, int heading, int node, const dw::Rect& cell, int half) {
    Rig rig(id, id);
    TForm1& f = rig.f;
    ShotRecord& r = f.Shots.Record[k][0][0];
    r.Node = &f.P1ShotTables[size_t(k)].Node[heading][0][node];
    r.PosX = 600;
    r.PosY = 300;
    r.Heading = heading;
    r.Visible = 1;
    r.Active = 0;
    rig.Draw();
    auto want = dw::Surface::Create(800, 600);
    std::copy_n(f.BackSurface()->Row(0), 800 * 600, want->Row(0));
    dw::Blit(*want, {600 - half, 300 - half, 600 + half, 300 + half}, *f.SheetSurface2, cell,
             dw::kBlitKeySrc | (heading >= 5 ? dw::kBlitMirror : 0u));
    r.Active = 1;
    rig.Draw();
    int wrong = 0;
    for (int i = 0; i < 800 * 600; ++i) wrong += want->Row(0)[i] != f.BackSurface()->Row(0)[i];
    return wrong;
}

}  // namespace

TEST(Robots, EveryRowLoadsAloneIntoEitherPlayer) {
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    ASSERT_EQ(count, 10);
    std::set<const RobotRow*> rows;
    for (int i = 0; i < count; ++i) rows.insert(RobotRowFor(ladder[i], 0, 1));
    EXPECT_TRUE(rows.size() == 10 && !rows.count(nullptr));
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

    ShotNode blow{};
    blow.HitKind = kHitProjectile;
    blow.BreaksGuard = 1;
    blow.Stun = 5;
    ShotRecord r;
    r.Node = &blow;
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
            const auto problems = ValidateRobot(f, p);
            EXPECT_TRUE(problems.empty()) << problems.front();
            const auto first = Snapshot(f, p);
            f.LoadRobot(p, *row);
            EXPECT_EQ(Snapshot(f, p), first);
            EXPECT_EQ(Snapshot(f, 1 - p), other);
            PlayerRefs pl = f.Player(p);
            EXPECT_TRUE(pl.fighter.CurrentNode == &pl.graph.Node[0][0] && pl.fighter.Spec == &pl.spec &&
                        !std::memcmp(&pl.motion, &f.DefaultMotions[size_t(row->motionIndex)], sizeof(MotionTable)));
            // A hit in any node throws the robot into its hit reaction; a guard stands.
            for (auto& sequence : pl.graph.Node)
                for (ActionNode& n : sequence) {
                    if (n.Duration < 1) continue;
                    pl.fighter.CurrentNode = &n;
                    pl.fighter.ActionState = n.Kind;
                    r.HitArmed = 1;
                    r.PosX = pl.fighter.PosX;
                    r.PosY = pl.fighter.PosY;
                    f.HitShot(r, p);
                    EXPECT_EQ(pl.fighter.CurrentNode->Kind, n.Kind == 5 ? 5 : 6) << (&n - &pl.graph.Node[0][0]);
                }
        }
}

TEST(Robots, CatalogueRatingsAndPictures) {
    auto form = std::make_unique<TForm1>();
    form->FillRoster();
    // Armor, FirePower, Control, Energy, Speed, Barance by catalogue index.
    const int ratings[11][6] = {
        {2, 2, 2, 1, 2, 2}, {2, 2, 2, 1, 2, 2}, {3, 3, 2, 2, 1, 2}, {3, 3, 3, 2, 1, 2},
        {1, 2, 1, 1, 3, 2}, {2, 1, 1, 3, 2, 2}, {1, 1, 1, 1, 1, 1}, {2, 3, 2, 3, 2, 2},
        {1, 2, 2, 1, 3, 2}, {3, 3, 3, 2, 1, 2}, {2, 2, 1, 3, 3, 2},
    };
    for (int i = 0; i < 11; ++i) {
        const RosterEntry& e = form->Roster[size_t(i)];
        EXPECT_EQ(Ints(e.Rating, e.Rating + 6), Ints(ratings[i], ratings[i] + 6)) << i;
        // Pictures: 149-pixel squares on a 150-pixel grid of the 750 x 450 sheets, in order.
        EXPECT_EQ(Ints({e.Cell[2] - e.Cell[0], e.Cell[3] - e.Cell[1], e.Cell[0] % 150, e.Cell[1] % 150,
                        e.Cell[1] / 150 * 5 + e.Cell[0] / 150}),
                  Ints({149, 149, 0, 0, i}));
    }
    EXPECT_EQ(Ints({RosterIndex(1), RosterIndex(5), RosterIndex(6), RosterIndex(11), RosterIndex(15), RosterIndex(16)}),
              Ints({0, 4, 10, 5, 9, 10}));
}

TEST(Robots, ValidatorFindsEachFaultAlone) {
    struct Fault {
        const char* finding;
        std::function<void(TForm1&)> plant;
    };
    const Fault faults[] = {
        {"no specification", [](TForm1& f) { f.P1Fighter.Spec = nullptr; }},
        {"does not stand on a node", [](TForm1& f) { f.P1Fighter.CurrentNode = &f.P2Graph.Node[0][0]; }},
        {"node 1.2: duration below 1", [](TForm1& f) { f.P1Graph.Node[1][2].Duration = 0; }},
        {"node 2.1: kind 3 in sequence 2", [](TForm1& f) { f.P1Graph.Node[2][1].Kind = 3; }},
        {"node 1.1: kind 7", [](TForm1& f) { f.P1Graph.Node[1][1].Kind = 7; }},
        {"node 3.0: sprite frame out of range", [](TForm1& f) { f.P1Graph.Node[3][0].Frame = kFrames; }},
        {"node 3.0: sprite frame out of range", [](TForm1& f) { f.P1Graph.Node[3][0].Motion = -1; }},
        {"node 1.1: no sprite frame for facing 3", [](TForm1& f) { f.P1Motion.Piece[3][1][1].SrcRight = 700; }},
        {"node 1.1: no sprite frame for facing 5", [](TForm1& f) { f.P1Motion.Piece[5][1][1].HalfHeight = 0; }},
        {"node 1.1: no sprite frame for facing 0", [](TForm1& f) { f.P1Motion.Piece[0][1][1].SrcTop = -1; }},
        {"node 2.2: a link leaves the graph", [](TForm1& f) { f.P1Graph.Node[2][2].Next[6] = &f.P2Graph.Node[6][0]; }},
        {"slot 2: no weapon", [](TForm1& f) { f.Shots.Record[1][0][0].Weapon = nullptr; }},
        {"slot 1: rows or columns out of range", [](TForm1& f) { f.P1Weapons[0].Rows = kMaxRows + 1; }},
        {"slot 1: rows or columns out of range", [](TForm1& f) { f.P1Weapons[0].Columns = 0; }},
        {"slot 3: records of one slot disagree", [](TForm1& f) { f.Shots.Record[2][7][9].Weapon = &f.P1Weapons[0]; }},
        {"slot 3: a record's node lies outside",
         [](TForm1& f) { f.Shots.Record[2][7][9].Node = &f.P2ShotTables[2].Node[0][0][0]; }},
        {"slot 1 node (0, 0, 0): duration below 1", [](TForm1& f) { f.P1ShotTables[0].Node[0][0][0].Duration = 0; }},
        {"slot 1 node (0, 0, 0): unknown movement", [](TForm1& f) { f.P1ShotTables[0].Node[0][0][0].MoveKind = 6; }},
        {"slot 1 node (3, 0, 0): unknown hit test", [](TForm1& f) { f.P1ShotTables[0].Node[3][0][0].HitKind = -1; }},
        {"slot 1 node (2, 0, 0): next leaves",
         [](TForm1& f) { f.P1ShotTables[0].Node[2][0][0].Next = &f.P2ShotTables[0].Node[0][0][0]; }},
        {"slot 2 node (0, 0, 1): impact leaves",
         [](TForm1& f) { f.P1ShotTables[1].Node[0][0][1].ImpactNode = &f.P1ShotTables[0].Node[0][0][0]; }},
        {"slot 1 node (0, 0, 0): no launch link for heading 6",
         [](TForm1& f) { LaunchLink(f.P1ShotTables[0].Node[0][0][0], 6) = nullptr; }},
        {"slot 1 node (0, 0, 0): a launch link leaves",
         [](TForm1& f) { LaunchLink(f.P1ShotTables[0].Node[0][0][0], 1) = &f.P2ShotTables[0].Node[0][0][0]; }},
        {"slot 1 node (4, 0, 0): steer node without a homing link for heading 0",
         [](TForm1& f) { f.P1ShotTables[0].Node[4][0][0].MoveKind = kMoveBranch; }},
    };
    for (const Fault& fault : faults) {
        Rig rig;
        ASSERT_TRUE(ValidateRobot(rig.f, 0).empty());
        fault.plant(rig.f);
        const auto found = ValidateRobot(rig.f, 0);
        ASSERT_FALSE(found.empty()) << fault.finding;
        EXPECT_NE(found.front().find(fault.finding), std::string::npos) << found.front();
        EXPECT_TRUE(ValidateRobot(rig.f, 1).empty()) << fault.finding;
    }
}

TEST(Robots, EachWeaponInAFight) {
    // The robot against its twin, weapon slot 0..3, where the twin stands from player 1 at
    // (400, 400) and how far it steps as the volley leaves; then what is seen: launch frame,
    // back to idle, most shots at once, ammunition or energy spent, armour taken, first hit
    // frame, frames stunned, the shots' summed offsets at launch, 30 and 100 frames on;
    // volleys in 90 frames held while walking right, how far it walked in 30, the facings
    // summed over those launches; volleys in 90 frames pressed anew every other frame.
    struct Case {
        int id, slot, ox, oy, sx, sy;
        std::vector<int> want;
    };
    const Case cases[] = {
        {1, 0, 0, -250, 0, 0, {7, 12, 3, 3, 24, 15, 3, 0, -189, -10, -1181, 0, 0, 6, 156, 6, 80}},
        {1, 1, 0, -60, 0, 0, {3, 18, 1, 0, 40, 3, 16, 0, -35, 0, 0, 0, 0, 1, 207, 1, 5}},
        {1, 2, 0, -250, 0, 0, {9, 26, 1, 1, 40, 26, 13, 0, -10, 0, 0, 0, 0, 1, 106, 1, 73}},
        {1, 2, 0, -250, -100, 200, {9, 26, 1, 1, 40, 90, 13, 0, -10, -4, -404, 0, 0, 1, 106, 1, 73}},
        {14, 0, 0, -250, 0, 0, {8, 21, 1, 1, 28, 16, 3, 0, -70, 0, -670, 0, 0, 1, 220, 1, 79}},
        {14, 1, 0, -60, 0, 0, {6, 21, 1, 0, 32, 6, 18, 0, -30, 0, 0, 0, 0, 1, 237, 1, 4}},
        {14, 2, 0, -250, 0, 0, {18, 41, 10, 299, 80, 18, 19, 0, -4250, 0, 0, 0, 0, 1, 133, 1, 6}},
        {5, 0, 0, -250, 0, 0, {6, 13, 3, 3, 24, 14, 3, 0, -189, -10, -1181, 0, 0, 6, 186, 6, 85}},
        {5, 0, 250, 0, 0, 0, {6, 13, 3, 3, 24, 14, 3, 189, 0, 1181, 10, 0, 0, 6, 186, 6, 85}},
        {5, 1, 0, -60, 0, 0, {10, 25, 1, 0, 32, 10, 15, 0, -35, 0, 0, 0, 0, 1, 237, 1, 4}},
        {5, 2, 0, -250, 0, 0, {12, 27, 6, 6, 20, 94, 3, 0, 78, 0, -624, 291, -1455, 24, 138, 1, 14}},
        {5, 2, 0, -250, -150, 100, {12, 27, 6, 6, 80, 37, 12, 0, 78, 5, -564, -258, -378, 24, 138, 1, 14}},
        {11, 0, 0, -250, 0, 0, {7, 22, 5, 5, 60, 19, 7, 0, -225, 0, -2291, 0, 0, 9, 190, 1, 0}},
        {11, 1, 0, -60, 0, 0, {9, 38, 1, 0, 24, 12, 0, 0, -30, 0, 0, 0, 0, 1, 207, 1, 3}},
        {11, 2, 0, -250, 0, 0, {11, 18, 1, 1, 36, 89, 19, 0, 30, 0, 20, 0, 0, 1, 207, 1, 77}},
        {11, 2, 0, -250, -150, 100, {11, 18, 1, 1, 36, 69, 19, 0, 30, -50, 20, 0, 0, 1, 207, 1, 77}},
        {4, 0, 0, -250, 0, 0, {8, 19, 3, 3, 36, 17, 3, 0, -180, -10, -995, 0, 0, 1, 160, 1, 83}},
        {4, 1, 0, -60, 0, 0, {8, 29, 1, 0, 160, 8, 19, 0, -45, 0, 0, 0, 0, 1, 177, 1, 3}},
        {4, 2, 0, -250, 0, 0, {7, 14, 1, 1, 32, 43, 3, 0, 20, 96, -305, 0, 0, 1, 177, 1, 71}},
        {4, 2, 0, -250, -150, 100, {7, 14, 1, 1, 0, -1, 0, 0, 20, 96, -305, 96, -320, 1, 177, 1, 71}},
        {4, 3, 0, -250, 0, 0, {14, 29, 4, 4, 80, 28, 7, 0, -204, 0, -776, 0, 0, 33, 79, 33, 75}},
        {13, 0, 0, -250, 0, 0, {11, 21, 1, 1, 36, 24, 19, 0, -62, 0, 0, 0, 0, 1, 190, 1, 74}},
        {13, 0, 573, 0, 0, 0, {11, 21, 1, 1, 36, 54, 19, 62, 0, 422, 0, 0, 0, 1, 190, 1, 74}},
        {13, 0, 581, 0, 0, 0, {11, 21, 1, 1, 36, 58, 19, 62, 0, 422, 0, 0, 0, 1, 190, 1, 74}},
        {13, 0, 590, 0, 0, 0, {11, 21, 1, 1, 0, -1, 0, 62, 0, 422, 0, 0, 0, 1, 190, 1, 74}},
        {13, 1, 0, -60, 0, 0, {6, 17, 1, 0, 48, 6, 19, 0, -40, 0, -40, 0, 0, 1, 207, 1, 3}},
        {13, 2, 0, -250, 0, 0, {14, 29, 10, 159, 156, 14, 19, 0, -4250, 0, 0, 0, 0, 8, 59, 8, 23}},
        {13, 3, 0, -250, 0, 0, {14, 25, 6, 6, 120, 63, 19, 0, -300, -60, -4990, 0, 0, 5, 207, 29, 74}},
        {13, 3, 250, 0, 0, 0, {14, 25, 6, 6, 120, 63, 19, 0, -300, 1440, -3490, 0, 0, 5, 207, 29, 74}},
        {13, 3, 0, -250, -150, 100, {14, 25, 6, 6, 120, 63, 19, 0, -300, -960, -4390, 0, 0, 5, 207, 29, 74}},
        {16, 0, 0, -250, 0, 0, {6, 19, 1, 1, 24, 14, 4, 0, -70, 0, -670, 0, 0, 1, 220, 1, 1}},
        {16, 1, 0, -250, 0, 0, {4, 19, 6, 6, 96, 86, 6, 0, 78, 0, -624, 0, -954, 31, 237, 99, 14}},
        {16, 1, 0, -250, -150, 100, {4, 19, 6, 6, 120, 27, 15, 0, 78, 129, -426, -351, -72, 31, 237, 99, 14}},
        {16, 2, 0, -250, 0, 0, {10, 31, 1, 1, 100, 57, 27, 0, -50, 0, -760, 0, 0, 1, 69, 1, 1}},
        {16, 2, 0, -250, -150, 100, {10, 31, 1, 1, 100, 57, 27, 0, -50, -150, -660, 0, 0, 1, 69, 1, 1}},
        {2, 0, 0, -250, 0, 0, {5, 15, 1, 1, 28, 14, 4, 0, -50, 0, -650, 0, 0, 1, 190, 1, 75}},
        {2, 1, 0, -60, 0, 0, {7, 20, 1, 0, 40, 7, 16, 0, -35, 0, 0, 0, 0, 1, 207, 1, 5}},
        {2, 2, 0, -250, 0, 0, {11, 30, 4, 4, 0, -1, 0, 0, -204, 0, -1600, 0, 0, 32, 134, 4, 71}},
        {3, 0, 0, -250, 0, 0, {6, 15, 6, 6, 48, 13, 6, 0, -189, 0, -3510, 0, 0, 6, 126, 6, 85}},
        {3, 1, 0, -60, 0, 0, {10, 27, 1, 0, 52, 10, 3, 0, -50, 0, 0, 0, 0, 1, 177, 1, 3}},
        {3, 2, 0, -250, 0, 0, {18, 43, 1, 1, 240, 24, 16, 0, -90, 0, -690, 0, 0, 1, 4, 1, 2}},
        {3, 3, 0, -250, 0, 0, {12, 39, 3, 3, 132, 28, 33, 0, -10, 0, -428, 0, 0, 1, 63, 1, 83}},
        {3, 3, 0, -250, 200, 100, {12, 39, 3, 3, 88, 39, 22, 0, -10, 298, -694, 344, -56, 1, 63, 1, 83}},
        {15, 0, 0, -250, 0, 0, {8, 21, 5, 5, 16, 18, 3, 0, -375, -87, -1021, 0, 0, 12, 160, 1, 65}},
        {15, 1, 0, -60, 0, 0, {6, 19, 1, 0, 52, 6, 12, 0, -40, 0, 0, 0, 0, 1, 177, 1, 5}},
        {15, 2, 0, -250, 0, 0, {16, 40, 3, 3, 108, 22, 12, 0, -195, 0, -1995, 0, 0, 1, 36, 1, 3}},
        {15, 3, 0, -250, 0, 0, {20, 47, 6, 6, 80, 34, 6, 0, -364, 0, -1640, 0, 0, 2, 51, 2, 81}},
    };
    Rig rig;
    for (const Case& c : cases) {
        const Volley v = Fire(rig, c.id, c.slot, c.ox, c.oy, c.sx, c.sy);
        int moved = 0, facings = 0;
        const int held = Volleys(rig, c.id, c.slot, false, &moved, &facings);
        const int mashed = Volleys(rig, c.id, c.slot, true);
        EXPECT_EQ(Ints({v.fire, v.idle, v.shots, v.spent, v.loss, v.hitAt, v.stun, v.x0, v.y0, v.x30, v.y30, v.x100,
                        v.y100, held, moved, facings, mashed}),
                  c.want)
            << "robot " << c.id << " weapon " << c.slot + 1 << " at " << c.ox << ", " << c.oy;
    }
}

TEST(Robots, FiguresTheirDataGives) {
    // Each robot against its twin: what the game makes of its data, a figure a row.
    Rig rig;
    const Volley mine = Fire(rig, 11, 2, 0, -250, 0, 0);
    const struct {
        const char* what;
        Ints got, want;
    } figures[] = {
        {"6WAY-ROCKET facing down-left: the six summed where their fan ends",
         Fire(rig, 15, 3, -250, 250, 0, 0, 1).at,
         {-672, 672}},
        {"MISILE fired left, the twin then to its right: where its first turn ends",
         Fire(rig, 1, 2, -250, 0, 350, 0, 6).at,
         {-420, -192}},
        {"FLORTING-MINE: frames from its hit to the end of its blast", {mine.end - mine.hitAt}, {12}},
        {"6WAY-ROCKET: frames in the attack, weapon 1, 2 or 3 or guard held from its fire node on",
         {Attack(rig, 15, 3, dw::Key::G), Attack(rig, 15, 3, dw::Key::H), Attack(rig, 15, 3, dw::Key::J),
          Attack(rig, 15, 3, dw::Key::B)},
         {46, 46, 46, 46}},
        {"FIRE-FLY burst stages: the farthest hits right of and below the twin", Reach(rig, 5, 2, 0, 9), {24, 24}},
        {"", Reach(rig, 5, 2, 0, 10), {28, 28}},
        {"FLORTING-MINE's first two blasts: the farthest hits right of and below the twin",
         Reach(rig, 11, 2, 0, 2),
         {39, 39}},
        {"", Reach(rig, 11, 2, 0, 3), {51, 51}},
        {"SPIKE thrust facing up, then right: the farthest hits right of and below the twin",
         Reach(rig, 5, 1, 0, 1),
         {44, 54}},
        {"", Reach(rig, 5, 1, 2, 1), {54, 44}},
        {"MACHINE-GUN bullet facing up and down-left, FLORTING-MINE's last blast, DOZ's bullet facing up-right: pixels "
         "drawn wrong",
         {Drawn(1, 0, 0, 0, {0, 0, 10, 10}, 8), Drawn(1, 0, 5, 0, {33, 0, 43, 10}, 8),
          Drawn(11, 2, 0, 4, {60, 127, 88, 155}, 40), Drawn(4, 0, 1, 0, {22, 0, 32, 10}, 10)},
         {0, 0, 0, 0}},
    };
    for (const auto& c : figures) EXPECT_EQ(c.got, c.want) << c.what;

    // Volleys fired facing each way in turn, the shots summed where they first reach a node:
    // the guns' barrels at launch, the shot guns' pellets where they stop, the rockets where
    // their fan ends, the fire-flies where their drift ends.
    const struct {
        int id, slot, node;
        Ints want;  // x, y for facings 0..7
    } facings[] = {
        {1, 0, 0, {0, -189, 222, -167, 189, 0, 222, 147, 0, 209, -222, 147, -189, 0, -222, -147}},
        {4, 0, 0, {0, -180, 210, -155, 180, 0, 210, 135, 0, 200, -210, 135, -180, 0, -210, -135}},
        {15, 2, 0, {0, -195, 225, -225, 195, 0, 225, 225, 0, 215, -225, 225, -195, 0, -225, -225}},
        {11, 0, 2, {0, -2559, 2090, -2090, 2559, 0, 2090, 2090, 0, 2559, -2090, 2090, -2559, 0, -2090, -2090}},
        {15, 0, 2, {0, -2058, 1690, -1690, 2058, 0, 1690, 1690, 0, 2058, -1690, 1690, -2058, 0, -1690, -1690}},
        {4, 3, 1, {0, -688, 404, -404, 688, 0, 404, 404, 0, 688, -404, 404, -688, 0, -404, -404}},
        {15, 3, 1, {0, -1068, 672, -672, 1068, 0, 672, 672, 0, 1068, -672, 672, -1068, 0, -672, -672}},
        {5, 2, 3, {0, -1092, 408, -408, 1092, 0, 408, 408, 0, 1092, -408, 408, -1092, 0, -408, -408}},
    };
    for (const auto& c : facings) EXPECT_EQ(Facings(rig, c.id, c.slot, c.node), c.want) << c.id << " " << c.slot + 1;
}
