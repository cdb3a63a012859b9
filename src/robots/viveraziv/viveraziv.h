// "ViveraziV", the hidden robot: a long rifle, fireflies and a napalm canister dropped on
// the opponent.
#pragma once

#include "robots/loading.h"

void Scav_Spec(RobotSpec& spec, int modifier);
void Scav_Action(ActionGraph& graph);
void Scav_Weapon1(WeaponData& weapon, ShotTable& table);  // "LONG-RIFLE"
void Scav_Weapon3(WeaponData& weapon, ShotTable& table);  // "NAPARM"

extern const RobotRow kViveraziVRow;
