// "Durade-Revov": a shot gun, a banishing blow, a three-barrel cannon and a fan of six
// rockets. Every slot starts shot c of a volley in column c.
#pragma once

#include "robots/loading.h"

void Bahao_Action(ActionGraph& graph);
void Bahao_Weapon1(WeaponData& weapon, ShotTable& table);  // "SHOT-GUN"
void Bahao_Weapon3(WeaponData& weapon, ShotTable& table);  // "3WAY-CANON"
void Bahao_Weapon4(WeaponData& weapon, ShotTable& table);  // "6WAY-ROCKET"

extern const RobotRow kDuradeRow;
