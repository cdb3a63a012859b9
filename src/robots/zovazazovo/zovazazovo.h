// "ZovaZazovo": a three-barrel gun, a spike, a heavy cannon and linked homing missiles.
#pragma once

#include "robots/loading.h"

void Pyro_Action(ActionGraph& graph);
void Pyro_Weapon3(WeaponData& weapon, ShotTable& table);  // "300mm-CANON"
void Pyro_Weapon4(WeaponData& weapon, ShotTable& table);  // "3LINKED-MISILE"

extern const RobotRow kZovaZazovoRow;
