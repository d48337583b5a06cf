// Push button painted from its skin section: the face lives in the skin data's cache, state
// changes (hover, press, release, focus) fade between faces, the caption wraps and carries a
// dotted focus frame, a disabled button is blended with what lies behind it, and skins whose
// button mask has cut corners give the window a region of that shape.
#pragma once
#include <memory>

#include "render/sAlphaGraph.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sFade.h"
#include "toolkit/ImgList.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace sk {

// What CurrentState returns.
enum TsButtonState { bsNormal = 0, bsHot = 1, bsPressed = 2, bsDefault = 3 };
// Where the image sits beside the caption.
enum class TImageAlignment { iaLeft, iaRight, iaTop, iaBottom, iaCenter };
// A plain push button; a command link (bold caption with a hint line below, image at the top
// left); a split button whose right 16 pixels drop its menu.
enum class TsButtonStyle { bsPushButton, bsCommandLink, bsSplitButton };

class TsButton : public tk::TButton {
public:
    // Notes that the click happened, then runs it.
    void Click() override {
        FClickSeen = true;
        tk::TButton::Click();
    }
    explicit TsButton(tk::TComponent* owner);
    ~TsButton() override;
    TsCommonData& SkinData() { return FSkinData; }

    // 0 normal, 1 hot, 2 pressed, 3 the form's default button.
    int CurrentState();
    // The skin state painted for a button state: capped to the section's states, and the
    // default state shown as hot when the section has fewer than four.
    int SkinState(int state) const;
    // Rebuilds the face in the cache; false when the parent could not give its background.
    // Virtual: a button that places its content differently (the bit button) builds its own.
    virtual bool PrepareCache();
    SIZE TextRectSize();
    RECT CaptionRect();
    // The image index of the current state (disabled, pressed, focused, hot, default), each
    // falling back to ImageIndex when outside the list; -1 without a valid image.
    int GlyphIndex();
    // Where the image goes, in control coordinates; empty without a valid image.
    RECT GlyphRect();
    // Copies the face to dc (the window's own when dc is null), rebuilding it when stale.
    void PaintToDC(HDC dc);

    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    unsigned DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(unsigned value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int FocusMargin() const { return FFocusMargin; }
    void SetFocusMargin(int value);
    int ContentMargin() const { return FContentMargin; }
    void SetContentMargin(int value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }
    // Images: the list is not owned; the button lets go of it when it is freed.
    tk::TCustomImageList* Images() const { return FImages; }
    void SetImages(tk::TCustomImageList* value);
    int ImageIndex() const { return FImageIndexes[0]; }
    void SetImageIndex(int value) { SetStateImageIndex(0, value); }
    int HotImageIndex() const { return FImageIndexes[1]; }
    void SetHotImageIndex(int value) { SetStateImageIndex(1, value); }
    int PressedImageIndex() const { return FImageIndexes[2]; }
    void SetPressedImageIndex(int value) { SetStateImageIndex(2, value); }
    int SelectedImageIndex() const { return FImageIndexes[3]; }
    void SetSelectedImageIndex(int value) { SetStateImageIndex(3, value); }
    int DisabledImageIndex() const { return FImageIndexes[4]; }
    void SetDisabledImageIndex(int value) { SetStateImageIndex(4, value); }
    TImageAlignment ImageAlignment() const { return FImageAlignment; }
    void SetImageAlignment(TImageAlignment value);
    RECT ImageMargins() const { return FImageMargins; }
    void SetImageMargins(const RECT& value);
    bool Reflected() const { return FReflected; }
    void SetReflected(bool value);
    TsButtonStyle Style() const { return FStyle; }
    void SetStyle(TsButtonStyle value);
    // The split button's menu: not owned; the button lets go of it when it is freed.
    tk::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(tk::TPopupMenu* value);
    // The command link's second line.
    const std::wstring& CommandLinkHint() const { return FCommandLinkHint; }
    void SetCommandLinkHint(const std::wstring& value);
    // True while the split button's menu is shown.
    bool DroppedDown() const { return FDroppedDown; }
    TsFadeTimer* FadeTimer() const { return FFadeTimer; }
    // The region of the last cache build not yet handed to the window (1: none built yet).
    HRGN StoredRegion() const { return FRegion; }
    // While set, every button with its pushed flag shows the pressed face (the quick-click
    // pause sets it around one synchronous redraw).
    static bool PaintPressedNow();

    tk::TNotifyEvent OnMouseEnter, OnMouseLeave;

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    // Background layer, border (with the window region) and colour tone of a cache build.
    void PaintFaceLayers(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int skinState);
    void CreateParams(tk::TCreateParams& p) override;
    void Notification(tk::TComponent* component, tk::TOperation operation) override;
    // The default look follows the focus: repaint when it changes.
    void SetButtonStyle(bool active) override;

private:
    bool HandleSkinMessage(tk::TMessage& m);
    void PaintPlain(HDC dc);
    bool HandleSkinnedMessage(tk::TMessage& m);
    void OnMouseEnterMsg(tk::TMessage& m);
    void OnMouseLeaveMsg(tk::TMessage& m);
    void OnLeftPress(tk::TMessage& m);
    void OnLeftRelease(tk::TMessage& m);
    void ShowPressedFaceBriefly();
    void OnFocusChange(tk::TMessage& m, bool gained);
    void OnEnabledChanged(tk::TMessage& m);
    void StateChanged(TacAnimatEvent event, bool fast);
    void PaintBorder(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int skinState);
    void DrawCaption(int state);
    void DrawGlyph(int state);
    bool HasImage() const;
    bool ShiftsContent(int state);
    // The width the caption and the image are laid out in (the split part left out).
    int ContentWidth() const;
    // The image's size with its margins: the list's, or 32 x 32 without a valid image.
    SIZE ImageBlockSize() const;
    // The command link's caption font: the control font in bold, two points larger.
    void AssignCommandLinkFont(tk::TFont& font);
    void DrawCommandLinkHint(tk::TCanvas& canvas, const RECT& caption, int state);
    void DrawSplitArrow(int skinState);
    bool IsSplitPress(const tk::TMessage& m) const;
    void DropDown();
    void SetStateImageIndex(int slot, int value);
    void DrawFocusFrame(const RECT& caption);
    bool NeedsRegion() const;
    void ApplyRegion(HDC dc);
    void DropStoredRegion();
    void RemoveWindowRegion();
    void Changed();
    bool Ready() const;
    UINT TextFormat() const;

    TsCtrlSkinData FSkinData{this, true, 93};
    TsFadeTimer* FFadeTimer = nullptr;
    bool FMouseClicked = false;
    bool FClickSeen = false;  // the system button reported the click of the current release
    bool FDown = false;
    bool RegionChanged = true;
    int FFocusMargin = 1;
    unsigned FDisabledKind = rd::dkBlended;
    TacAnimatEvents FAnimatEvents = AnimatEventSet(aeGlobalDef);
    RECT LastRect{};
    bool FShowFocus = true;
    int FContentMargin = 6;
    bool FWordWrap = true;
    tk::TCustomImageList* FImages = nullptr;
    int FImageIndexes[5] = {-1, -1, -1, -1, -1};  // normal, hot, pressed, selected, disabled
    TImageAlignment FImageAlignment = TImageAlignment::iaLeft;
    RECT FImageMargins{};
    bool FReflected = false;
    TsButtonStyle FStyle = TsButtonStyle::bsPushButton;
    tk::TPopupMenu* FDropDownMenu = nullptr;
    std::wstring FCommandLinkHint;
    bool FDroppedDown = false;
    HRGN FRegion = reinterpret_cast<HRGN>(1);
    bool FRegionApplied = false;
    bool IsFocused = false;  // the last default look asked for (Active)
    bool FInPress = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace sk
