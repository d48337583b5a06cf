// The caption buttons of a skinned window (close, maximize or restore, minimize, help): which
// exist, which mask each takes from "GLOBALINFO", where they lie, and the rules of hovering,
// pressing and releasing them. No window is touched here: the provider asks and acts.
#pragma once
#include <memory>

#include "skin/SkinModel.h"

namespace sk {

class TacSBAnimation;

// The platform's hit codes the buttons answer.
enum TCaptionHitCode : int {
    htNowhere = 0, htClient = 1, htCaption = 2, htSysMenu = 3,
    htMinButton = 8, htMaxButton = 9, htCloseButton = 20, htHelpButton = 21,
};

// A mask that cannot be used lays a button out this wide and high.
constexpr int kDefaultButtonSize = 21;

struct TsCaptionButton {
    TsCaptionButton();
    ~TsCaptionButton();
    TsCaptionButton(TsCaptionButton&&) noexcept;
    TsCaptionButton& operator=(TsCaptionButton&&) noexcept;

    int State = -1;          // -1 not shown, 0 normal, 1 hot, 2 pressed
    int ImageIndex = -1;     // mask index, -1 none
    rd::TRect Rect;          // window coordinates; Right = Left when hidden
    bool HaveAlignment = false;
    unsigned GlowID = 0;
    std::unique_ptr<TacSBAnimation> Timer;
    int HitCode = 0;

    bool Visible() const { return Rect.Right > Rect.Left; }
    bool Contains(int x, int y) const {
        return x >= Rect.Left && x < Rect.Right && y >= Rect.Top && y < Rect.Bottom;
    }
};

// Which buttons a window shows.
struct TButtonVisibility {
    bool Close = false, Max = false, Min = false, Help = false;
    bool BigButtons = false;  // single and sizeable border styles
};

// What the layout needs of the window and the skin.
struct TButtonLayoutInput {
    int CaptionWidth = 0;
    int FrameWidth = 0;
    int VCenter = 0;
    int SizingFrame = 4;
    bool Maximized = false;
};

class TCaptionButtons {
public:
    TsCaptionButton Close, Max, Min, Help;

    // Masks per border kind: big ones for single and sizeable windows, else the small ones
    // (falling back to the big ones, aligned by "BIVALIGN", when "SICONCLOSE" is missing).
    void AssignMasks(const TSkinModel* model, const TButtonVisibility& visible, bool maximized, bool iconic);
    // Places the visible buttons right to left from the caption's right edge.
    void Layout(const TSkinModel* model, const TButtonVisibility& visible, const TButtonLayoutInput& in);
    // The button with this hit code, or null.
    TsCaptionButton* ByHitCode(int code);
    // The button under (x, y) in window coordinates, tested close, maximize, minimize, help.
    TsCaptionButton* At(int x, int y);
    // Left edge of the leftmost visible button; the caption width when none is visible.
    int AreaLeft(int captionWidth) const;

    // Hover: the button with code becomes hot (0 and -1: none). Returns true when a state
    // changed; changed[0..1] receive the codes to repaint (0 for none).
    bool SetHot(int code, int changed[2]);
    // Press: the button with code goes down when enabled; the previous one goes back.
    bool SetPressed(int code, bool enabled, int changed[2]);
    // Release at releaseCode: the code of the button to perform, or 0. A release performs
    // only the button that was pressed, and only over it. The held flag is cleared and hot
    // tracking starts again (changed: the buttons that went back to normal).
    int Release(int releaseCode, int changed[2]);
    // The mouse has left the frame: nothing is hot or held.
    void Leave(int changed[2]);
    int CurrentHT() const { return FCurrentHT; }
    int PressedHT() const { return FPressedHT; }
    bool Held() const { return FHeld; }

private:
    int FCurrentHT = -1;
    int FPressedHT = 0;
    bool FHeld = false;
};

// Hit codes of the buttons.
bool IsButtonHitCode(int code);
// The default processing's answer, cleaned: only the skinned buttons may answer button codes
// (the platform would answer them over its own, invisible buttons); the system-menu code only
// where an icon is drawn.
int CleanDefaultHitCode(int code, bool iconShown);
// The width of one picture of a caption button mask; the default size without a valid mask.
int ButtonMaskWidth(const TSkinModel* model, int maskIndex);
int ButtonMaskHeight(const TSkinModel* model, int maskIndex);

}  // namespace sk
