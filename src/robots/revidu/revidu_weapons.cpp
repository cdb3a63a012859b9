// Revidu zava Davov's "LONG-RIFLE" and "4WAY-ROCKET".
#include "robots/revidu/revidu.h"
#include "robots/weapon_families.h"

void LizardV_Weapon1(WeaponData& w, ShotTable& t) {
    // ammo, rows, damage, half-size, node word 14, stun, launch point along an axis / a diagonal
    LongRifle(w, t, {80, 5, 28, 20, 1, 28, 30, 25});
}

void LizardV_Weapon3(WeaponData& w, ShotTable& t) {
    // The fan by heading and column; at heading 3 the middle two cross.
    static constexpr LaunchOffset kFan[kHeadings * 4] = {
        {-10, -10}, {-3, -12}, {3, -12}, {10, -10},  //
        {12, 0},    {6, -4},   {4, -6},  {0, -12},   //
        {10, -10},  {12, -3},  {12, 3},  {10, 10},   //
        {12, 0},    {4, 6},    {6, 4},   {0, 12},    //
        {-10, 10},  {-3, 12},  {3, 12},  {10, 10},   //
        {-12, 0},   {-6, 4},   {-4, 6},  {0, 12},    //
        {-10, -10}, {-12, -3}, {-12, 3}, {-10, 10},  //
        {-12, 0},   {-6, -4},  {-4, -6}, {0, -12},
    };
    FanRockets(w, t, {48, "HITTED4", 40, 35, 32, {12, 12, 20, 28}, {14, 14, 24, 32}, kFan});
}
