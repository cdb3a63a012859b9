// "DedaZivirEvavid": a heavy robot with a three-barrel gun, a heavy blow, a steering fire
// shot and a fan of four rockets.
#pragma once

#include "robots/loading.h"

void DOZ_Spec(RobotSpec& spec, int modifier);
void DOZ_Action(ActionGraph& graph);
void DOZ_Weapon1(WeaponData& weapon, ShotTable& table);  // "GADRING-GUN"
void DOZ_Weapon2(WeaponData& weapon, ShotTable& table);  // "HEAVY-RIPPER"
void DOZ_Weapon3(WeaponData& weapon, ShotTable& table);  // "FIRE-CREEPER"
void DOZ_Weapon4(WeaponData& weapon, ShotTable& table);  // "4WAY-ROCKET"

extern const RobotRow kDOZRow;
