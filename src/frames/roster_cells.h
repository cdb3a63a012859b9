// Where each robot's emblem and picture lie in the "MARKS" and "MARKS2" sheets: a 5 x 3
// grid of 150-pixel cells, robots in select-list order from the top-left cell, row by row.
#pragma once

#include "platform/geometry.h"

namespace dw {

constexpr int kRosterSize = 11;
constexpr int kRosterCellPitch = 150;
constexpr int kRosterCellSide = 149;  // cells and their screen destinations are 149 x 149
constexpr int kRosterColumns = 5;
constexpr int kRosterSheetWidth = kRosterCellPitch * kRosterColumns;  // 750
constexpr int kRosterSheetHeight = kRosterCellPitch * 3;              // 450

// Roster index 0..10: "Zeredi vovu Ridodar", "Revidu zava Davov", "ZovaZazovo",
// "DedaZivirEvavid", "DariZev", "DeziVor", "Zo-Ra", "DivizOdir", "D-2-E", "Durade-Revov",
// "ViveraziV". Empty for any other index.
constexpr Rect RosterCell(int rosterIndex) {
    if (rosterIndex < 0 || rosterIndex >= kRosterSize) return Rect{};
    const int left = (rosterIndex % kRosterColumns) * kRosterCellPitch;
    const int top = (rosterIndex / kRosterColumns) * kRosterCellPitch;
    return Rect{left, top, left + kRosterCellSide, top + kRosterCellSide};
}

}  // namespace dw
