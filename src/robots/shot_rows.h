// Weapons written from tables: a header row for the WeaponData, one row per shot node, and
// a writer that lays the same chain into every heading of a range of columns.
#pragma once

#include <cstdint>
#include <span>

#include "robots/records.h"

struct SpriteRect {
    int32_t left, top, right, bottom;
};

// --- weapon header -----------------------------------------------------------------------

constexpr int32_t kNoEnergyCost = -1;  // an ammunition weapon: EnergyCost is left as it is

struct WeaponHeader {
    int32_t startAmmo;
    int32_t energyCost;
    uint8_t vanishOnHit;
    uint8_t disarmOnHit;
    int32_t rows;
    int32_t columns;
    const char* fireSound;
    const char* hitSound;
    int32_t trailHalfSize = 0;  // 0: no trail (the trail fields are left as they are)
};

void SetHeader(WeaponData& weapon, const WeaponHeader& header);

// Columns 0..columns-1 of every heading launch at a on the axis headings and b on the
// diagonals, with the heading's signs.
void SetLaunchAlong(WeaponData& weapon, int a, int b, int columns = 1);

// --- shot chains -------------------------------------------------------------------------

// A node's step: fixed, or a on the axis headings and b on the diagonals along the heading.
struct Step {
    int32_t x = 0, y = 0;
    bool along = false;
};
constexpr Step kStill{};
constexpr Step Fixed(int32_t x, int32_t y) { return Step{x, y, false}; }
constexpr Step Along(int32_t a, int32_t b) { return Step{a, b, true}; }

constexpr SpriteRect kNoSprite{0, 0, 0, 0};

// One node of a chain. Links name nodes of the same heading and column; -1 is none.
struct ShotRow {
    int32_t moveKind;
    Step step;
    int32_t duration;
    int32_t hitKind;
    int32_t halfHeight, halfWidth;
    int32_t reachY, reachX;
    SpriteRect src;
    int32_t stun;
    int32_t knockback;
    int8_t next = -1;
    int8_t impact = -1;
    int8_t steer = -1;  // a steer node: heading d leads to this node of heading d's chain
};

// What every node of a weapon's chains shares.
struct ShotCommon {
    int32_t damage;
    uint8_t breaksGuard;
    uint8_t endsOnOwnerHit;
    int32_t nodeWord14 = 0;
};

// Writes the rows as nodes 0.. of the chain of every heading in one column, with their
// links and every node's launch links into that column.
void WriteChain(ShotTable& table, int column, std::span<const ShotRow> rows, const ShotCommon& common);
// The same chain in columns 0..columns-1.
void WriteChains(ShotTable& table, std::span<const ShotRow> rows, const ShotCommon& common, int columns);

// Sets node `node`'s sprite in every heading of columns 0..columns-1 from four pictures:
// headings 0 and 4, 1 and 7, 2 and 6, 3 and 5.
void SetSpritesByHeading(ShotTable& table, int node, const SpriteRect (&byPair)[4], int columns);
