// "DariZev": the lightest and quickest robot, with a machine gun, a spike and fireflies.
#pragma once

#include "robots/darizev/fire_fly.h"
#include "robots/loading.h"

void BuzzB_Spec(RobotSpec& spec, int modifier);
void BuzzB_Action(ActionGraph& graph);
void BuzzB_Weapon1(WeaponData& weapon, ShotTable& table);  // "MACHINE-GUN"
void BuzzB_Weapon2(WeaponData& weapon, ShotTable& table);  // "SPIKE"

extern const RobotRow kDariZevRow;
