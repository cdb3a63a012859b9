// The turn nodes of the homing missiles: for each flying heading h and target heading j,
// nodes 3-5 (first turn) and 8-10 (second turn) of chain (h, j), which carry the missile
// from h into heading j's own chain (j, j) at node 6 or 11. Run after the missile's builder.
#pragma once

#include "robots/records.h"

// Writes the turn nodes of one flying heading.
void MissileTurn(int heading, ShotTable& table);

// All eight headings, in the loaders' order 3, 5, 4, 2, 6, 1, 7, 0.
void MissileTurns(ShotTable& table);
