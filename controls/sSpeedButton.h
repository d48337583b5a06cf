// Speed button (the installer's browse button) painted from its skin section: a window-less
// button whose face lives in the skin data's cache and fades between states with an
// animation timer; the caption is centred (or laid out beside a glyph), shortened with an
// ellipsis when it does not fit, and moves by one pixel while pressed when the skin manager
// asks for it. Separator and divider styles never become hot.
#pragma once
#include "render/sAlphaGraph.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sFade.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/ImgList.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

#include <memory>

namespace sk {

enum TsSpeedButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider, tbsTextButton };
// Where the glyph sits against the caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TsSpeedButton : public tk::TSpeedButton {
public:
    explicit TsSpeedButton(tk::TComponent* owner);
    ~TsSpeedButton() override;
    TsCommonData& SkinData() { return FSkinData; }

    // 0 normal, 1 hot, 2 pressed (held with the mouse over it, or Down).
    virtual int CurrentState();
    // Rebuilds the face in the cache; false when nothing could be built.
    virtual bool PrepareCache();
    // Copies the face straight to the parent's window, without invalidating.
    void GraphRepaint();
    SIZE TextRectSize();
    RECT CaptionRect(bool shiftClicked);
    // Where the glyph goes (empty without one).
    RECT ImgRect(bool shiftClicked);
    // One frame of the glyph strip, or of the image list's image; 0 without either.
    int GlyphWidth() const;
    int GlyphHeight() const;
    // Grayed, or the skin's discoloured glyphs while skinned.
    bool GetGrayed() const;
    void Click() override;
    void Paint(tk::TCanvas& canvas) override;
    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;

    bool Down() const { return FDown; }
    void SetDown(bool value);
    TsSpeedButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TsSpeedButtonStyle value);
    bool DrawOverBorder() const { return FDrawOverBorder; }
    void SetDrawOverBorder(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    int TextOffset() const { return FOffset; }
    void SetTextOffset(int value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    tk::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(tk::TAlignment value);
    // The glyph strip (NumGlyphs frames side by side); call GlyphChanged after changing it.
    tk::TBitmap& Glyph() { return FGlyph; }
    void GlyphChanged();
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    // Images: the list is not owned; the button lets go of it when it is freed.
    tk::TCustomImageList* Images() const { return FImages; }
    void SetImages(tk::TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int Blend() const { return FBlend; }
    void SetBlend(int value);
    bool Grayed() const { return FGrayed; }
    void SetGrayed(bool value);
    bool Reflected() const { return FReflected; }
    void SetReflected(bool value);
    // Check style: buttons of one parent with the same non-zero group index are down one at a
    // time; AllowAllUp lets the down one of a group come up again.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    unsigned DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(unsigned value);
    TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }
    TsAnimTimer* FadeTimer() const { return FFadeTimer; }
    // The drop-down style's menu: not owned; the button lets go of it when it is freed.
    tk::TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(tk::TPopupMenu* value);
    // True while the drop-down menu is shown.
    bool DroppedDown() const { return FDroppedDown; }
    // Held by a menu owner (a toolbar whose menu is open): the mouse entering or leaving only
    // marks the face stale instead of changing the state.
    bool MenuOwnerMode() const { return FMenuOwnerMode; }
    void SetMenuOwnerMode(bool value) { FMenuOwnerMode = value; }
    // The hot look forced on, whatever the mouse does (a pressed button still looks pressed).
    bool HotState() const { return FHotState; }
    void SetHotState(bool value);
    // The drop-down style's arrow part at the right (empty for other styles).
    RECT ArrowRect() const;
    // The speed button whose drop-down menu is shown now, or null.
    static TsSpeedButton* DroppedButton();

    tk::TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    void Notification(tk::TComponent* component, tk::TOperation operation) override;

private:
    bool NeverHot() const { return FButtonStyle == tbsSeparator || FButtonStyle == tbsDivider; }
    // A drop-down button with a click handler: the arrow part is a button of its own.
    bool SplitLook() const { return FButtonStyle == tbsDropDown && static_cast<bool>(OnClick); }
    bool IsMenuPress(int x) const;
    void DropDown();
    void PaintArrowPart(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int state);
    void DrawArrow(int state);
    bool Ready() const;
    void PropertyChanged();
    void StateChanged(TacAnimatEvent event, bool fast);
    void OnMouseEnterMsg(tk::TMessage& m);
    void OnMouseLeaveMsg(tk::TMessage& m);
    bool HandleSkinMessage(tk::TMessage& m);
    bool HandleSkinnedMessage(tk::TMessage& m);
    void PaintDivider(rd::TBitmap32* cache, const rd::TCacheInfo& bg);
    void PaintFace(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int state);
    void DrawCaption(int state);
    void DrawGlyph(int state);
    bool HasGlyph() const;
    // Glyph and caption placed by Layout, Margin, Alignment and Spacing.
    void PlaceContent(RECT& glyph, RECT& caption, bool shiftClicked);
    void ToggleDown();
    void PaintOverlappingSiblings();
    bool CacheIsStale(HDC dc);
    void CopyFace(HDC dc);

    TsCtrlSkinData FSkinData{this, true, 92};
    TsAnimTimer* FFadeTimer = nullptr;
    bool FDown = false;
    bool FStoredDown = false;
    unsigned FDisabledKind = rd::dkBlended;
    TacAnimatEvents FAnimatEvents = AnimatEventSet(aeGlobalDef);
    TsSpeedButtonStyle FButtonStyle = tbsButton;
    bool FDrawOverBorder = true;
    bool FWordWrap = true;
    bool FShowCaption = true;
    int FOffset = 0;
    int FMargin = -1;
    int FSpacing = 4;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    tk::TAlignment FAlignment = tk::TAlignment::taCenter;
    tk::TBitmap FGlyph;
    int FNumGlyphs = 1;
    tk::TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FBlend = 0;
    bool FGrayed = false;
    bool FReflected = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    tk::TPopupMenu* FDropdownMenu = nullptr;
    bool FDroppedDown = false;
    bool FMenuOwnerMode = false;
    bool FHotState = false;
    bool FMenuVisible = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace sk
