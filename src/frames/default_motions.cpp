// The eleven sprite frame tables. Every robot's view sheets share one cell layout, so each
// template points (motion, frame) at its cell for all eight facings; facings 5..7 use the
// cells of 3..1, mirrored when drawn.
#include "frames/cell_layout.h"
#include "shell/form.h"

namespace {

// Drawn half-size of a robot sprite: its 64-pixel cell shown at its own size.
constexpr int kSpriteHalf = dw::kCellSize / 2;

void FillTemplate(MotionTable& table) {
    table = MotionTable{};
    for (auto& facing : table.Piece)
        for (int m = 0; m < dw::kSheetMotions; ++m)
            for (int f = 0; f < dw::kSheetFrames; ++f) {
                const dw::Rect cell = dw::SheetCell(m, f);
                facing[m][f] = MotionPiece{cell.left, cell.top, cell.right, cell.bottom, kSpriteHalf, kSpriteHalf};
            }
}

}  // namespace

void TForm1::BuildDefaultMotions() {
    for (MotionTable& t : DefaultMotions) FillTemplate(t);
}
