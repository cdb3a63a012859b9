// Zeredi vovu Ridodar and the third set's shared pieces: specifications, action graph,
// guns, close-combat arms, the homing missile and its turns, and the loader row.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <type_traits>
#include <vector>

#include "robots/builders.h"
#include "robots/third_set_specs.h"
#include "robots/validator.h"
#include "robots/zeredi/arms.h"
#include "robots/zeredi/guns.h"
#include "robots/zeredi/missile.h"
#include "robots/zeredi/zeredi.h"
#include "shell/form.h"

namespace {

struct ShotFrame {
    const ShotNode* node;  // the node the shot moved by in this frame
    int x, y;              // its position afterwards, from the launch point
};

// Flies a shot that hits nothing the way the engine moves it: a node moves it by (Dx, Dy)
// each frame for Duration frames, then Next; a steer node takes the homing link of the
// heading aim() gives and moves by that node's step in the same frame.
std::vector<ShotFrame> Fly(const ShotNode* n, const std::function<int()>& aim = [] { return 0; }) {
    std::vector<ShotFrame> frames;
    int x = 0, y = 0, ticks = 0;
    while (n && frames.size() < 1000) {
        if (n->MoveKind == kMoveBranch) {
            n = HomingLink(*n, aim());
            ticks = 0;
        }
        x += n->Dx;
        y += n->Dy;
        frames.push_back({n, x, y});
        if (++ticks >= n->Duration) {
            ticks = 0;
            n = n->Next;
        }
    }
    return frames;
}

template <typename T>
void AddBytes(std::vector<unsigned char>& out, const T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* p = reinterpret_cast<const unsigned char*>(&v);
    out.insert(out.end(), p, p + sizeof v);
}

template <typename T>
std::vector<unsigned char> Bytes(const T& v) {
    std::vector<unsigned char> out;
    AddBytes(out, v);
    return out;
}

std::vector<int> Steps(const SpeedTable& t, int facing, int group, int component) {
    const auto& s = t.Block[facing].Speed[group];
    return {s[1][component], s[2][component], s[3][component]};
}

}  // namespace

TEST(ThirdSetSpecs, HeadersModifiersAndTheSpeedTemplate) {
    struct Row {
        void (*fill)(RobotSpec&, int);
        int modifier, effective;  // Zeredi's filler ignores the modifier it is handed
        std::vector<int> header;  // armour, energy, half-height, half-width, word 8, recovery, decay
    };
    const Row rows[] = {{LizardT_Spec, 5, 0, {590, 480, 20, 20, 12, 6, 2}},
                        {LizardV_Spec, 0, 0, {590, 480, 20, 20, 12, 6, 2}},
                        {Pyro_Spec, -1, -1, {700, 520, 30, 30, 17, 6, 3}},
                        {Bahao_Spec, -1, -1, {720, 500, 30, 30, 18, 8, 2}}};
    constexpr int kMirrorGroup[8] = {1, 0, 2, 4, 3, 5, 7, 6};
    for (const Row& r : rows) {
        RobotSpec s;
        r.fill(s, r.modifier);
        const int m = r.effective;
        EXPECT_EQ(std::vector<int>({s.MaxArmour, s.MaxEnergy, s.HalfHeight, s.HalfWidth, s.SpecWord8, s.RecoveryRate,
                                    s.NormalSpeed.Block[3].DecayPeriod}),
                  r.header);
        // Step 0 is still; facing f mirrors 8 - f; dash is normal + 5 / + 4 on non-zero speeds.
        for (int f = 0; f < 8; ++f)
            for (int g = 0; g < 8; ++g)
                for (int c = 0; c < 2; ++c) {
                    const int normal = s.NormalSpeed.Block[f].Speed[g][1][c];
                    EXPECT_EQ(s.NormalSpeed.Block[f].Speed[g][0][c] | s.DashSpeed.Block[f].Speed[g][0][c], 0);
                    EXPECT_EQ(normal, s.NormalSpeed.Block[(8 - f) % 8].Speed[kMirrorGroup[g]][1][c]) << f << g;
                    EXPECT_EQ(s.DashSpeed.Block[f].Speed[g][1][c], normal == 0 ? 0 : normal + (c == 0 ? 5 : 4));
                }
        EXPECT_EQ(Steps(s.NormalSpeed, 4, 0, 1), std::vector<int>({0, 0, 0}));  // zeros stay zero
        EXPECT_EQ(Steps(s.DashSpeed, 4, 5, 0), std::vector<int>({0, 0, 0}));
        // The modifier's reach and the four fixed step-3 entries.
        EXPECT_EQ(Steps(s.NormalSpeed, 2, 0, 0), std::vector<int>({6 + m, 7 + m, 8}));
        EXPECT_EQ(Steps(s.NormalSpeed, 6, 1, 0), std::vector<int>({6 + m, 7 + m, 8}));
        EXPECT_EQ(Steps(s.DashSpeed, 2, 0, 0), std::vector<int>({11 + m, 12 + m, 12 + m}));
        EXPECT_EQ(Steps(s.DashSpeed, 6, 1, 0), std::vector<int>({11 + m, 12 + m, 13}));
        EXPECT_EQ(Steps(s.NormalSpeed, 0, 5, 1), std::vector<int>({3 + m, 4 + m, 5 + m}));
        EXPECT_EQ(Steps(s.NormalSpeed, 1, 3, 1), std::vector<int>({5 + m, 6 + m, 7 + m}));
    }
    // A filler leaves nothing of the robot the record held before.
    RobotSpec fresh, reused;
    Pyro_Spec(fresh, -1);
    LizardT_Spec(reused, 0);
    Pyro_Spec(reused, -1);
    EXPECT_EQ(Bytes(fresh), Bytes(reused));
}

