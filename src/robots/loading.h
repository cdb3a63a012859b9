// The loading recipe: one row of values per robot, one recipe that builds any robot into
// either player's records, and the shared specification template.
#pragma once

#include <cstdint>

#include "robots/records.h"

// --- specification -----------------------------------------------------------------------

struct SpecHeader {
    int32_t maxArmour;
    int32_t maxEnergy;
    int32_t halfHeight;
    int32_t halfWidth;
    int32_t specWord8;
    int32_t recoveryRate;
    int32_t decayPeriod;
};

// Fills a specification: the header values, and both speed tables from the template every
// robot moves by, with the speed modifier added to every non-zero speed.
void FillSpec(RobotSpec& spec, const SpecHeader& header, int modifier);

// --- action graph ------------------------------------------------------------------------

// A node name s.k; {-1, -1} is no link.
struct NodeRef {
    int8_t s = -1;
    int8_t k = -1;
};

struct NodeRow {
    NodeRef at;
    int32_t kind;
    int32_t duration;
    uint8_t acceptsRequest;
    uint8_t canMove;
    uint8_t fireFrame;
    uint8_t turnToOpponent;
    int32_t motion;
    int32_t frame;
    NodeRef next[8];  // slots 0 default, 1..4 weapons, 5 guard, 6 hit, 7 idle
    int32_t word7 = 0;
    int32_t word8 = 0;
};

// Writes each row's node; links point into the same graph.
template <size_t N>
void WriteGraph(ActionGraph& graph, const NodeRow (&rows)[N]);
void WriteGraphRows(ActionGraph& graph, const NodeRow* rows, size_t count);
template <size_t N>
void WriteGraph(ActionGraph& graph, const NodeRow (&rows)[N]) {
    WriteGraphRows(graph, rows, N);
}

// Copies node `from` onto node `to`, every field and link included.
void CopyNode(ActionGraph& graph, NodeRef from, NodeRef to);

// --- the robot row -----------------------------------------------------------------------

using SpecFiller = void (*)(RobotSpec& spec, int modifier);
using GraphBuilder = void (*)(ActionGraph& graph);
using WeaponBuilder = void (*)(WeaponData& weapon, ShotTable& table);
using TablePatch = void (*)(ShotTable& table);

struct RobotRow {
    const char* name;
    SpecFiller spec;
    int modifier;
    GraphBuilder graph;
    WeaponBuilder weapons[4];  // slot 4 nullptr: the placeholder weapon
    TablePatch missileTurns;   // run on the table of slot missileSlot after the weapons
    int missileSlot;           // 1..4, 0 none
    unsigned perColumnSlots;   // bit k-1: shot c of slot k starts in column c
    int motionIndex;           // DefaultMotions
    const char* sheets[5];     // load order: back, bs, front, fs, side
};

// The row of the robot a player's RobotTypeId loads in a game mode; nullptr for ids
// without a loader.
const RobotRow* RobotRowFor(int robotTypeId, int player, int gameMode);

// The ids of robots with data, in one-player ladder order.
const int32_t* LadderIds(int& count);
