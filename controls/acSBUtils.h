// Skinned frame and scroll bars of native scrolling windows (a memo, a combo box's drop-down
// list, a tree): an object takes over the window's procedure, reserves the non-client area
// for bars of the skin's size, paints the frame from the control's section and the bars from
// the skin's scroll sections, and turns mouse actions on the bars into the window's own scroll
// messages. The window keeps its scroll state; it is read back before every paint.
//
// The object belongs to the window: it is found through the window property "ACSBSC" and
// frees itself after the window's last message, or on DetachEditWnd.
#pragma once
#include <string>

#include "controls/acScrollBar.h"
#include "skinframework/sCommonData.h"
#include "toolkit/WindowSubclass.h"

namespace sk {

class TsSkinManager;

inline constexpr wchar_t kScrollWndProp[] = L"ACSBSC";
// Timers of the bars, set on the window itself (numbers clear of the native controls' own).
inline constexpr UINT_PTR kScrollRepeatTimer = 0xAC51;
inline constexpr UINT_PTR kScrollHoverTimer = 0xAC52;
inline constexpr UINT kRepeatFirstDelayMs = 300;
inline constexpr UINT kRepeatIntervalMs = 55;
inline constexpr UINT kHoverIntervalMs = 20;

// The subclassing base: the window, its previous procedure, the skin data and manager used.
class TacMainWnd {
public:
    TacMainWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager);
    virtual ~TacMainWnd();
    TacMainWnd(const TacMainWnd&) = delete;
    TacMainWnd& operator=(const TacMainWnd&) = delete;

    virtual void AfterCreation() {}
    // Subclasses the window and sets the property.
    virtual void Create();
    virtual void SaveStdParams() {}
    virtual void RestoreStdParams() {}
    virtual void SetSkinParams() {}
    virtual void InitSkinData() {}
    virtual void acWndProc(tk::TMessage& m);

    // Hands a message to the window's previous procedure.
    void CallPrevProc(tk::TMessage& m);
    // Gives the window its previous procedure back and forgets it; the object stays until freed.
    void Detach();
    // Frees the object now, or, while it is handling a message, as soon as that returns.
    static void Release(TacMainWnd* wnd);
    // The skin is active and the manager valid (bars and frame may be painted from it).
    bool SkinActive() const;
    const TSkinModel* Model() const;

    HWND CtrlHandle = nullptr;
    TsCommonData* SkinData = nullptr;
    TsSkinManager* SkinManager = nullptr;
    bool DontRepaint = false;  // set while the object itself sends scroll messages
    bool Destroyed = false;
    bool DlgMode = false;

private:
    void Dispatch(tk::TMessage& m);
    tk::TWindowSubclass FSubclass;
    int FDepth = 0;             // messages being handled
    bool FFreePending = false;  // Release came while handling one
};

// Adds the two scroll bars.
class TacScrollWnd : public TacMainWnd {
public:
    TacScrollWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager);
    ~TacScrollWnd() override;
    void Create() override;
    void acWndProc(tk::TMessage& m) override;

    // Re-reads both bars' scroll information and repaints them (not while suspended).
    void UpdateScrolls();
    // Paints the shown bars (and the corner square) into dc, or the window's own DC.
    void PaintBars(HDC dc = nullptr);
    // The skin has sections for this bar; without them the window's native bar is kept.
    bool BarSkinned(const TacScrollBar& bar) const;
    // What lies behind the window (origin at its top-left corner).
    virtual rd::TCacheInfo Background();
    // Bar sizes from the control, the manager or the platform.
    int BarThickness(const TacScrollBar& bar) const;
    int BarButtonLength(const TacScrollBar& bar) const;
    // Window rectangles of the bars after the last non-client size computation.
    void UpdateBarRects();

    // The interaction now in progress (tests read it).
    TacScrollBar* ActiveBar() const { return FActiveBar; }
    TacScrollPart PressedPart() const { return FPressedPart; }
    TacScrollPart HotPart() const { return FHotPart; }
    // Ticks of the 55 ms repeat and scroll codes sent since creation.
    int RepeatTicks() const { return FRepeatTicks; }
    int ScrollCodesSent() const { return FScrollCodesSent; }
    bool RepeatWaitingFirst() const { return FRepeatFirst; }

    bool ScrollsInitialized = false;
    TacScrollBar sBarHorz{SB_HORZ};
    TacScrollBar sBarVert{SB_VERT};
    bool fThumbTracking = false;
    bool fLeftScrollbar = false;
    int cxLeftEdge = 0, cxRightEdge = 0, cyTopEdge = 0, cyBottomEdge = 0;
    bool bPreventStyleChange = false;

