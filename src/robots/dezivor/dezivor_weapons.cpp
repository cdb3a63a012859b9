// DeziVor's weapons: "SHOT-GUN", "CHAIN-SAW" and "FLORTING-MINE".
#include "robots/dezivor/dezivor.h"
#include "robots/weapon_families.h"

void FDog_Weapon1(WeaponData& w, ShotTable& t) {
    constexpr int kPellets = kShotGunPellets;
    SetHeader(w, {220, kNoEnergyCost, 1, 1, 3, kPellets, "ATTACK1", "HITTED4"});
    SetLaunchAlong(w, 30, 25, kPellets);
    // Side by side for 8 frames, fanned out for 27, a 2-frame pause: 37 frames.
    static constexpr SpriteRect kPellet{43, 0, 55, 10};
    const ShotRow pellet[] = {
        {kMoveStraight, Along(15, 12), 8, kHitProjectile, 8, 8, 0, 0, kPellet, 20, 1, 1},
        {kMoveStraight, kStill, 27, kHitProjectile, 8, 8, 0, 0, kPellet, 20, 1, 2},  // the fan, below
        {kMoveStraight, kStill, 2, kHitProjectile, 8, 8, 0, 0, kPellet, 20, 1},
    };
    WriteChains(t, pellet, {20, 0, 0, 1}, kPellets);
    ShotGunSpread(t);
}

void FDog_Weapon2(WeaponData& w, ShotTable& t) {
    SetHeader(w, {256, 0, 0, 0, 1, 1, "ATTACK3", "HITTED4"});
    SetLaunchAlong(w, 30, 30);
    // duration, hit kind, stun, reach: 4 frames of wind-up, 12 cutting, 4 to stop. It stays
    // armed, so every cutting frame in contact hits.
    static constexpr MeleeStage kStages[] = {
        {4, kHitNone, 4, 30}, {4, kHitMelee, 0, 30}, {4, kHitMelee, 0, 30}, {4, kHitMelee, 0, 30}, {4, kHitNone, 0, 30},
    };
    MeleeChain saw{kStages, 5, 12, {}, kColumns};
    for (auto& half : saw.halfSize) half[0] = half[1] = 40;
    WriteMeleeChain(t, saw);
}

void FDog_Weapon3(WeaponData& w, ShotTable& t) {
    SetHeader(w, {48, kNoEnergyCost, 0, 1, 4, 1, "BEAM", "HITTED1"});
    SetLaunchAlong(w, 0, 0, kColumns);
    // Thrown backwards for 5 frames, floats toward the opponent for up to 160, then blasts
    // in three growing stages; a hit moves it on to the next stage early.
    static constexpr SpriteRect kMine{82, 104, 102, 124};
    const ShotRow mine[] = {
        {kMoveStraight, Along(-30, -24), 5, kHitProjectile, 10, 10, 20, 20, kMine, 100, 2, 1, 1},
        {kMoveHoming, Fixed(5, 5), 160, kHitProjectile, 12, 12, 20, 20, kMine, 100, 2, 2, 2},
        {kMoveStraight, kStill, 4, kHitProjectile, 20, 20, 24, 24, {0, 130, 24, 154}, 100, 2, 3},
        {kMoveStraight, kStill, 4, kHitProjectile, 32, 32, 36, 36, {30, 127, 56, 153}, 100, 2, 4},
        {kMoveStraight, kStill, 4, kHitNone, 40, 40, 48, 48, {60, 127, 88, 155}, 100, 2},
    };
    WriteChains(t, mine, {36, 1, 0}, kColumns);
}
