// The robot record formats: what a robot load builds into a player's slots and the fight
// engine and view read. Links are plain pointers into the same table (nullptr = none).
#pragma once

#include <array>
#include <cstdint>
#include <string>

// --- specification -----------------------------------------------------------------------

// Stick groups: 0 right, 1 left, 2 up, 3 up-right, 4 up-left, 5 down, 6 down-left, 7 down-right.
struct SpeedBlock {
    int32_t Speed[8][4][2] = {};  // [stick group][hold step 0..3][0 horizontal, 1 vertical]
    int32_t DecayPeriod = 0;
};

struct SpeedTable {
    SpeedBlock Block[8];  // by Facing
};

struct RobotSpec {
    int32_t MaxArmour = 0;
    int32_t MaxEnergy = 0;
    int32_t Reserved[4] = {};
    int32_t HalfHeight = 0;
    int32_t HalfWidth = 0;
    int32_t SpecWord8 = 0;
    int32_t RecoveryRate = 0;
    SpeedTable NormalSpeed;
    SpeedTable DashSpeed;
};

// --- action graph ------------------------------------------------------------------------

// Successor slots of an action node.
enum : int { kSlotDefault = 0, kSlotGuard = 5, kSlotHit = 6, kSlotIdle = 7 };

struct ActionNode {
    uint8_t AcceptsRequest = 0;
    int32_t Kind = 0;
    uint8_t CanMove = 0;
    int32_t Duration = 0;
    uint8_t FireFrame = 0;
    uint8_t TurnToOpponent = 0;
    int32_t Motion = 0;
    int32_t Frame = 0;
    int32_t NodeWord7 = 0;
    int32_t NodeWord8 = 0;
    ActionNode* Next[8] = {};
};

constexpr int kSequences = 7;
constexpr int kSequenceNodes = 12;

struct ActionGraph {
    ActionNode Node[kSequences][kSequenceNodes];
};

// --- weapons -----------------------------------------------------------------------------

constexpr int kHeadings = 8;
constexpr int kColumns = 10;
constexpr int kChainNodes = 16;
constexpr int kMaxRows = 8;

struct LaunchOffset {
    int32_t x = 0;
    int32_t y = 0;
};

struct WeaponData {
    LaunchOffset LaunchPoint[kHeadings][kColumns] = {};
    uint8_t Reserved[160] = {};
    int32_t StartAmmo = 0;
    int32_t EnergyCost = 0;
    uint8_t VanishOnHit = 0;
    uint8_t DisarmOnHit = 0;
    int32_t Rows = 0;
    int32_t Columns = 0;
    std::string FireSound;
    std::string HitSound;
    int32_t TrailOn = 0;
    int32_t TrailHalfSize[3] = {};
    int32_t TrailWord = 0;
};

// Movement of a shot node.
enum : int32_t {
    kMoveStraight = 0,
    kMoveBranch = 1,  // steer: re-aim and follow HomingLinks
    kMoveAtTarget = 2,
    kMoveHoming = 3,
    kMoveMelee = 4,  // follows the owner
    kMoveBeam = 5,
};

// Hit test of a shot node.
enum : int32_t { kHitNone = 0, kHitProjectile = 1, kHitMelee = 2, kHitImpactNow = 3 };

struct ShotNode {
    int32_t Dx = 0;
    int32_t Dy = 0;
    int32_t Damage = 0;
    int32_t Stun = 0;
    int32_t Duration = 0;
    int32_t HitKind = 0;
    int32_t HitHalfHeight = 0;
    int32_t HitHalfWidth = 0;
    int32_t ReachY = 0;
    int32_t ReachX = 0;
    int32_t SrcRect[4] = {};
    int32_t NodeWord14 = 0;
    int32_t MoveKind = 0;
    uint8_t BreaksGuard = 0;
    int32_t KnockbackRule = 0;
    uint8_t EndsOnOwnerHit = 0;
    ShotNode* ImpactNode = nullptr;
    ShotNode* HomingLinks[kHeadings] = {};  // in link-slot order: use HeadingSlot
    ShotNode* LaunchLinks[kHeadings] = {};  // in link-slot order: use HeadingSlot
    ShotNode* Next = nullptr;
};

struct ShotTable {
    ShotNode Node[kHeadings][kColumns][kChainNodes];
};

// Link arrays keep heading d in slot HeadingSlot(d): slots 0..7 hold headings 0, 1, 7, 2, 6, 4, 3, 5.
constexpr int HeadingSlot(int heading) {
    constexpr int kSlot[kHeadings] = {0, 1, 3, 6, 5, 7, 4, 2};
    return kSlot[heading & 7];
}
inline ShotNode*& LaunchLink(ShotNode& n, int heading) { return n.LaunchLinks[HeadingSlot(heading)]; }
inline ShotNode*& HomingLink(ShotNode& n, int heading) { return n.HomingLinks[HeadingSlot(heading)]; }
inline ShotNode* LaunchLink(const ShotNode& n, int heading) { return n.LaunchLinks[HeadingSlot(heading)]; }
inline ShotNode* HomingLink(const ShotNode& n, int heading) { return n.HomingLinks[HeadingSlot(heading)]; }

// --- sprite frames -----------------------------------------------------------------------

struct MotionPiece {
    int32_t SrcLeft = 0;
    int32_t SrcTop = 0;
    int32_t SrcRight = 0;
    int32_t SrcBottom = 0;
    int32_t HalfWidth = 0;
    int32_t HalfHeight = 0;
};

constexpr int kFacings = 8;
constexpr int kMotions = 10;
constexpr int kFrames = 16;

struct MotionTable {
    MotionPiece Piece[kFacings][kMotions][kFrames];
};

// --- catalogue ---------------------------------------------------------------------------

struct RosterEntry {
    int32_t Rating[6] = {};  // Armor, FirePower, Control, Energy, Speed, Barance: 1..3
    char WeaponName[4][40] = {};
    int32_t Cell[4] = {};  // left, top, right, bottom in "MARKS" and "MARKS2"
};

// The catalogue entry of a robot type: 1..5 give 0..4, 11..15 give 5..9, 6 and 16 give 10;
// -1 for any other id.
constexpr int RosterIndex(int robotTypeId) {
    if (robotTypeId >= 1 && robotTypeId <= 5) return robotTypeId - 1;
    if (robotTypeId >= 11 && robotTypeId <= 15) return robotTypeId - 6;
    if (robotTypeId == 6 || robotTypeId == 16) return 10;
    return -1;
}