protected:
    // Paints bars and frame when the painting rules allow it; false to leave it to the window.
    virtual bool PaintNonClient(HDC dc);
    bool BarsVisible() const;
    bool PaintAllowed() const;
    // A scroll message the window must see (refresh afterwards).
    static bool ChangesScrollState(UINT msg);

private:
    void OnNcCalcSize(tk::TMessage& m);
    bool OnNcHitTest(tk::TMessage& m);
    bool OnBarPress(tk::TMessage& m);
    bool OnNcMouseMove(tk::TMessage& m);
    void OnThumbDrag(tk::TMessage& m);
    void OnTimer(UINT_PTR id);
    void OnRepeatTick();
    void OnHoverTick();
    // Ends a press: capture, timer, the closing scroll codes, the pressed look.
    void EndPress();
    void StopInteraction();
    void SendScrollCode(TacScrollBar& bar, int code, int position);
    void PaintBar(TacScrollBar& bar, HDC dc);
    void PaintCorner(HDC dc);
    TacBarLook LookOf(const TacScrollBar& bar) const;
    bool BarEnabled(TacScrollBar& bar);
    bool ArrowDisabled(const TacScrollBar& bar, TacScrollPart part) const;
    POINT WindowPointFromScreen(POINT screen) const;
    POINT WindowPointFromClient(LPARAM lp) const;
    TacScrollBar* BarAt(POINT windowPoint);
    bool ScrollInfoChanged();

    TacScrollBar* FActiveBar = nullptr;
    TacScrollPart FPressedPart = spNone;
    TacScrollBar* FHotBar = nullptr;
    TacScrollPart FHotPart = spNone;
    bool FRepeatFirst = false;
    bool FHoverTimer = false;
    int FGrabOffset = 0;        // cursor distance from the thumb's start at the press
    TacThumb FDragThumb;        // the thumb as recorded at the press
    int FDragOffset = -1;       // its offset while dragged
    int FLastThumbPos = 0;      // the last position sent while dragging
    int FRepeatTicks = 0;
    int FScrollCodesSent = 0;
    SCROLLINFO FPaintedInfo[2]{};
    TacCacheBitmap FBarPicture;
};

class TacBaseWnd : public TacScrollWnd {
public:
    using TacScrollWnd::TacScrollWnd;
};

// The frame of an edit-like window painted from its section, and its colours.
class TacEditWnd : public TacBaseWnd {
public:
    // section: the section of the frame; empty takes the skin data's.
    TacEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section);
    void acWndProc(tk::TMessage& m) override;
    void SetSkinParams() override;
    rd::TCacheInfo Background() override;
    // The frame picture must be rebuilt at the next paint.
    void MarkStale() { FStale = true; }
    // The window's whole face as last built (tests read it).
    TacCacheBitmap& FramePicture() { return FFrame; }

    RECT FClientRect{};
    bool SingleLineEdit = false;
    rd::TColor Color = rd::clNone;       // the colours last applied
    rd::TColor FocusColor = rd::clNone;
    rd::TColor FrameColor = rd::clNone;
    bool CtrlListChanged = false;

protected:
    bool PaintNonClient(HDC dc) override;

private:
    bool OwnsSkinData() const;
    int SectionIndex() const;
    bool Hot() const;
    void BuildFrame(int width, int height);
    void CopyFrame(HDC dc, int width, int height);
    void RedrawNow();
    bool OnSkinCommand(tk::TMessage& m);

    std::wstring FSection;
    TacCacheBitmap FFrame;
    bool FStale = true;
    bool FFocused = false;  // for windows that are not the skin data's owner
};

// The drop-down list of a combo box and a tree: edit frame and bars alike, refreshed after
// their list messages too.
class TacComboListWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    void acWndProc(tk::TMessage& m) override;
};

class TacTreeViewWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    void acWndProc(tk::TMessage& m) override;
};

// Attaches a scroll-window object with the edit frame to wnd, or returns the live one there.
// Null when wnd is not a window.
TacEditWnd* AttachEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section);
TacEditWnd* AttachComboListWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section);
TacEditWnd* AttachTreeViewWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::wstring& section);
// Frees the object of wnd: the window gets its own procedure and native frame back.
void DetachEditWnd(HWND wnd);
// The live object attached to wnd, or null.
TacMainWnd* FindScrollWnd(HWND wnd);

}  // namespace sk
