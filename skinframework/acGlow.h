// Glow around a hot control or caption button: a borderless, click-through window with
// per-pixel alpha, placed just above its owner and sized to the control plus the glow mask's
// margins. A glow's index in the process-wide glow list is its identity.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/Forms.h"

namespace sk {

class TsCommonData;
class TsSkinManager;
class TacCacheBitmap;

// The platform's layered-window update was found when the engine started.
bool LayeredWindowsAvailable();

// Shows a glow and returns its index, or -1 (no layered windows, no common data, or no mask
// named maskName + "0" in the section). rect: the control on the screen; realRect: its visible
// part in its own coordinates. alpha is accepted and not used.
int ShowGlow(const RECT& rect, const RECT& realRect, const std::wstring& sectionName, TsCommonData* common,
             HWND ownerWindow, int alpha, int margin, const std::wstring& maskName);
// Hides and frees the glow of index and sets index to -1; nothing for -1, an index out of
// range or one already freed.
void HideGlow(int& index);
// Frees every glow (destroying their windows first when asked) and empties the list. Indexes
// given out before are never given out again.
void ClearGlows(bool destroyWindows);
// The window of a live glow; null for any other index.
HWND GlowWindow(int index);

// The four margins of a glow mask.
struct TGlowMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Where a glow window goes and which part of the full glow bitmap it shows.
struct TGlowLayout {
    int FullWidth = 0, FullHeight = 0;  // the whole glow: control plus margins
    int CutLeft = 0, CutTop = 0;        // the part shown starts here in the whole glow
    int Width = 0, Height = 0;          // the part shown
    POINT Position{};                   // its top-left corner on the screen
    int Margin = 0;                     // the pull-in used, within 0..the smallest mask margin
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// rect: the control on the screen; realRect: its visible part in its own coordinates (cut to
// the control); margin: how far the window is pulled in on every side, limited to the smallest
// mask margin so that no size or cut turns negative.
TGlowLayout ComputeGlowLayout(const RECT& rect, const RECT& realRect, const TGlowMargins& maskMargins, int margin);

// A glow window and the mask it shows.
class TacGlowEffect : public tk::TObject {
public:
    TacGlowEffect(TsSkinManager* skinManager, TsCommonData* skinData, int maskIndex, int margin);
    // Restores the window procedure and releases the window (at once when asked, when the
    // manager is gone or the application is terminating).
    ~TacGlowEffect() override;
    TacGlowEffect(const TacGlowEffect&) = delete;
    TacGlowEffect& operator=(const TacGlowEffect&) = delete;

    // AlphaBmp := width x height of transparent black with the mask drawn over it, then the
    // control's tone, hue offset and saturation.
    void CreateAlphaBmp(int width, int height);
    // The bitmap the window shows for this layout: the visible part of the glow, premultiplied.
    std::unique_ptr<TacCacheBitmap> ShownBitmap(const TGlowLayout& layout);
    // Creates and shows the window; nothing when it exists or the layout is empty.
    void Show(const RECT& r, const RECT& realRect, HWND wndHandle, int alpha);
    void NewWndProc(tk::TMessage& message);
    TGlowMargins MaskMargins() const;

    TsSkinManager* SkinManager;
    TsCommonData* SkinData;
    int MaskIndex;
    int Margin;
    tk::TForm* Wnd = nullptr;
    std::unique_ptr<TacCacheBitmap> AlphaBmp;
    tk::TWndMethod OldWndProc;
    bool DestroyWindowNow = false;  // free the window directly instead of releasing it

private:
    void PlaceWindow(HWND wndHandle, const TGlowLayout& layout);
    class TManagerWatch;
    std::unique_ptr<TManagerWatch> FWatch;  // tells when the manager is freed
};

}  // namespace sk
