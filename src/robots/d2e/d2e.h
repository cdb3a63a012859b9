// "D-2-E": a light, quick robot with a long rifle, a claw and a beam.
#pragma once

#include "robots/loading.h"

void Ageha_Spec(RobotSpec& spec, int modifier);
void Ageha_Action(ActionGraph& graph);
void Ageha_Weapon1(WeaponData& weapon, ShotTable& table);  // "LONG-RIFLE"
void Ageha_Weapon2(WeaponData& weapon, ShotTable& table);  // "CRAW"
void Ageha_Weapon3(WeaponData& weapon, ShotTable& table);  // "LAZER"

extern const RobotRow kD2ERow;
