// Checks shared by the robot data tests: a shot flown at a victim under the engine's hit
// rule, the frames a sequence roots its robot, and a robot's load into either player.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "robot_walk.h"
#include "robots/validator.h"

namespace robot_checks {

struct Victim {
    robot_walk::Point at;
    int half = 25;  // body half-size
    bool guarding = false;
};

struct Strikes {
    std::vector<int> frames;  // the frame of each hit, the launch frame counted as 1
    int armour = 0;           // armour taken
    int life = 0;             // frames the shot lived
};

// Flies the shot to its end against the victim. Each frame the victim may move
// (victimAt(frame, at)), the shot moves and counts its frame, then, while armed and in a
// box-testing node, its box is tested against the victim's body.
template <typename Move>
Strikes FlyAt(robot_walk::Flight& shot, robot_walk::Point owner, Victim victim, Move victimAt) {
    Strikes s;
    while (shot.active && s.life < 10000) {
        victim.at = victimAt(s.life, victim.at);
        shot.Frame(owner, victim.at);
        ++s.life;
        const ShotNode& n = *shot.node;
        if (!shot.active || !shot.armed || (n.HitKind != kHitProjectile && n.HitKind != kHitMelee)) continue;
        if (std::abs(shot.at.x - victim.at.x) < n.HitHalfWidth + victim.half &&
            std::abs(shot.at.y - victim.at.y) < n.HitHalfHeight + victim.half) {
            s.frames.push_back(s.life);
            s.armour += victim.guarding ? n.Damage / 4 : n.Damage;
            shot.Hit();
        }
    }
    return s;
}

inline Strikes FlyAt(robot_walk::Flight& shot, robot_walk::Point owner, Victim victim) {
    return FlyAt(shot, owner, victim, [](int, robot_walk::Point at) { return at; });
}

// A node's place in its chain.
inline int NodeIndex(const ShotTable& t, const ShotNode* n) { return int((n - &t.Node[0][0][0]) % kChainNodes); }

// Frames a sequence, followed by its default links, keeps the robot from moving.
inline int RootedFrames(const ActionGraph& g, int sequence) {
    int frames = 0;
    for (const ActionNode* n = &g.Node[sequence][0]; n && n->Kind != 0; n = n->Next[kSlotDefault])
        frames += n->CanMove ? 0 : n->Duration;
    return frames;
}

// The specification header as loaded into player 1: maximum armour and energy, half
// height and width, SpecWord8, recovery rate, and the decay period the fighter moves by.
inline std::vector<int32_t> Header(const TForm1& f) {
    const RobotSpec& s = f.P1Spec;
    return {s.MaxArmour, s.MaxEnergy, s.HalfHeight, s.HalfWidth, s.SpecWord8, s.RecoveryRate,
            f.P1Fighter.NormalSpeed.Block[0].DecayPeriod};
}

// What the loader sets up for each weapon slot.
struct SlotFacts {
    int32_t startAmmo;
    const char* fireSound;  // nullptr: the placeholder weapon
    bool perColumn;         // shot c of a volley starts in column c
};

// Loads the robot into player 1, again, then into player 2 over another robot: every load
// passes the validator, a reload gives identical records, and player 2's load leaves
// player 1's alone. Then player 2's slots: weapon, start ammunition, launch sound and the
// start node of every shot record.
inline void ExpectLoadsAlone(const RobotRow& row, const RobotRow& other, const SlotFacts (&slots)[4]) {
    auto form = robot_walk::Loaded(row, 0);
    TForm1& f = *form;
    EXPECT_TRUE(ValidateRobot(f, 0).empty());
    const auto first = robot_walk::Snapshot(f, 0);
    f.LoadRobot(0, row);
    EXPECT_EQ(robot_walk::Snapshot(f, 0), first);
    f.LoadRobot(1, other);
    f.LoadRobot(1, row);
    const std::vector<std::string> problems = ValidateRobot(f, 1);
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front());
    EXPECT_EQ(robot_walk::Snapshot(f, 0), first);
    EXPECT_EQ(f.P2Fighter.CurrentNode, &f.P2Graph.Node[0][0]);
    EXPECT_EQ(f.P2Fighter.Spec, &f.P2Spec);

    for (int k = 0; k < 4; ++k) {
        const SlotFacts& slot = slots[k];
        const bool own = slot.fireSound != nullptr;
        const WeaponData* weapon = own ? &f.P2Weapons[size_t(k)] : &f.DammyWeapon;
        const ShotTable& table = own ? f.P2ShotTables[size_t(k)] : f.DammyShotTable;
        EXPECT_EQ(weapon->StartAmmo, slot.startAmmo) << k;
        if (own) {
            EXPECT_EQ(weapon->FireSound, slot.fireSound) << k;
        }
        for (int r = 0; r < kMaxRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const ShotRecord& rec = f.Shots.Record[4 + k][r][c];
                EXPECT_EQ(rec.Weapon, weapon) << k;
                EXPECT_EQ(rec.Node, &table.Node[0][slot.perColumn ? c : 0][0]) << k << " " << r << " " << c;
            }
    }
}

}  // namespace robot_checks
