// "DivizOdir": a grenade, a claw, a beam and a salvo of missiles dropped round the
// opponent.
#pragma once

#include "robots/loading.h"

void HBack_Spec(RobotSpec& spec, int modifier);
void HBack_Action(ActionGraph& graph);
void HBack_Weapon1(WeaponData& weapon, ShotTable& table);  // "GRANEED"
void HBack_Weapon2(WeaponData& weapon, ShotTable& table);  // "CRAW"
void HBack_Weapon3(WeaponData& weapon, ShotTable& table);  // "LAZER"
void HBack_Weapon4(WeaponData& weapon, ShotTable& table);  // "TENPEST"

extern const RobotRow kDivizOdirRow;
