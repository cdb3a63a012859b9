// Checks a loaded robot's data: every reachable link lands on a written node of its own
// table, durations are at least 1, kinds fit their sequences, steer nodes have all eight
// homing links, and every sprite frame the graph uses lies inside its view sheet.
#pragma once

#include <string>
#include <vector>

class TForm1;

// The problems found in player p's loaded robot; empty when the data is sound.
std::vector<std::string> ValidateRobot(const TForm1& form, int player);
