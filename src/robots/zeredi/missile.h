// Homing missiles. The homing is a walk through a pre-built table: the branch nodes 2 and 7
// re-aim and follow the link of the heading toward the opponent into a turn column, whose
// turn nodes the routines of robots/missiles/missile_turns.h fill in afterwards.
//
// Chain (h, k): 0 slow start, 1 flight, 2 first branch, 3-5 first turn (h to k), 6 flight,
// 7 second branch, 8-10 second turn, 11 last flight, 12-13 explosion.
#pragma once

#include <cstdint>

#include "robots/records.h"

// The values in which one homing-missile weapon differs from another.
struct MissileValues {
    int32_t startAmmo;
    int32_t rows;
    int32_t damage;
    int32_t flightSprite[4];  // left, top, right, bottom in "WEAPON", nodes 0..11
};

void BuildHomingMissile(WeaponData& weapon, ShotTable& table, const MissileValues& values);

void LizardT_Weapon3(WeaponData& weapon, ShotTable& table);  // "MISILE"