TEST(ZerediGraph, SequencesReentryAndHits) {
    auto graph = std::make_unique<ActionGraph>();
    ActionGraph& g = *graph;
    LizardT_Action(g);
    const ActionNode* idle = &g.Node[0][0];

    const int lengths[] = {12, 18, 26};
    for (int s = 1; s <= 3; ++s) {
        int frames = 0;
        for (const ActionNode* n = &g.Node[s][0]; n != idle; n = n->Next[kSlotDefault]) frames += n->Duration;
        EXPECT_EQ(frames, lengths[s - 1]) << "sequence " << s;
    }

    // Weapon 1 by the engine's rules: a press where requests are accepted moves through slot
    // 1 and re-arms the gun; a held button follows slot 1 at a node's end; release slot 0.
    struct Pilot {
        explicit Pilot(const ActionNode* start) : node(start) {}
        const ActionNode* node;
        int ticks = 0, volleys = 0;
        bool latch = false;
        std::vector<const ActionNode*> visited;
        void Frame(bool held, bool pressed) {
            if (pressed && node->AcceptsRequest) {
                node = node->Next[1];
                ticks = 0;
                latch = false;
            }
            visited.push_back(node);
            if (node->FireFrame && !latch) {
                ++volleys;
                latch = true;
            }
            if (++ticks >= node->Duration) {
                ticks = 0;
                node = node->Next[held ? 1 : kSlotDefault];
                latch = latch && held;
            }
        }
    };
    Pilot held(idle);
    for (int i = 0; i < 30; ++i) held.Frame(true, i == 0);
    const auto* s1 = g.Node[1];
    EXPECT_EQ(std::vector<const ActionNode*>(held.visited.begin(), held.visited.begin() + 9),
              std::vector<const ActionNode*>({&s1[0], &s1[0], &s1[1], &s1[1], &s1[2], &s1[3], &s1[4], &s1[3], &s1[4]}));
    EXPECT_EQ(held.visited.back(), &s1[3]);
    EXPECT_EQ(held.volleys, 1);
    for (int i = 0; i < 6; ++i) held.Frame(false, false);  // released: 1.4, 1.5, 1.6, 1.7
    EXPECT_EQ(held.node, idle);

    Pilot tapped(idle);
    int presses = 0;
    for (int i = 0; i < 40; ++i) {
        const bool press = presses == 0 || (presses < 4 && tapped.node == &s1[4] && tapped.volleys == presses);
        presses += press;
        tapped.Frame(true, press);
    }
    EXPECT_EQ(tapped.volleys, 4);

    EXPECT_EQ(s1[7].Next[1], &s1[1]);                // held through 1.7: again from 1.1
    EXPECT_EQ(g.Node[3][3].Next[3], &g.Node[3][1]);  // weapon 3 again skips the wind-up
    EXPECT_EQ(g.Node[2][7].Next[2], idle);          // the stick has no re-entry
    EXPECT_EQ(g.Node[4][0].Kind, 0);                // weapon 4 stands on a copy of idle
    EXPECT_EQ(g.Node[4][0].Next[4], &g.Node[4][0]);
    const int lastNode[7] = {0, 7, 7, 3, 0, 0, 0};
    for (int s = 0; s < 7; ++s)
        for (int k = 0; k <= lastNode[s]; ++k)  // a hit leads to 6.0, but the guard holds
            EXPECT_EQ(g.Node[s][k].Next[kSlotHit], s == 5 ? &g.Node[5][0] : &g.Node[6][0]) << s << "." << k;
}

