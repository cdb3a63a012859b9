#include "robots/third_set_specs.h"

// Header: armour, energy, half-height, half-width, word 8, recovery rate, decay period.

void LizardT_Spec(RobotSpec& spec, int) { LizardV_Spec(spec, 0); }

void LizardV_Spec(RobotSpec& spec, int modifier) { FillSpec(spec, SpecHeader{590, 480, 20, 20, 12, 6, 2}, modifier); }

void Pyro_Spec(RobotSpec& spec, int modifier) { FillSpec(spec, SpecHeader{700, 520, 30, 30, 17, 6, 3}, modifier); }

void Bahao_Spec(RobotSpec& spec, int modifier) { FillSpec(spec, SpecHeader{720, 500, 30, 30, 18, 8, 2}, modifier); }
