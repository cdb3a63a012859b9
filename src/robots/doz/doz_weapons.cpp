// DedaZivirEvavid's "GADRING-GUN", "HEAVY-RIPPER" and "4WAY-ROCKET".
#include "robots/doz/doz.h"
#include "robots/weapon_families.h"

void DOZ_Weapon1(WeaponData& w, ShotTable& t) {
    SetHeader(w, {200, kNoEnergyCost, 1, 1, 4, 3, "ATTACK4", "HITTED4"});
    // Three barrels in a row along the heading, front barrel first.
    // clang-format off
    static constexpr LaunchOffset kBarrels[kHeadings][3] = {
        {{10, -70}, {0, -45}, {-10, -20}},  {{80, -70}, {60, -35}, {40, -20}},
        {{70, -10}, {45, 0}, {20, 10}},     {{80, 50}, {60, 35}, {40, 20}},
        {{10, 70}, {0, 45}, {-10, 40}},     {{-80, 50}, {-60, 35}, {-40, 20}},
        {{-70, -10}, {-45, 0}, {-20, 10}},  {{-80, -50}, {-60, -35}, {-40, -20}},
    };
    // clang-format on
    SetLaunchPoints(w, kBarrels);
    const ShotRow bullet[] = {
        {kMoveStraight, Along(15, 10), 20, kHitProjectile, 10, 10, 0, 0, kNoSprite, 8, 1},
    };
    WriteChains(t, bullet, {12, 0, 0}, 8);
    static constexpr SpriteRect kBullet[4] = {{0, 0, 10, 10}, {22, 0, 32, 10}, {11, 0, 21, 10}, {33, 0, 43, 10}};
    SetSpritesByHeading(t, 0, kBullet, 8);
}

void DOZ_Weapon2(WeaponData& w, ShotTable& t) {
    // duration, hit kind, stun, reach
    static constexpr MeleeStage kStages[] = {
        {2, kHitMelee, 140, 50}, {2, kHitMelee, 120, 60}, {2, kHitMelee, 120, 70},
        {2, kHitMelee, 120, 80}, {2, kHitMelee, 120, 60}, {2, kHitMelee, 120, 50},
    };
    CloseCombat(w, t, {45, 160, 40, kStages});
}

void DOZ_Weapon4(WeaponData& w, ShotTable& t) {
    FanRockets(w, t, {60, "HITTED4", 40, 35, 40, {12, 12, 20, 28}, {14, 14, 24, 32}, kFourWayFan, 0});
}