TEST(ThirdSetGuns, VolleysTravelAndLaunchPoints) {
    struct Gun {
        void (*build)(WeaponData&, ShotTable&);
        int frames, half;
    };
    for (const Gun& gun : {Gun{LizardT_Weapon1, 20, 8}, Gun{Pyro_Weapon1, 32, 10}}) {
        WeaponData w;
        auto t = std::make_unique<ShotTable>();
        gun.build(w, *t);
        EXPECT_EQ(w.StartAmmo, 240);
        EXPECT_EQ(w.Rows * w.Columns, 15);
        for (int f = 0; f < kHeadings; ++f) {
            // Every bullet flies column 0's chain of its heading, whatever its column.
            const ShotNode* first = LaunchLink(t->Node[0][0][0], f);
            ASSERT_EQ(first, &t->Node[f][0][0]);
            const auto flight = Fly(first);
            ASSERT_EQ(int(flight.size()), gun.frames);
            const int along = (f % 2 ? 14 : 18) * gun.frames;  // 360 / 280, 576 / 448
            EXPECT_EQ(flight.back().x, kHeadingSignX[f] * along) << "heading " << f;
            EXPECT_EQ(flight.back().y, kHeadingSignY[f] * along) << "heading " << f;
            EXPECT_EQ(first->HitHalfWidth, gun.half);
        }
        // Mirror images in x, but for the irregular heading 1 column 0.
        for (int f = 1; f < 4; ++f)
            for (int c = 0; c < 3; ++c) {
                const LaunchOffset a = w.LaunchPoint[f][c], b = w.LaunchPoint[8 - f][c];
                EXPECT_EQ(a.x, -b.x);
                EXPECT_EQ(a.y - b.y, f == 1 && c == 0 ? -20 : 0);
            }
        EXPECT_EQ(w.LaunchPoint[4][2].y, 40);
        const LaunchOffset volley2[3] = {{70, -10}, {45, 0}, {20, 10}};
        for (int c = 0; c < 3; ++c) EXPECT_EQ(Bytes(w.LaunchPoint[2][c]), Bytes(volley2[c]));
    }
}

TEST(ThirdSetArms, StagesFramesAndLastStageHits) {
    struct Arm {
        void (*build)(WeaponData&, ShotTable&);
        int reach, frames, damage, half;
        bool lastStageHits;
    };
    const Arm arms[] = {{LizardT_Weapon2, 35, 14, 40, 30, false},
                        {Pyro_Weapon2, 50, 24, 52, 30, false},
                        {Bahao_Weapon2, 40, 20, 52, 40, true}};
    for (const Arm& arm : arms) {
        WeaponData w;
        auto t = std::make_unique<ShotTable>();
        arm.build(w, *t);
        EXPECT_EQ(w.EnergyCost, 0);
        EXPECT_EQ(Bytes(w.LaunchPoint[3][0]), Bytes(LaunchOffset{arm.reach, arm.reach}));
        const auto blow = Fly(LaunchLink(t->Node[0][0][0], 3));
        ASSERT_EQ(int(blow.size()), arm.frames) << arm.reach;
        for (const ShotFrame& fr : blow) {
            const bool last = fr.node == &t->Node[3][0][5];
            EXPECT_EQ(fr.node->HitKind, last && !arm.lastStageHits ? kHitNone : kHitMelee);
            EXPECT_EQ(fr.node->MoveKind, kMoveMelee);
            EXPECT_EQ(fr.node->Damage, arm.damage);
            EXPECT_EQ(fr.node->HitHalfWidth, arm.half);
        }
        EXPECT_EQ(t->Node[5][7][7].HitHalfHeight, arm.half);
    }
    WeaponData w;
    auto t = std::make_unique<ShotTable>();
    Bahao_Weapon2(w, *t);
    EXPECT_EQ(t->Node[2][1][3].Stun, 120);  // "BANISHING" stuns harder in one stage
}

