// "Revidu zava Davov": a long rifle, a stick and a fan of four rockets.
#pragma once

#include "robots/loading.h"

void LizardV_Action(ActionGraph& graph);
void LizardV_Weapon1(WeaponData& weapon, ShotTable& table);  // "LONG-RIFLE"
void LizardV_Weapon3(WeaponData& weapon, ShotTable& table);  // "4WAY-ROCKET"

extern const RobotRow kReviduRow;
