// ZovaZazovo's "300mm-CANON" and "3LINKED-MISILE".
#include "robots/weapon_families.h"
#include "robots/zeredi/missile.h"
#include "robots/zovazazovo/zovazazovo.h"

void Pyro_Weapon3(WeaponData& w, ShotTable& t) {
    SetHeader(w, {12, kNoEnergyCost, 1, 1, 1, 1, "HITTED1", "HITTED2", 18});
    SetLaunchAlong(w, 70, 50);
    // duration, damage, stun, half-size, reach, node word 14, 40-pixel cells at y 62
    StraightShot(t, {50, 240, 100, 20, 36, 1, 62, 40});
}

void Pyro_Weapon4(WeaponData& w, ShotTable& t) {
    // ammo, rows, damage, the wider missile picture
    BuildHomingMissile(w, t, MissileValues{63, 8, 44, {43, 0, 55, 10}});
}
