// One builder for the close-combat arms; each arm is a row of the values that differ and
// one row per stage of its chain.
#include "robots/zeredi/arms.h"

#include <span>

#include "robots/builders.h"

namespace {

constexpr int kStages = 6;

struct ArmValues {
    int reach;  // launch point distance along the heading
    const char* fireSound;
    int32_t damage;
    int32_t halfSize;
    MeleeStage stages[kStages];  // duration, hit kind, stun, reach
};

// clang-format off
constexpr ArmValues kStick = {35, "ATTACK2", 40, 30,
                              {{2, kHitMelee, 100, 40},
                               {2, kHitMelee, 100, 50},
                               {2, kHitMelee, 100, 60},
                               {2, kHitMelee, 100, 50},
                               {2, kHitMelee, 100, 40},
                               {4, kHitNone, 100, 30}}};
// clang-format on

// clang-format off
constexpr ArmValues kLazerSpike = {50, "BEAM", 52, 30,
                                   {{4, kHitMelee, 20, 50},
                                    {4, kHitMelee, 20, 55},
                                    {4, kHitMelee, 20, 60},
                                    {4, kHitMelee, 20, 55},
                                    {4, kHitMelee, 20, 50},
                                    {4, kHitNone, 20, 40}}};
// clang-format on

// clang-format off
constexpr ArmValues kBanishing = {40, "ATTACK2", 52, 40,
                                  {{6, kHitMelee, 100, 60},
                                   {4, kHitMelee, 100, 70},
                                   {2, kHitMelee, 100, 80},
                                   {2, kHitMelee, 120, 70},
                                   {2, kHitMelee, 100, 60},
                                   {4, kHitMelee, 100, 50}}};
// clang-format on

void BuildArm(WeaponData& w, ShotTable& t, const ArmValues& v) {
    for (int h = 0; h < kHeadings; ++h) w.LaunchPoint[h][0] = AxisStep(h, v.reach, v.reach);
    w.StartAmmo = 256;
    w.EnergyCost = 0;
    w.VanishOnHit = 0;
    w.DisarmOnHit = 1;
    w.Rows = 1;
    w.Columns = 1;
    w.HitSound = "HITTED2";
    w.FireSound = v.fireSound;
    w.TrailOn = 0;
    MeleeChain chain{v.stages, kStages, v.damage, {}, 8};
    for (auto& size : chain.halfSize) size[0] = size[1] = v.halfSize;
    WriteMeleeChain(t, chain);
    // The two nodes after the chain carry the hit box size as well.
    for (auto& heading : t.Node)
        for (auto& column : std::span(heading).first(size_t(chain.columns)))
            for (ShotNode& n : std::span(column).subspan(kStages, 2)) n.HitHalfHeight = n.HitHalfWidth = v.halfSize;
}

}  // namespace

void LizardT_Weapon2(WeaponData& weapon, ShotTable& table) { BuildArm(weapon, table, kStick); }

void Pyro_Weapon2(WeaponData& weapon, ShotTable& table) { BuildArm(weapon, table, kLazerSpike); }

void Bahao_Weapon2(WeaponData& weapon, ShotTable& table) { BuildArm(weapon, table, kBanishing); }
