// Shots: firing volleys into the pool, moving them along their weapon's table, node steps
// and hit tests.
#include <algorithm>

#include "fight/fighter.h"
#include "robots/builders.h"
#include "shell/form.h"

namespace {

void EndShot(ShotRecord& r) {
    r.Active = r.HitArmed = r.Visible = 0;
    r.Ticks = 0;
}

// Fixed push of a knock-back, in pixels along the push heading (on each axis of a diagonal
// a little less, so the push has about the same length).
constexpr int kKnockbackAxis = 24;
constexpr int kKnockbackDiagonal = 17;

}  // namespace

void TForm1::ShotWeapon(int player) {
    PlayerRefs p = Player(player);
    FighterState& f = p.fighter;
    const int k = f.ActionState;
    if (k < 1 || k > 4 || !f.CurrentNode || !f.CurrentNode->FireFrame) return;
    auto& group = Shots.Record[p.firstGroup + k - 1];
    const WeaponData* w = group[0][0].Weapon;
    if (!w || w == &DammyWeapon || !group[0][0].Node) return;
    const int pay = group[0][0].Node->MoveKind;
    const int rows = std::clamp(w->Rows, 0, kMaxRows);
    const int cols = std::clamp(w->Columns, 0, kColumns);
    const int facing = f.Facing & 7;

    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            if (f.FireLatch) return;
            ShotRecord& r = group[row][col];
            if (r.Active || !r.Node) continue;
            ShotNode* first = LaunchLink(*r.Node, facing);
            if (!first) continue;  // a chain without a start for this heading launches nothing
            const bool canPay = pay == kMoveBeam    ? f.Energy - 10 * w->EnergyCost > 0
                                : pay == kMoveMelee ? f.Energy - w->EnergyCost > 0
                                                    : f.Ammo[k - 1] >= 1;
            if (!canPay) return;
            if (pay == kMoveMelee)
                f.Energy -= w->EnergyCost;
            else if (pay != kMoveBeam)
                f.Ammo[k - 1] -= 1;
            r.Active = r.HitArmed = r.Visible = 1;
            r.Heading = facing;
            r.PosX = f.PosX + w->LaunchPoint[facing][col].x;
            r.PosY = f.PosY + w->LaunchPoint[facing][col].y;
            r.Ticks = 0;
            r.Node = first;
            for (ShotTrail& t : r.Trail) t = {r.PosX, r.PosY};
            if (col == 0 && p.shotSounds[size_t(k - 1)]) p.shotSounds[size_t(k - 1)]->Play();
            if (col == cols - 1) {
                if (pay == kMoveBeam) f.Energy -= 10 * w->EnergyCost;
                f.FireLatch = 1;
            }
        }
}

void MoveShot(ShotRecord& r, const FighterState& owner, const FighterState& opponent) {
    const ShotNode* n = r.Node;
    switch (n->MoveKind) {
    case kMoveBranch: {
        r.Heading = DirectionTo(r.PosX, r.PosY, opponent.PosX, opponent.PosY);
        if (ShotNode* next = HomingLink(*n, r.Heading)) {
            r.Node = next;
            r.Ticks = 0;
            r.PosX += next->Dx;
            r.PosY += next->Dy;
        }
        break;
    }
    case kMoveAtTarget:
        r.PosX = opponent.PosX + n->Dx;
        r.PosY = opponent.PosY + n->Dy;
        break;
    case kMoveHoming:
        r.Heading = DirectionTo(r.PosX, r.PosY, opponent.PosX, opponent.PosY);
        r.PosX += kHeadingSignX[r.Heading] * n->Dx;
        r.PosY += kHeadingSignY[r.Heading] * n->Dy;
        break;
    case kMoveMelee:
        if (r.Weapon) {
            r.PosX = owner.PosX + r.Weapon->LaunchPoint[r.Heading & 7][0].x;
            r.PosY = owner.PosY + r.Weapon->LaunchPoint[r.Heading & 7][0].y;
        }
        break;
    default:  // straight and beam
        r.PosX += n->Dx;
        r.PosY += n->Dy;
        break;
    }
    // The puffs follow behind the shot: the newest at the tail, the older two shift along.
    r.Trail[2] = r.Trail[1];
    r.Trail[1] = r.Trail[0];
    r.Trail[0] = {r.PosX - kHeadingSignX[r.Heading & 7] * r.Node->ReachX,
                  r.PosY - kHeadingSignY[r.Heading & 7] * r.Node->ReachY};
}

void StepShotNode(ShotRecord& r, const FighterState& owner) {
    r.Ticks += 1;
    if (r.Node->EndsOnOwnerHit && owner.ActionState == 6) {
        EndShot(r);
        return;
    }
    if (r.Ticks >= r.Node->Duration) {
        r.Ticks = 0;
        if (r.Node->Next)
            r.Node = r.Node->Next;
        else
            EndShot(r);  // the record rests on its last node
    }
}

int TForm1::HitShot(ShotRecord& r, int victimPlayer) {
    FighterState& v = Player(victimPlayer).fighter;
    const ShotNode* n = r.Node;
    if (n->HitKind == kHitImpactNow) {
        if (n->ImpactNode) {
            r.Node = n->ImpactNode;
            r.Ticks = 0;
        }
        return 0;
    }
    if ((n->HitKind != kHitProjectile && n->HitKind != kHitMelee) || !r.HitArmed || !v.Spec) return 0;
    const int64_t dx = std::abs(int64_t(r.PosX) - v.PosX);
    const int64_t dy = std::abs(int64_t(r.PosY) - v.PosY);
    if (dx >= int64_t(n->HitHalfWidth) + v.Spec->HalfWidth || dy >= int64_t(n->HitHalfHeight) + v.Spec->HalfHeight)
        return 0;

    const bool guarding = v.ActionState == 5;
    v.Armour -= guarding ? n->Damage / 4 : n->Damage;
    if (!guarding || n->BreaksGuard) {
        const bool alreadyHit = v.CurrentNode && v.CurrentNode->Kind == 6;
        v.StunTime = alreadyHit ? std::max(v.StunTime, n->Stun) : n->Stun;
        EnterSlot(v, kSlotHit);
        v.ActionState = 6;
        // Only a node that lets the victim move lets the push move it: a broken guard that
        // leads back into the guard holds its ground.
        if (v.CurrentNode && v.CurrentNode->CanMove) {
            const int push = n->KnockbackRule == 1 ? r.Heading & 7 : DirectionTo(r.PosX, r.PosY, v.PosX, v.PosY);
            const int dist = push % 2 ? kKnockbackDiagonal : kKnockbackAxis;
            MoveFighter(victimPlayer, kHeadingSignX[push] * dist, kHeadingSignY[push] * dist);
        }
    }
    bool disarmed = false;
    if (r.Weapon) {
        if (r.Weapon->VanishOnHit) r.Visible = 0;
        if (r.Weapon->DisarmOnHit) {
            r.HitArmed = 0;
            disarmed = true;
        }
    }
    if (n->HitKind == kHitProjectile || disarmed) r.Ticks = 0;
    if (n->ImpactNode) {
        r.Node = n->ImpactNode;
        r.Ticks = 0;
    }
    if (r.Weapon) {
        if (victimPlayer == 1)
            HitSound2(r.Weapon->HitSound);
        else
            HitSound1(r.Weapon->HitSound);
    }
    return 1;
}
