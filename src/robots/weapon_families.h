// Weapons that several robots carry in different strengths: one builder per family,
// given the values that differ.
#pragma once

#include <span>

#include "robots/builders.h"
#include "robots/shot_rows.h"

// A straight shot: node 0 of the chains of columns 0..7 flies 20 px a frame (15 per axis on a
// diagonal) and ends when its time is up. Its picture is one of a row of four square cells
// in "WEAPON", one pixel apart from x 0: headings 0/4, 2/6, 1/7 and 3/5 from the left.
struct StraightValues {
    int32_t duration;
    int32_t damage;
    int32_t stun;
    int32_t halfSize;
    int32_t reach;
    int32_t nodeWord14;
    int32_t cellTop;
    int32_t cellSize;
};
void StraightShot(ShotTable& table, const StraightValues& values);

// "LONG-RIFLE": one straight bullet per row for 50 frames.
struct RifleValues {
    int32_t startAmmo;
    int32_t rows;
    int32_t damage;
    int32_t halfSize;
    int32_t nodeWord14;
    int32_t stun = 24;
    int32_t launchAxis = 50;  // launch point along the facing; per axis on a diagonal
    int32_t launchDiagonal = 40;
};
void LongRifle(WeaponData& weapon, ShotTable& table, const RifleValues& values);

// Rockets that fan out for 12 frames, cruise along the facing for 45 and end in a two-stage
// blast, at once when they hit. Two volleys may fly at once; column c of heading h fans
// out on fan[h * columns + c].
struct RocketValues {
    int32_t startAmmo;
    const char* hitSound;
    int32_t launchAxis, launchDiagonal;
    int32_t damage;
    int32_t halfSize[4];  // fan, cruise, first and second blast
    int32_t reach[4];
    std::span<const LaunchOffset> fan;  // kHeadings rows of one step per column
    int32_t nodeWord14 = 1;
};

// The four-rocket fan by heading and column; at heading 3 the middle two cross.
extern const LaunchOffset kFourWayFan[kHeadings * 4];
void FanRockets(WeaponData& weapon, ShotTable& table, const RocketValues& values);

// The shot gun's spread: node 1 of the chains of columns 0..4 fans the five pellets out
// symmetrically about the heading. Column 2 keeps straight on; the outer columns bend
// furthest, in mirror pairs.
constexpr int kShotGunPellets = 5;
void ShotGunSpread(ShotTable& table);

// "LAZER": ten beam segments laid out along the heading, paid for with 10 x energyCost.
void Lazer(WeaponData& weapon, ShotTable& table, int32_t energyCost, int32_t damage, int32_t duration);

// A close-combat swing held in front of the robot: one node per stage, the same box in
// every heading.
struct SwingValues {
    int32_t reach;  // launch offset along every axis the heading has
    int32_t damage;
    int32_t halfSize;
    std::span<const MeleeStage> stages;
};
void CloseCombat(WeaponData& weapon, ShotTable& table, const SwingValues& values);

// Shots thrown up off the screen, held above the opponent, then dropped at an offset from
// it, opening into a growing blast. Column c hangs at aim[c]; the blast nodes follow the
// fall.
struct DropAim {
    int32_t dx, dy;
    int32_t duration;
    int32_t halfHeight, halfWidth;
};
struct DropBlast {
    int32_t duration;
    int32_t halfSize;
    int32_t reach;
};
struct DropValues {
    int32_t damage;
    int32_t stun;
    SpriteRect shell;  // the sprite until the blast
    std::span<const DropAim> aim;
    std::span<const DropBlast> blast;
};
void DropFromSky(WeaponData& weapon, ShotTable& table, const WeaponHeader& header, const DropValues& values);
