// The error screen: names the failure and asks the player to leave with Esc.
#include "shell/form.h"

void TForm1::Draw_Error() {
    dw::DrawContext& dc = *BackDC;
    if (Brushes[0]) {
        dc.SelectBrush(Brushes[0].get());
        dc.FillRect({0, 0, 800, 600}, *Brushes[0]);
    }
    dc.SelectFont(Fonts[1].get());
    dc.SetTransparentBackground(true);
    dc.SetTextColor(0xFFFFFF);

    static constexpr const char* kWhat[] = {
        "There is a Error In Loading Character Data1.", "There is a Error In Loading Character Data2.",
        "There is a Error In Sound.", "There is a Error In Drawing.", "There is a Unknown Error."};
    static constexpr const char* kCode[] = {"ErrorCode #1.", "ErrorCode #2.", "ErrorCode #3.", "ErrorCode #4.",
                                            "ErrorCode #5."};
    const int i = ErrorCode >= 1 && ErrorCode <= 4 ? ErrorCode - 1 : 4;
    dc.TextOut(100, 200, kWhat[i]);
    dc.TextOut(10, 560, kCode[i]);
    dc.TextOut(140, 220, "Sorry!Once You Should Stop the Game.");
    dc.TextOut(180, 240, "Please Press Escape Key(Esc)! And Try Again!");
}
