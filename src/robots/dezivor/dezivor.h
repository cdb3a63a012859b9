// "DeziVor": a heavy robot with a shot gun, a chain saw and floating mines.
#pragma once

#include "robots/loading.h"

void FDog_Spec(RobotSpec& spec, int modifier);
void FDog_Action(ActionGraph& graph);
void FDog_Weapon1(WeaponData& weapon, ShotTable& table);  // "SHOT-GUN"
void FDog_Weapon2(WeaponData& weapon, ShotTable& table);  // "CHAIN-SAW"
void FDog_Weapon3(WeaponData& weapon, ShotTable& table);  // "FLORTING-MINE"

extern const RobotRow kDeziVorRow;
