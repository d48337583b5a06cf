#include "toolkit/Screen.h"

#include <algorithm>

#include "toolkit/Forms.h"

namespace tk {

TScreen* Screen = nullptr;

TScreen& EnsureScreen() {
    if (!Screen) Screen = new TScreen;  // never freed, see the header
    return *Screen;
}

void TScreen::AddForm(TForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TForm* form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
}

TForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    if (!active) return nullptr;
    for (TForm* f : FForms)
        if (f->HandleAllocated() && f->Handle() == active) return f;
    return nullptr;
}

}  // namespace tk
