// Message boxes: stderr always, an SDL message box when a window exists.
#pragma once

#include <functional>
#include <string>

struct SDL_Window;

namespace dw {

void ShowMessage(SDL_Window* parent, const std::string& caption, const std::string& text);

// Tests capture messages instead of showing them; pass an empty function to restore.
void SetMessageSink(std::function<void(const std::string& caption, const std::string& text)> sink);

}  // namespace dw
