// Small records shared across the shell and the screens.
#pragma once

#include <cstdint>

// One best-table entry: a value and the robot that made it.
struct ScoreEntry {
    int32_t Value = 0;
    int32_t RobotTypeId = 0;
};

// One line of the credits roll.
struct CreditLine {
    int32_t Ticks = 0;
    int32_t FadeStep = 0;  // 0..8
    uint8_t Active = 0;
    int32_t StartFrame = 0;
    char Text[40] = {};
    int32_t FadeLength[9] = {};
    int32_t X = 0;
    int32_t Y = 0;
};

struct CreditAnchor {
    int32_t X = 0;
    int32_t Y = 0;
};

struct OptionRecord {
    int32_t FrameWait = 0;
    int32_t CpuLevel = 1;
    int32_t GameMode = 1;
    int32_t LimitDifficulty = 0;
};

// A player's controls for one frame: -1/0/1 on each axis and the action code
// (0 none, 1..4 weapon, 5 guard, 6 dash, 7..10 dash and weapon 1..4).
struct PlayerControls {
    int32_t Horizontal = 0;  // -1 left, 1 right
    int32_t Vertical = 0;    // -1 up, 1 down
    int32_t Action = 0;
    bool Weapon[4] = {};
    bool Guard = false;
    bool Dash = false;
};

// Game states.
enum : int32_t {
    kStateTitle = 0,
    kStateMainMenu = 1,
    kStateLevelMenu = 3,
    kStateStartMessage = 4,
    kStateLimitMenu = 5,
    kStateSelect = 6,
    kStatePreFight = 7,
    kStateFightIntro = 8,
    kStateFight = 9,
    kStateFightOver = 10,
    kStateSurvivalResult = 11,
    kStateLimitResult = 12,
    kStateTimeOver = 13,
    kStateEnding = 14,
    kStateError = 15,
};

// The Limit budget in frames by difficulty 0..2; 0 for anything else.
constexpr int32_t LimitBudget(int32_t difficulty) {
    return difficulty == 0 ? 10000 : difficulty == 1 ? 7500 : difficulty == 2 ? 5000 : 0;
}
