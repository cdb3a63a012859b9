// Revidu zava Davov's "LONG-RIFLE" and "4WAY-ROCKET".
#include "robots/revidu/revidu.h"
#include "robots/weapon_families.h"

void LizardV_Weapon1(WeaponData& w, ShotTable& t) {
    // ammo, rows, damage, half-size, node word 14, stun, launch point along an axis / a diagonal
    LongRifle(w, t, {80, 5, 28, 20, 1, 28, 30, 25});
}

void LizardV_Weapon3(WeaponData& w, ShotTable& t) {
    FanRockets(w, t, {48, "HITTED4", 40, 35, 32, {12, 12, 20, 28}, {14, 14, 24, 32}, kFourWayFan});
}
