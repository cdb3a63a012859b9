// The close-combat arms: an invisible box held in front of the owner through six stages.
// "STICK" (Zeredi vovu Ridodar, Revidu zava Davov), "LAZER-SPIKE" (ZovaZazovo) and
// "BANISHING" (Durade-Revov) are one design with different numbers.
#pragma once

#include "robots/records.h"

void LizardT_Weapon2(WeaponData& weapon, ShotTable& table);  // "STICK"
void Pyro_Weapon2(WeaponData& weapon, ShotTable& table);     // "LAZER-SPIKE"
void Bahao_Weapon2(WeaponData& weapon, ShotTable& table);    // "BANISHING"
