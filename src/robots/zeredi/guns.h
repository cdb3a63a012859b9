// The three-barrel guns: "MACHINE-GUN" (Zeredi vovu Ridodar) and "GADRING-GUN"
// (ZovaZazovo), one design that differs only in flight time and bullet size.
#pragma once

#include "robots/records.h"

void LizardT_Weapon1(WeaponData& weapon, ShotTable& table);  // "MACHINE-GUN"
void Pyro_Weapon1(WeaponData& weapon, ShotTable& table);     // "GADRING-GUN"
