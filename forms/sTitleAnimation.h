// The hot and pressed fades of a caption button: the button's new picture shown in a small
// layered, click-through, non-activating window over the button, its constant alpha stepped
// by a 12 ms window timer, and the window destroyed once the picture has faded out.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "toolkit/Graphics.h"

namespace sk {

constexpr UINT kTitleAnimInterval = 12;  // ms per step
constexpr int kHotIterations = 10;
constexpr int kPressIterations = 1;

// The alpha of fade level `level`: Step x level, kept within 0..255 (a level past the last
// one never wraps round to a faint picture).
BYTE FadeAlpha(int step, int level);
// Alpha added per level for a fade of maxIterations levels.
int FadeStep(int maxIterations);

class TacSBAnimation {
public:
    // makeImg paints the button's picture in a state; bounds gives the button's rectangle on
    // the screen; left is called when the cursor has left the button after a full fade-in.
    TacSBAnimation(HWND form, std::function<std::unique_ptr<tk::TBitmap>(int state)> makeImg,
                   std::function<RECT()> bounds, std::function<void()> left);
    ~TacSBAnimation();
    TacSBAnimation(const TacSBAnimation&) = delete;
    TacSBAnimation& operator=(const TacSBAnimation&) = delete;

    // Fades to newState over iterations steps (a non-zero state fades its picture in; state 0
    // fades the shown picture out). Nothing when newState is the current state.
    void StartAnimation(int newState, int iterations);
    // One timer step (the timer calls it; tests may too).
    void ChangeState();

    int CurrentLevel = 0;
    int CurrentState = -1;  // -1 once faded out
    int MaxIterations = 0;  // -1: faded in fully, watching the cursor
    bool Up = false;
    HWND Window() const { return FWindow; }
    BYTE LastAlpha() const { return FLastAlpha; }

private:
    static LRESULT CALLBACK OverlayProc(HWND, UINT, WPARAM, LPARAM);
    bool MakeForm();
    void UpdateForm(BYTE alpha);
    void FreeForm();
    void StartTimer();
    void StopTimer();
    void CheckMouseLeave();

    HWND FForm;
    HWND FWindow = nullptr;
    bool FTimer = false;
    BYTE FLastAlpha = 0;
    std::unique_ptr<tk::TBitmap> FImg;
    std::function<std::unique_ptr<tk::TBitmap>(int)> FMakeImg;
    std::function<RECT()> FBounds;
    std::function<void()> FLeft;
};

}  // namespace sk
