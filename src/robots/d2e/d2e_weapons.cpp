// D-2-E's weapons: "LONG-RIFLE", "CRAW" and "LAZER".
#include "robots/d2e/d2e.h"
#include "robots/weapon_families.h"

void Ageha_Weapon1(WeaponData& w, ShotTable& t) { LongRifle(w, t, {80, 5, 28, 16, 0}); }

void Ageha_Weapon2(WeaponData& w, ShotTable& t) {
    // duration, hit kind, stun, reach
    static constexpr MeleeStage kStages[] = {
        {4, kHitMelee, 110, 35}, {4, kHitMelee, 110, 40}, {4, kHitMelee, 110, 45},
        {4, kHitMelee, 110, 40}, {4, kHitNone, 110, 35},
    };
    CloseCombat(w, t, {30, 32, 35, kStages});
}

void Ageha_Weapon3(WeaponData& w, ShotTable& t) { Lazer(w, t, 30, 40, 8); }
