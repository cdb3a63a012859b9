// "FIRE-FLY": a volley of six fireflies flung out behind the launcher that then steer
// twice toward the opponent. One design in two forms, for two robots.
#pragma once

#include "robots/records.h"

void BuzzB_Weapon3(WeaponData& weapon, ShotTable& table);  // DariZev's slot 3
void Scav_Weapon2(WeaponData& weapon, ShotTable& table);   // ViveraziV's slot 2
