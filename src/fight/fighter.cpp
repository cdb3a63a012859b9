#include "fight/fighter.h"

#include <cmath>
#include <cstdlib>

int DirectionTo(int fromX, int fromY, int toX, int toY) {
    const double dx = double(toX) - fromX;
    const double dy = double(toY) - fromY;
    const double len = std::hypot(dx, dy);
    if (len == 0) return 0;
    const double nx = dx / len, ny = dy / len;
    const double axis = std::sqrt(3.0) / 2.0;  // within 30 degrees of an axis
    if (ny <= -axis) return 0;
    if (ny >= axis) return 4;
    if (nx >= axis) return 2;
    if (nx <= -axis) return 6;
    if (nx > 0) return ny < 0 ? 1 : 3;
    return ny < 0 ? 7 : 5;
}

int StickGroup(int stickCode) {
    switch (stickCode) {
    case 2: return 0;
    case 1: return 1;
    case 10: return 2;
    case 12: return 3;
    case 11: return 4;
    case 20: return 5;
    case 21: return 6;
    case 22: return 7;
    default: return -1;
    }
}

void ApplyControls(FighterState& f) {
    auto hold = [](int32_t& held, int32_t& opposite) {
        if (held < 3) ++held;
        opposite = 0;
    };
    if (f.Horizontal > 0)
        hold(f.HoldRight, f.HoldLeft);
    else if (f.Horizontal < 0)
        hold(f.HoldLeft, f.HoldRight);
    else
        f.HoldLeft = f.HoldRight = 0;
    if (f.Vertical < 0)
        hold(f.HoldUp, f.HoldDown);
    else if (f.Vertical > 0)
        hold(f.HoldDown, f.HoldUp);
    else
        f.HoldUp = f.HoldDown = 0;
    f.StickCode = (f.Horizontal > 0 ? 2 : f.Horizontal < 0 ? 1 : 0) + (f.Vertical < 0 ? 10 : f.Vertical > 0 ? 20 : 0);
}

namespace {

void UpdateSpeeds(FighterState& f, const SpeedTable& table) {
    const SpeedBlock& block = table.Block[f.Facing & 7];
    const int g = StickGroup(f.StickCode);
    const int h = f.StickCode % 10;  // 2 right, 1 left
    const int v = f.StickCode / 10;  // 1 up, 2 down
    bool drivenRight = false, drivenLeft = false, drivenUp = false, drivenDown = false;
    if (g >= 0) {
        if (h == 2) {
            f.SpeedRight = block.Speed[g][f.HoldRight & 3][0];
            drivenRight = true;
        } else if (h == 1) {
            f.SpeedLeft = block.Speed[g][f.HoldLeft & 3][0];
            drivenLeft = true;
        }
        if (v == 1) {
            f.SpeedUp = block.Speed[g][f.HoldUp & 3][1];
            drivenUp = true;
        } else if (v == 2) {
            f.SpeedDown = block.Speed[g][f.HoldDown & 3][1];
            drivenDown = true;
        }
    }
    // Undriven speeds fall by one every DecayPeriod frames (block 0 of the walk table).
    const int period = f.NormalSpeed.Block[0].DecayPeriod;
    if (++f.DecayCount >= (period > 0 ? period : 1)) {
        f.DecayCount = 0;
        auto decay = [](int32_t& s, bool driven) {
            if (!driven && s > 0) --s;
        };
        decay(f.SpeedRight, drivenRight);
        decay(f.SpeedLeft, drivenLeft);
        decay(f.SpeedUp, drivenUp);
        decay(f.SpeedDown, drivenDown);
    }
}

}  // namespace

void UpdateWalkSpeeds(FighterState& f) { UpdateSpeeds(f, f.NormalSpeed); }
void UpdateDashSpeeds(FighterState& f) { UpdateSpeeds(f, f.DashSpeed); }

void EnterSlot(FighterState& f, int slot) {
    if (f.CurrentNode && f.CurrentNode->Next[slot]) f.CurrentNode = f.CurrentNode->Next[slot];
    f.NodeTicks = 0;
}

int TakeActionRequest(FighterState& f) {
    const ActionNode* n = f.CurrentNode;
    if (!n || !n->AcceptsRequest) return 0;
    if (f.ActionState == 0) {
        if (f.GuardRequest) {
            EnterSlot(f, kSlotGuard);
            f.ActionState = 5;
            return 5;
        }
        for (int k = 1; k <= 4; ++k)
            if (f.FireHeld[k - 1] == 1) {
                EnterSlot(f, k);
                f.ActionState = k;
                f.FireHeld[k - 1] = 2;
                return k;
            }
    } else if (f.ActionState >= 1 && f.ActionState <= 4) {
        const int k = f.ActionState;
        if (f.FireHeld[k - 1] == 1) {
            EnterSlot(f, k);
            f.FireHeld[k - 1] = 2;
            f.FireLatch = 0;
            return k;
        }
    }
    return 0;
}

void StepActionGraph(FighterState& f) {
    const ActionNode* n = f.CurrentNode;
    if (!n) return;
    if (n->Kind == 6) {
        f.NodeTicks += f.Spec ? f.Spec->RecoveryRate : 1;
        if (f.NodeTicks >= f.StunTime) {
            EnterSlot(f, kSlotDefault);
            f.FireLatch = 0;
            f.ActionState = f.CurrentNode->Kind == 0 ? 0 : 6;
        }
        return;
    }
    if (++f.NodeTicks < n->Duration) return;
    if (f.GuardRequest) {
        EnterSlot(f, kSlotGuard);
        f.ActionState = 5;
        return;
    }
    for (int k = 1; k <= 4; ++k)
        if (f.FireHeld[k - 1] >= 1) {
            // A held button moves on through its slot; the fighter then attacks with the
            // weapon of the sequence it landed in (a claw swing held through with button 1
            // still swings the claw). The latch stays as it was: a held button is no new
            // press, so a sequence entered this way fires nothing until the weapon is armed
            // again by a press or a return to idle.
            EnterSlot(f, k);
            const int kind = f.CurrentNode->Kind;
            f.ActionState = kind >= 1 && kind <= 4 ? kind : k;
            f.FireHeld[k - 1] = 2;  // a held button is one press, however many nodes it spans
            return;
        }
    EnterSlot(f, kSlotDefault);
    f.FireLatch = 0;
    if (f.CurrentNode->Kind == 0) f.ActionState = 0;
}
