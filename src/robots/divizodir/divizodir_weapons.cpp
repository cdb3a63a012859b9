// DivizOdir's "GRANEED", "CRAW", "LAZER" and "TENPEST".
#include "robots/divizodir/divizodir.h"
#include "robots/weapon_families.h"

void HBack_Weapon1(WeaponData& w, ShotTable& t) {
    SetHeader(w, {40, kNoEnergyCost, 0, 1, 3, 1, "ATTACK5", "HITTED4", 14});
    SetLaunchAlong(w, 50, 45);
    static constexpr SpriteRect kGrenade{43, 0, 53, 10};
    // move, step, duration, hit, half-size, reach, sprite, stun, knock-back, next, impact
    static constexpr ShotRow kRows[] = {
        {kMoveStraight, Along(12, 10), 40, kHitProjectile, 12, 12, 14, 14, kGrenade, 120, 1, 1, 1},  // flight
        {kMoveStraight, kStill, 4, kHitProjectile, 18, 18, 20, 20, kGrenade, 120, 2, 2},             // burst
        {kMoveStraight, kStill, 4, kHitProjectile, 26, 26, 30, 30, kGrenade, 120, 2, 3},
        {kMoveStraight, kStill, 4, kHitProjectile, 35, 35, 40, 40, kGrenade, 120, 2, 4},
        {kMoveStraight, kStill, 4, kHitNone, 28, 28, 30, 30, kGrenade, 120, 2},  // fade
    };
    WriteChains(t, kRows, {36, 1, 0}, 8);
}

void HBack_Weapon2(WeaponData& w, ShotTable& t) {
    // duration, hit kind, stun, reach
    static constexpr MeleeStage kStages[] = {
        {4, kHitMelee, 120, 40}, {4, kHitMelee, 120, 50}, {4, kHitMelee, 120, 60},
        {4, kHitMelee, 120, 70}, {8, kHitNone, 120, 50},  {8, kHitNone, 120, 40},
    };
    CloseCombat(w, t, {40, 48, 35, kStages});
}

void HBack_Weapon3(WeaponData& w, ShotTable& t) { Lazer(w, t, 16, 52, 10); }

void HBack_Weapon4(WeaponData& w, ShotTable& t) {
    // Each column hangs at its own offset from the opponent for its own time, so the six
    // start falling one after another.
    static constexpr DropAim kAim[] = {
        {20, -540, 8, 12, 12},    {140, -600, 12, 12, 12}, {-140, -620, 16, 12, 12},
        {-100, -560, 14, 12, 12}, {-40, -640, 10, 12, 12}, {60, -650, 16, 12, 12},
    };
    static constexpr DropBlast kBlast[] = {{4, 20, 16}, {6, 30, 40}, {6, 45, 50}};
    DropFromSky(w, t, {60, kNoEnergyCost, 0, 1, 2, 6, "ATTACK5", "HITTED4"}, {40, 80, {43, 0, 53, 10}, kAim, kBlast});
}