TEST(ZerediMissile, FlightTurnsAndImpact) {
    WeaponData w;
    auto table = std::make_unique<ShotTable>();
    ShotTable& t = *table;
    LizardT_Weapon3(w, t);
    kZerediRow.missileTurns(t);

    // Every path that hits nothing lasts 136 frames: 6 + 24, a turn, 24, a turn, 24, 5 + 5.
    for (int f = 0; f < kHeadings; ++f)
        for (int d = 0; d < kHeadings; ++d)
            for (int e = 0; e < kHeadings; ++e) {
                int branch = 0;
                const auto flight = Fly(LaunchLink(t.Node[0][0][0], f), [&] { return branch++ == 0 ? d : e; });
                ASSERT_EQ(flight.size(), 136u) << f << d << e;
                EXPECT_EQ(flight[54].node, &t.Node[d][d][6]);
                EXPECT_EQ(flight[102].node, &t.Node[e][e][11]);
                EXPECT_EQ(flight.back().node, &t.Node[e][e][13]);
                EXPECT_EQ(flight[125].x, flight.back().x);  // the explosion stays put
            }

    // Facing 0, opponent in heading 3: (8, -8), (8, 0), (8, 6) for 8 frames each, (192, -16)
    // in all, then on in (3, 3, 6) at (10, 10) a frame.
    auto flight = Fly(LaunchLink(t.Node[0][0][0], 0), [] { return 3; });
    EXPECT_EQ(flight[29].y, -6 * 10 - 24 * 14);
    EXPECT_EQ(flight[30].node, &t.Node[0][3][3]);
    EXPECT_EQ(flight[53].x - flight[29].x, 192);
    EXPECT_EQ(flight[53].y - flight[29].y, -16);
    EXPECT_EQ(flight[54].node, &t.Node[3][3][6]);
    EXPECT_EQ(flight[54].x - flight[53].x, 10);
    EXPECT_EQ(flight[54].y - flight[53].y, 10);

    // A record whose last flight ended in column 5 flies the path of one started in column 0.
    flight = Fly(LaunchLink(t.Node[0][0][0], 2), [] { return 0; });
    const auto fromColumn5 = Fly(LaunchLink(t.Node[6][5][13], 2), [] { return 0; });
    ASSERT_EQ(fromColumn5.size(), flight.size());
    for (size_t i = 0; i < flight.size(); ++i)
        EXPECT_TRUE(fromColumn5[i].x == flight[i].x && fromColumn5[i].y == flight[i].y) << "frame " << i;

    // A hit anywhere explodes at (0, 0, 12), 10 frames in place, except in five turn nodes.
    std::set<const ShotNode*> keepsFlying;
    for (auto& heading : t.Node)
        for (int k = 0; k < 8; ++k)
            for (int n = 0; n < 14; ++n)
                if (heading[k][n].ImpactNode != &t.Node[0][0][12]) keepsFlying.insert(&heading[k][n]);
    EXPECT_EQ(keepsFlying, (std::set<const ShotNode*>{&t.Node[1][4][4], &t.Node[3][4][4], &t.Node[5][4][4],
                                                      &t.Node[6][4][4], &t.Node[7][4][4]}));
    EXPECT_EQ(t.Node[1][4][4].ImpactNode, nullptr);
    const auto blast = Fly(&t.Node[0][0][12]);
    EXPECT_EQ(blast.size(), 10u);
    EXPECT_EQ(blast.back().x | blast.back().y, 0);
}

