// The live fight records: one fighter per player and the pool of shots.
#pragma once

#include <cstdint>

#include "robots/records.h"

struct FighterState {
    int32_t ActionState = 0;  // 0 idle, 1..4 weapon sequence, 5 guard, 6 hit reaction
    // Controls of the frame.
    int32_t Horizontal = 0;
    int32_t Vertical = 0;
    int32_t ActionCode = 0;
    int32_t StickCode = 0;     // 2 right / 1 left, plus 10 up / 20 down
    int32_t FireHeld[4] = {};  // 0 up, 1 newly pressed, 2 press taken
    int32_t GuardRequest = 0;
    int32_t DashRequest = 0;
    int32_t Dashing = 0;

    ActionNode* CurrentNode = nullptr;
    int32_t Facing = 0;
    int32_t SpeedLeft = 0, SpeedRight = 0, SpeedUp = 0, SpeedDown = 0;
    int32_t HoldLeft = 0, HoldRight = 0, HoldUp = 0, HoldDown = 0;
    int32_t DecayCount = 0;
    int32_t NodeTicks = 0;
    int32_t StunTime = 0;
    int32_t FireLatch = 0;
    int32_t Ammo[4] = {};
    int32_t Armour = 0;
    int32_t Energy = 0;
    int32_t PosX = 0;
    int32_t PosY = 0;
    const RobotSpec* Spec = nullptr;
    SpeedTable NormalSpeed;
    SpeedTable DashSpeed;
};

struct ShotTrail {
    int32_t X = 0;
    int32_t Y = 0;
};

struct ShotRecord {
    int32_t PosX = 0;
    int32_t PosY = 0;
    int32_t Heading = 0;
    uint8_t Active = 0;
    uint8_t HitArmed = 0;
    uint8_t Visible = 0;
    int32_t Ticks = 0;
    const WeaponData* Weapon = nullptr;
    ShotNode* Node = nullptr;
    ShotTrail Trail[3];  // newest first
};

constexpr int kShotGroups = 8;  // 0..3 player 1's slots 1..4, 4..7 player 2's
constexpr int kPoolRows = 10;   // only rows 0..7 are used
constexpr int kPoolColumns = 10;

struct ShotPool {
    ShotRecord Record[kShotGroups][kPoolRows][kPoolColumns];
};

// Clear a fighter or a shot record, references included.
void ResetFighter(FighterState& fighter);
void ResetShot(ShotRecord& record);
