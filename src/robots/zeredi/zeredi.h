// "Zeredi vovu Ridodar": a machine gun, a stick and homing missiles.
#pragma once

#include "robots/loading.h"

void LizardT_Action(ActionGraph& graph);

extern const RobotRow kZerediRow;