TEST(ZerediLoad, RecordsValidatorRepeatsAndPlayerIsolation) {
    auto form = std::make_unique<TForm1>();
    TForm1& f = *form;
    f.BuildDammyWeapon();
    f.BuildDefaultMotions();
    f.LoadRobot(0, *RobotRowFor(14, 0, 1));  // another robot first: its leftovers must not matter
    f.LoadRobot(0, kZerediRow);
    PlayerRefs p1 = f.Player(0);

    const int ammo[4] = {240, 256, 40, f.DammyWeapon.StartAmmo};
    for (int k = 0; k < 4; ++k) {
        const bool own = k < 3;
        for (int r = 0; r < kMaxRows; ++r)
            for (const ShotRecord& rec : f.Shots.Record[k][r]) {
                EXPECT_EQ(rec.Node, own ? &p1.shotTables[size_t(k)].Node[0][0][0] : &f.DammyShotTable.Node[0][0][0]);
                EXPECT_EQ(rec.Weapon, own ? &p1.weapons[size_t(k)] : &f.DammyWeapon);
            }
        EXPECT_EQ(f.Shots.Record[k][0][0].Weapon->StartAmmo, ammo[k]);
    }
    EXPECT_EQ(p1.weapons[0].FireSound + p1.weapons[1].FireSound + p1.weapons[2].FireSound, "ATTACK4ATTACK2ATTACK5");
    EXPECT_EQ(p1.fighter.CurrentNode, &p1.graph.Node[0][0]);
    EXPECT_EQ(Bytes(p1.fighter.NormalSpeed), Bytes(p1.spec.NormalSpeed));
    EXPECT_EQ(Bytes(p1.fighter.DashSpeed), Bytes(p1.spec.DashSpeed));
    EXPECT_EQ(Bytes(p1.motion), Bytes(f.DefaultMotions[9]));
    EXPECT_EQ(p1.shotTables[2].Node[1][6][9].Duration, 8);  // the turns patched the slot-3 table

    // Player 2's load leaves player 1 as it was; loading again gives the same records.
    auto snapshot = [&] {
        std::vector<unsigned char> out;
        AddBytes(out, p1.spec);
        AddBytes(out, p1.graph);
        for (const ShotTable& t : p1.shotTables) AddBytes(out, t);
        for (int k = 0; k < 4; ++k) AddBytes(out, f.Shots.Record[k]);
        return out;
    };
    const auto before = snapshot();
    f.LoadRobot(1, kZerediRow);
    EXPECT_EQ(snapshot(), before);
    f.LoadRobot(0, kZerediRow);
    EXPECT_EQ(snapshot(), before);
    for (int p = 0; p < 2; ++p) {
        const auto problems = ValidateRobot(f, p);
        EXPECT_TRUE(problems.empty()) << "player " << p + 1 << ": " << (problems.empty() ? "" : problems.front());
    }
}

TEST(ZerediLoad, WhichIdsLoadIt) {
    for (int mode = 1; mode <= 4; ++mode)
        for (int p = 0; p < 2; ++p) {
            EXPECT_EQ(RobotRowFor(0, p, mode), &kZerediRow);
            EXPECT_EQ(RobotRowFor(1, p, mode), &kZerediRow);
            // Id 6 is Zeredi only as player 2's stand-in in Survival and Limit.
            EXPECT_EQ(RobotRowFor(6, p, mode) == &kZerediRow, p == 1 && mode >= 3) << p << " " << mode;
        }
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    EXPECT_NE(std::find(ladder, ladder + count, 1), ladder + count);

    auto form = std::make_unique<TForm1>();
    form->FillRoster();
    const RosterEntry& entry = form->Roster[size_t(RosterIndex(1))];
    const char* names[4] = {"MACHINE-GUN", "STICK", "MISILE", "NOTHING"};
    for (int w = 0; w < 4; ++w) EXPECT_STREQ(entry.WeaponName[w], names[w]);
}
