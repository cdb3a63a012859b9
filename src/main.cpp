// Duskwarden: program entry. Makes the one game object, shows it and runs the loop.
#include <SDL.h>

#include <exception>
#include <memory>

#include "platform/message_box.h"
#include "shell/form.h"

int main(int, char**) {
    int status = 0;
    try {
        auto form = std::make_unique<TForm1>();
        form->FormShow();
        if (!form->Closed()) form->App.Run();
        form->Close();
    } catch (const std::exception& e) {
        dw::ShowMessage(nullptr, "Duskwarden", e.what());
        status = 1;
    }
    SDL_Quit();
    return status;
}
