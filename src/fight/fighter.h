// The fighter's per-frame rules: controls to stick code and hold counters, speeds from the
// speed tables, action requests and the stepping of the action graph.
#pragma once

#include "fight/fight_records.h"

// The heading from one point toward another: each axis heading covers 30 degrees either side.
// A point toward itself gives heading 0.
int DirectionTo(int fromX, int fromY, int toX, int toY);

// StickCode and hold counters from Horizontal and Vertical.
void ApplyControls(FighterState& f);
// Driven speeds from the walk or dash table of the fighter's facing; the others decay.
void UpdateWalkSpeeds(FighterState& f);
void UpdateDashSpeeds(FighterState& f);
// Starts a requested sequence from a node that accepts requests; the new ActionState or 0.
int TakeActionRequest(FighterState& f);
// One frame in the current node; at its end the successor by guard, held weapon or default.
void StepActionGraph(FighterState& f);
// Enters the node of a successor slot (when it has one) and restarts the node's ticks.
void EnterSlot(FighterState& f, int slot);

// The stick group (0..7) of a StickCode, or -1 when the stick is centred.
int StickGroup(int stickCode);
