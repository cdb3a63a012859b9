// AppIdle: one frame — controls, the state's step, the blit layer, the text layer, flip
// (which also waits the frame wait).
#include "shell/form.h"

void TForm1::AppIdle() {
    if (closed_) return;
    ControlHead();

    switch (GameState) {
    case kStateTitle:
    case kStateMainMenu:
    case kStateLevelMenu:
    case kStateStartMessage:
    case kStateLimitMenu: StartStage(); break;
    case kStateSelect: SelectStage(); break;
    case kStatePreFight: BeforeStage(); break;
    case kStateFightIntro:
    case kStateFight:
    case kStateFightOver: FightStage(); break;
    case kStateSurvivalResult:
    case kStateLimitResult: ResultStage(); break;
    case kStateTimeOver: LimitStage(); break;
    case kStateEnding: EndingStage(); break;
    default: break;
    }

    if (GameState >= kStateTitle && GameState <= kStateLimitMenu) Draw_Start2();
    if (GameState >= kStateFightIntro && GameState <= kStateFightOver) Draw_FS2();

    if (dw::Surface* back = BackSurface()) {
        BackDC.emplace(*back, DirectDrawObj->Palette());
        switch (GameState) {
        case kStateTitle:
        case kStateMainMenu:
        case 2:
        case kStateLevelMenu:
        case kStateStartMessage:
        case kStateLimitMenu: Draw_Start(); break;
        case kStateSelect: Draw_Select(); break;
        case kStatePreFight: Draw_BS(); break;
        case kStateFightIntro:
        case kStateFight:
        case kStateFightOver: Draw_FS(); break;
        case kStateSurvivalResult:
        case kStateLimitResult: Draw_Result(); break;
        case kStateTimeOver: Draw_Limit(); break;
        case kStateEnding: Draw_End(); break;
        case kStateError: Draw_Error(); break;
        default: break;
        }
        BackDC.reset();
    }

    if (GameState == kStateSelect) Draw_Select2();
    if (DirectDrawObj) DirectDrawObj->Flip(FrameWait);
}
