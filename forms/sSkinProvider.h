// A form's skin provider: takes over the form's window procedure and paints the window's
// frame, caption band, icon, caption text and caption buttons from the skin ("FORM",
// "FORMTITLE", "CAPTION", the "GLOBALINFO" button masks) into one cache of the whole window,
// cuts the window's outline to the skin's corners, answers hit tests for its own buttons,
// shows its own system menu and gives the form's children the client background (SC_GETBG).
// Where the skin lacks the frame sections the system's frame stays.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "forms/sCaptionButtons.h"
#include "forms/sCoverWindow.h"
#include "forms/sFrameGeometry.h"
#include "forms/sSystemMenu.h"
#include "render/acBlur.h"
#include "skinframework/sCommonData.h"

namespace sk {

class TsSkinManager;

class TsSkinProvider : public tk::TComponent, public TacProviderLink {
public:
    // A provider made at run time for a form that has none (the window hook's): subclasses
    // the form at once; it prepares itself on the first frame paint.
    TsSkinProvider(tk::TForm* form, TsSkinManager* manager);
    ~TsSkinProvider() override;

    // TacProviderLink
    tk::TForm* Form() const override { return FForm; }
    bool FormActive() const override { return FFormActive; }
    rd::TPoint ClientOffset() const override;

    // Settings (the run-time provider's defaults).
    bool UseGlobalColor = false;
    bool MakeSkinMenu = false;
    bool DrawNonClientArea = true;
    bool DrawClientArea = true;
    bool ShowAppIcon = true;
    // GripMode gmRightBottom: a size grip at the client area's bottom right (sizeable windows).
    bool GripRightBottom = false;

    TsScrollWndData& SkinData() { return *FCommonData; }
    // The frame is painted by the provider (a live skin with "FORM" and "FORMTITLE").
    bool FrameSkinned() const;
    TFrameGeometry Geometry() const;
    TCaptionButtons& Buttons() { return FButtons; }
    TsSystemMenu* SystemMenu() { return FSystemMenu.get(); }
    int CaptionWidth() const;
    // The window-coordinate hit code of the provider's own parts (buttons, icon); 0 elsewhere.
    int OwnHitTest(int x, int y);
    // The answer to WM_NCHITTEST at a screen point.
    LRESULT HitTest(int screenX, int screenY);
    // Rebuilds the whole-window cache now when stale; true when it is valid afterwards.
    bool PrepareCache();
    // Paints the frame from the cache into the window.
    void PaintFrame();
    // Paints the frame from a valid cache into a device context in window coordinates.
    void PaintFrameTo(HDC dc);
    // The size grip in window coordinates; empty when none is shown.
    rd::TRect GripRect() const;
    // A provider stored in a window description: its settings, then its skin data's binding.
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    void Loaded() override;
    // The rectangles last cut out of the window region.
    const std::vector<rd::TRect>& CutOut() const { return FArOR; }
    void DropSysMenu(int x, int y);
    // Drops the system menu below the title icon.
    void DropSysMenuAtIcon();
    // Whether the overlay of a button fade exists (tests look at it).
    TacSBAnimation* ButtonAnimation(int hitCode);

private:
    void NewWndProc(tk::TMessage& m);
    bool HandleSkinCmd(tk::TMessage& m);
    void CallOld(tk::TMessage& m);
    void Prepare();
    void LookUpSections();
    TButtonVisibility ButtonVisibility() const;
    void LayoutButtons();
    void UpdateRegion();
    void BuildCache();
    void PaintTitle(rd::TBitmap32& view, const TFrameGeometry& g, int state);
    void PaintCaptionText(rd::TBitmap32& view, const TFrameGeometry& g, int state);
    void PaintIcon(const TFrameGeometry& g);
    void PaintGrip(rd::TBitmap32& view);
    void PaintButton(rd::TBitmap32& view, TsCaptionButton& b);
    void SaveButtonBackground(rd::TBitmap32& view, TsCaptionButton& b);
    void RepaintButton(int hitCode, bool animate);
    void RepaintChanged(const int changed[2]);
    std::unique_ptr<tk::TBitmap> ButtonPicture(const TsCaptionButton& b, int state);
    void PaintClient(HDC dc, const RECT& clip);
    void InvalidateFrame(bool now);
    HICON FormIcon() const;  // looked up once, again after WM_SETICON
    static HICON LookUpIcon(HWND window);
    bool ButtonEnabled(int code) const;
    void PerformButton(int code);
    void TrackNonClientLeave();
    bool CursorOverHotButton();
    void OnNcMouseMove(tk::TMessage& m);
    void OnNcLButtonDown(tk::TMessage& m);
    void OnButtonUp(tk::TMessage& m, int code);
    bool OnNcRightButton(tk::TMessage& m);
    void OnNcActivate(tk::TMessage& m);
    void OnPaint(tk::TMessage& m);

    tk::TForm* FForm;
    tk::TWndMethod OldWndProc;
    std::unique_ptr<TsScrollWndData> FCommonData;
    std::unique_ptr<TsSystemMenu> FSystemMenu;
    std::unique_ptr<TacCoverWindow> CaptForm;
    TCaptionButtons FButtons;
    std::vector<std::unique_ptr<rd::TMemBitmap32>> FButtonBg;  // what lies behind each button
    std::vector<rd::TRect> FArOR;
    std::unique_ptr<rd::TMemBitmap8> FGlowCache;
    int FTitleSkinIndex = -1;
    int FCaptionSkinIndex = -1;
    bool FFormActive = true;
    bool RgnChanged = true;
    bool RTInit = true;
    bool InAero = false;  // desktop composition was on when the provider was made
    bool FTrackingLeave = false;
    bool FInRegionUpdate = false;
    mutable HICON FIcon = nullptr;
    mutable bool FIconKnown = false;
};

}  // namespace sk
