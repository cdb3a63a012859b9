// The pictures MakePictures writes, each made in memory.
#pragma once

#include "robot_models.h"

namespace assetgen {

Image MakeTitlePicture();   // 800 x 600
Image MakeGroundTile();     // 200 x 200, seamless
Image MakeEmblemSheet();    // "MARKS"
Image MakePortraitSheet();  // "MARKS2"
Image MakeWeaponSheet();    // every shot sprite
Image MakeViewSheet(int robot, View view);

}  // namespace assetgen
