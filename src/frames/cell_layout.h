// Where a robot's sprite frames lie in its view sheets. The picture generator draws the
// sheets by this rule and the sprite frame tables read them by it, so the two agree.
#pragma once

#include "platform/geometry.h"

namespace dw {

constexpr int kCellSize = 64;     // every frame is one 64 x 64 cell
constexpr int kSheetMotions = 7;  // motions 0..6, one row each
constexpr int kSheetFrames = 10;  // frames 0..9, one column each
constexpr int kSheetWidth = kCellSize * kSheetFrames;
constexpr int kSheetHeight = kCellSize * kSheetMotions;

// The cell of (motion, frame) in a view sheet; empty outside the sheet's grid.
constexpr Rect SheetCell(int motion, int frame) {
    if (motion < 0 || motion >= kSheetMotions || frame < 0 || frame >= kSheetFrames) return Rect{};
    return Rect{frame * kCellSize, motion * kCellSize, (frame + 1) * kCellSize, (motion + 1) * kCellSize};
}

}  // namespace dw
