// The speed template every robot moves by.
#include "robots/loading.h"

namespace {

// Step-1 speeds (horizontal, vertical) of the normal table by facing and stick group
// (right, left, up, up-right, up-left, down, down-left, down-right). The dash table adds 5
// to every non-zero horizontal and 4 to every non-zero vertical speed.
constexpr int8_t kBase[8][8][2] = {
    {{5, 0}, {5, 0}, {0, 5}, {4, 4}, {4, 4}, {0, 3}, {4, 3}, {4, 3}},
    {{5, 0}, {4, 0}, {0, 4}, {5, 5}, {4, 4}, {0, 3}, {3, 3}, {4, 4}},
    {{6, 0}, {4, 0}, {0, 4}, {5, 4}, {4, 4}, {0, 4}, {4, 4}, {5, 4}},
    {{5, 0}, {4, 0}, {0, 3}, {4, 4}, {3, 3}, {0, 4}, {4, 4}, {5, 5}},
    {{5, 0}, {5, 0}, {0, 3}, {4, 3}, {4, 3}, {0, 5}, {4, 4}, {4, 4}},
    {{4, 0}, {5, 0}, {0, 3}, {3, 3}, {4, 4}, {0, 4}, {5, 5}, {4, 4}},
    {{4, 0}, {6, 0}, {0, 4}, {4, 4}, {5, 4}, {0, 4}, {5, 4}, {4, 4}},
    {{4, 0}, {5, 0}, {0, 4}, {4, 4}, {5, 5}, {0, 3}, {4, 4}, {3, 3}},
};
constexpr int kDashExtra[2] = {5, 4};
constexpr int kGroupRight = 0, kGroupLeft = 1;

void FillTable(SpeedTable& table, bool dash, int m, int decayPeriod) {
    for (int f = 0; f < 8; ++f) {
        SpeedBlock& b = table.Block[f];
        for (int g = 0; g < 8; ++g)
            for (int c = 0; c < 2; ++c) {
                const int base = kBase[f][g][c];
                b.Speed[g][0][c] = 0;
                for (int s = 1; s <= 3; ++s)
                    b.Speed[g][s][c] = base == 0 ? 0 : base + (dash ? kDashExtra[c] : 0) + (s - 1) + m;
            }
        if (f < 4) b.DecayPeriod = decayPeriod;
    }
    // Four entries break the rule: the third step toward the facing's own side.
    if (dash) {
        table.Block[2].Speed[kGroupRight][3][0] = 12 + m;
        table.Block[6].Speed[kGroupLeft][3][0] = 13;
    } else {
        table.Block[2].Speed[kGroupRight][3][0] = 8;
        table.Block[6].Speed[kGroupLeft][3][0] = 8;
    }
}

}  // namespace

void FillSpec(RobotSpec& spec, const SpecHeader& h, int modifier) {
    spec.MaxArmour = h.maxArmour;
    spec.MaxEnergy = h.maxEnergy;
    spec.HalfHeight = h.halfHeight;
    spec.HalfWidth = h.halfWidth;
    spec.SpecWord8 = h.specWord8;
    spec.RecoveryRate = h.recoveryRate;
    FillTable(spec.NormalSpeed, false, modifier, h.decayPeriod);
    FillTable(spec.DashSpeed, true, modifier, h.decayPeriod);
}
