// Specification fillers of "Zeredi vovu Ridodar", "Revidu zava Davov", "ZovaZazovo" and
// "Durade-Revov": header values plus the shared speed template with each robot's modifier.
#pragma once

#include "robots/loading.h"

// Zeredi vovu Ridodar moves by the template as it stands: the modifier is ignored.
void LizardT_Spec(RobotSpec& spec, int modifier);
void LizardV_Spec(RobotSpec& spec, int modifier);
void Pyro_Spec(RobotSpec& spec, int modifier);
void Bahao_Spec(RobotSpec& spec, int modifier);
