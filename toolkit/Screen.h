// The list of all forms in creation order, and which of them is active.
#pragma once
#include <cstddef>
#include <vector>

namespace tk {

class TForm;

class TScreen {
public:
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TForm* Forms(int i) const { return FForms[static_cast<std::size_t>(i)]; }
    // The form whose window is the active window of this thread, or nullptr.
    TForm* ActiveForm() const;

    // Called by every form from its constructor and destructor.
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);

private:
    std::vector<TForm*> FForms;
};

// Created by the application object or by the first form; lives until the process ends
// (forms freed during static destruction still find it).
extern TScreen* Screen;
TScreen& EnsureScreen();

}  // namespace tk
