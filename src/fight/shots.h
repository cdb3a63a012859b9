// Moving and stepping a live shot (firing and hit tests need the whole game: TForm1).
#pragma once

#include "fight/fight_records.h"

// Moves a live shot once by its current node's movement.
void MoveShot(ShotRecord& r, const FighterState& owner, const FighterState& opponent);
// Counts a frame in the node: its end follows Next or ends the shot; an owner in its hit
// reaction ends shots that say so.
void StepShotNode(ShotRecord& r, const FighterState& owner);
