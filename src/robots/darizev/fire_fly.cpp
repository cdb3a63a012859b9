// "FIRE-FLY" in both its forms: DariZev's slot 3 and ViveraziV's slot 2.
#include "robots/darizev/fire_fly.h"

#include <algorithm>

#include "robots/builders.h"
#include "robots/shot_rows.h"

namespace {

struct BurstStage {
    int32_t duration;
    int32_t halfSize;
    int32_t reach;
    int32_t sprite[4];
};

// What the two forms differ in.
struct FireFlyForm {
    int32_t startAmmo;
    int32_t damage;
    int32_t reach;  // nodes 0..8
    int32_t wait;   // pause and steer nodes
    int32_t legAxis, legDiagonal;
    BurstStage burst[2];  // nodes 9 and 10
    bool spareSprites;    // also puts sprites into nodes 11..15 and columns 8 and 9
};

constexpr FireFlyForm kDariZevForm = {
    72, 20, 16, 1, 18, 15, {{3, 10, 12, {0, 130, 24, 154}}, {3, 14, 16, {30, 127, 56, 153}}}, true};
constexpr FireFlyForm kViveraziVForm = {
    60, 24, 20, 2, 15, 12, {{2, 16, 20, {30, 127, 56, 153}}, {2, 16, 20, {30, 127, 56, 153}}}, false};

// The chain of one firefly.
// clang-format off
enum : int {
    kFling = 0, kHover, kDrift, kFirstPause, kFirstSteer, kFirstLeg,
    kSecondPause, kSecondSteer, kSecondLeg, kBurst, kLastBurst,
};
// clang-format on
constexpr int kFlies = 6;          // columns of a volley
constexpr int kFilledColumns = 8;  // columns 6 and 7 are written but never launched

// Per-frame steps by heading and column: flung out to the sides and behind, then drifting
// forward. The columns pair up (0, 1), (2, 3), (4, 5) as mirror images about the heading.
constexpr int8_t kFlingStep[kHeadings][kFlies][2] = {
    {{-18, 9}, {18, 9}, {-12, 12}, {12, 12}, {-6, 18}, {6, 18}},
    {{-20, 0}, {0, 20}, {-12, 4}, {-4, 12}, {-14, 12}, {-12, 14}},
    {{-9, -18}, {-9, 18}, {-12, -12}, {-12, 12}, {-18, -6}, {-18, 6}},
    {{0, -20}, {-20, 0}, {-4, -12}, {-12, -4}, {-12, -14}, {-14, -12}},
    {{-18, -9}, {18, -9}, {-12, -12}, {12, -12}, {-6, -18}, {6, -18}},
    {{0, -20}, {20, 0}, {4, -12}, {12, -4}, {12, -14}, {14, -12}},
    {{9, -18}, {9, 18}, {12, -12}, {12, 12}, {18, -6}, {18, 6}},
    {{20, 0}, {0, 20}, {12, 4}, {4, 12}, {14, 12}, {12, 14}},
};
constexpr int8_t kDriftStep[kHeadings][kFlies][2] = {
    {{-1, -12}, {1, -12}, {-8, -8}, {8, -8}, {-12, -6}, {12, -6}},
    {{6, -8}, {8, -6}, {-2, -12}, {12, 2}, {-8, -10}, {10, 8}},
    {{12, 1}, {12, -1}, {8, -8}, {8, 8}, {6, -12}, {6, 12}},
    {{8, 6}, {6, 8}, {12, -2}, {-2, 12}, {10, -8}, {-8, 10}},
    {{-1, 12}, {1, 12}, {-8, 8}, {8, 8}, {-12, 6}, {12, 6}},
    {{-8, 6}, {-6, 8}, {-12, -2}, {2, 12}, {-10, -8}, {8, 10}},
    {{-12, 1}, {-12, -1}, {-8, -8}, {-8, 8}, {-6, -12}, {-6, 12}},
    {{-6, -8}, {-8, -6}, {2, -12}, {-12, 2}, {8, -10}, {-10, 8}},
};

// The firefly's sprite by heading; 5..7 are drawn as mirror images of 3..1.
// clang-format off
constexpr int32_t kFlySprite[kHeadings][4] = {
    {80, 0, 94, 14},    {110, 0, 124, 14}, {95, 0, 109, 14}, {125, 0, 139, 14},
    {141, 0, 155, 14},  {125, 0, 139, 14}, {95, 0, 109, 14}, {110, 0, 124, 14},
};
// clang-format on

const int32_t* Sprite(const FireFlyForm& f, int heading, int node) {
    return node == kBurst || node == kLastBurst ? f.burst[node - kBurst].sprite : kFlySprite[heading];
}

LaunchOffset Step(const FireFlyForm& f, int h, int c, int node) {
    switch (node) {
    case kFling: return {kFlingStep[h][c][0], kFlingStep[h][c][1]};
    case kDrift: return {kDriftStep[h][c][0], kDriftStep[h][c][1]};
    case kFirstLeg:
    case kSecondLeg: return AxisStep(h, f.legAxis, f.legDiagonal);
    default: return {0, 0};
    }
}

int32_t Duration(const FireFlyForm& f, int node) {
    switch (node) {
    case kFling: return 6;
    case kHover: return 4;
    case kDrift:
    case kFirstLeg:
    case kSecondLeg: return 30;
    case kBurst:
    case kLastBurst: return f.burst[node - kBurst].duration;
    default: return f.wait;  // the pauses, and the steer nodes, which are left at once
    }
}

void BuildFireFly(WeaponData& w, ShotTable& t, const FireFlyForm& f) {
    SetHeader(w, {f.startAmmo, kNoEnergyCost, 0, 1, 1, kFlies, "BEAM", "HITTED2"});
    SetLaunchAlong(w, 0, 0, kFilledColumns);  // every firefly leaves from the launcher itself

    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < kFilledColumns; ++c)
            for (int k = kFling; k <= kLastBurst; ++k) {
                ShotNode* chain = t.Node[h][c];
                ShotNode& n = chain[k];
                n.Damage = f.damage;
                n.Stun = 20;
                n.HitKind = kHitProjectile;
                n.NodeWord14 = 0;
                n.BreaksGuard = 0;
                n.EndsOnOwnerHit = 0;
                n.ImpactNode = &chain[kBurst];
                for (int d = 0; d < kHeadings; ++d) LaunchLink(n, d) = &t.Node[d][c][0];
                std::copy_n(Sprite(f, h, k), 4, n.SrcRect);
                // Columns 6 and 7 are never launched: their fling and drift take only the above.
                if (c >= kFlies && (k == kFling || k == kDrift)) continue;

                const bool burst = k >= kBurst;
                const LaunchOffset step = Step(f, h, c, k);
                n.Dx = step.x;
                n.Dy = step.y;
                n.Duration = Duration(f, k);
                n.HitHalfHeight = n.HitHalfWidth = burst ? f.burst[k - kBurst].halfSize : 12;
                n.ReachY = n.ReachX = burst ? f.burst[k - kBurst].reach : f.reach;
                n.MoveKind = k == kFirstSteer || k == kSecondSteer ? kMoveBranch : kMoveStraight;
                n.KnockbackRule = burst ? 2 : 1;
                n.Next = k < kLastBurst ? &chain[k + 1] : nullptr;
                if (n.MoveKind == kMoveBranch) SetHomingLinks(n, [&](int j) { return &t.Node[j][c][k + 1]; });
            }

    if (!f.spareSprites) return;
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < kColumns; ++c)
            for (int k = c < kFilledColumns ? kLastBurst + 1 : 0; k < kChainNodes; ++k)
                std::copy_n(Sprite(f, h, k), 4, t.Node[h][c][k].SrcRect);
}

}  // namespace

void BuzzB_Weapon3(WeaponData& weapon, ShotTable& table) { BuildFireFly(weapon, table, kDariZevForm); }
void Scav_Weapon2(WeaponData& weapon, ShotTable& table) { BuildFireFly(weapon, table, kViveraziVForm); }
