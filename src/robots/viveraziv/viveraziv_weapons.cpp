// ViveraziV's "LONG-RIFLE" and "NAPARM" ("FIRE-FLY" is DariZev's design in its own form).
#include "robots/viveraziv/viveraziv.h"
#include "robots/weapon_families.h"

void Scav_Weapon1(WeaponData& w, ShotTable& t) { LongRifle(w, t, {100, 6, 24, 12, 1}); }

void Scav_Weapon3(WeaponData& w, ShotTable& t) {
    // One canister, hung 600 px over the opponent, drawn half as tall as wide.
    static constexpr DropAim kAim[] = {{0, -600, 8, 6, 12}};
    // duration, half-size, reach
    static constexpr DropBlast kBlast[] = {
        {2, 30, 40}, {4, 45, 60}, {4, 60, 80}, {4, 80, 100}, {4, 100, 120}, {4, 120, 140},
    };
    DropFromSky(w, t, {20, kNoEnergyCost, 0, 1, 1, 1, "ATTACK5", "HITTED2"}, {100, 140, {43, 0, 55, 10}, kAim, kBlast});
}
