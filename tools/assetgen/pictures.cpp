// MakePictures: the built-in bitmaps and every robot's five view sheets.
#include <cmath>

#include "frames/cell_layout.h"
#include "frames/roster_cells.h"
#include "picture_set.h"

namespace assetgen {
namespace {

// Where each robot's view sheets live; Zo-Ra has none.
struct SheetFiles {
    int robot;
    const char* dir;
    const char* prefix;
    const char* ext;
};
constexpr SheetFiles kSheetFiles[] = {
    {0, "p_LizT", "lt_", ".bmp"},       {1, "p_LizV", "lv_", ".bmp"},    {2, "p_Pyro", "pp_", ".BMP"},
    {3, "p_DOZ", "fm_", ".bmp"},        {4, "p_DariZev", "bb_", ".BMP"}, {5, "p_DeziVor", "fd_", ".bmp"},
    {7, "p_Zodov", "hb_", ".bmp"},      {8, "p_D2E", "st_", ".bmp"},     {9, "p_Dirazi", "tang_", ".bmp"},
    {10, "p_Viveraziv", "sc_", ".BMP"},
};
constexpr const char* kViewWords[] = {"back", "bs", "front", "fs", "side"};  // View order

constexpr double kSheetScale = 1.45;  // pixels per model unit in a 64 x 64 cell
constexpr Pt kCellGround{32, 46};     // the robot's ground point: its body sits mid-cell

// Copies `part` into `image` with its top-left corner at (left, top).
void Blit(Image& image, const Image& part, int left, int top) {
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x) image.Set(left + x, top + y, part.Get(x, y));
}

}  // namespace

Image MakeViewSheet(int robot, View view) {
    Image sheet(dw::kSheetWidth, dw::kSheetHeight, kMagentaIndex);
    for (int motion = 0; motion < dw::kSheetMotions; ++motion) {
        for (int frame = 0; frame < dw::kSheetFrames; ++frame) {
            Image cell(dw::kCellSize, dw::kCellSize, kMagentaIndex);
            DrawRobot(cell, robot, view, motion, frame, kCellGround, kSheetScale);
            const dw::Rect r = dw::SheetCell(motion, frame);
            Blit(sheet, cell, r.left, r.top);
        }
    }
    sheet.Set(0, 0, kMagentaIndex);  // the game takes the transparent colour from here
    return sheet;
}

Image MakePortraitSheet() {
    Image sheet(dw::kRosterSheetWidth, dw::kRosterSheetHeight, kMagentaIndex);
    for (int robot = 0; robot < kRobotCount; ++robot) {
        const dw::Rect r = dw::RosterCell(robot);
        Image cell(r.Width(), r.Height(), kMagentaIndex);
        DrawRobot(cell, robot, View::Front, 0, 0, {74, 102}, 3.3);
        Blit(sheet, cell, r.left, r.top);
    }
    return sheet;
}

void MakePictures(const fs::path& resourceDir, const fs::path& gameDir) {
    WriteBmp(resourceDir / "TITLE.bmp", MakeTitlePicture());
    WriteBmp(resourceDir / "SABAKU.bmp", MakeGroundTile());
    WriteBmp(resourceDir / "MARKS.bmp", MakeEmblemSheet());
    WriteBmp(resourceDir / "MARKS2.bmp", MakePortraitSheet());
    WriteBmp(resourceDir / "WEAPON.bmp", MakeWeaponSheet());
    for (const SheetFiles& files : kSheetFiles) {
        for (int v = 0; v < 5; ++v) {
            const std::string name = std::string(files.prefix) + kViewWords[v] + files.ext;
            WriteBmp(gameDir / files.dir / name, MakeViewSheet(files.robot, View(v)));
        }
    }
}

}  // namespace assetgen
