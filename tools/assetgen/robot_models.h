// The eleven robots as small 3-D part models, posed per (motion, frame) and drawn from an
// elevated camera, so every view of a robot comes from one model.
#pragma once

#include "raster.h"

namespace assetgen {

// Which way the robot faces in a view sheet: up (away), up-right, down (toward the
// viewer), down-right, right. The order is that of the view sheet files.
enum class View : uint8_t { Back, BackSide, Front, FrontSide, Side };

constexpr int kRobotCount = 11;  // in select-list order, as dw::RosterCell

// Draws robot `robot` doing (motion, frame) with its ground point at `ground`, `scale`
// pixels per model unit, outlined and (unless told otherwise) with its shadow; clipped
// to the image.
void DrawRobot(Image& image, int robot, View view, int motion, int frame, Pt ground, double scale, bool shadow = true);

// The robot's main and trim colours, for its emblem.
Ramp RobotBodyRamp(int robot);
Ramp RobotTrimRamp(int robot);

}  // namespace assetgen
