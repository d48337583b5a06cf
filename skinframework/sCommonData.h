// Every skinned control's skin data: the section it is bound to and its indexes in the active
// skin, the cache bitmap that holds the control's whole face, focus and hover, whether the
// background behind its children is a plain colour, and the shared half of the skin message.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "render/sAlphaGraph.h"
#include "skin/SkinModel.h"
#include "skinframework/sSkinCmd.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/Forms.h"

namespace sk {

class TsSkinManager;
class TsCommonData;

// The cache: a 32-bit device-independent bitmap that paint routines also reach as raw rows.
class TacCacheBitmap : public tk::TBitmap {
public:
    using tk::TBitmap::TBitmap;
    // Row view of the current pixels; valid until the next resize.
    rd::TBitmap32* View();
    bool Empty() const { return Width() == 0 || Height() == 0; }

private:
    rd::TBitmap32 FView;
};

// What the skin data of a form's skin provider asks of its provider (the form-skinning layer
// above this one implements it).
class TacProviderLink {
public:
    virtual ~TacProviderLink() = default;
    virtual tk::TForm* Form() const = 0;
    virtual bool FormActive() const = 0;                 // state 1 of background answers
    virtual rd::TPoint ClientOffset() const = 0;         // client area inside the window
    virtual bool FormHasPaintHandler() const { return false; }
    virtual bool IsMdiParent() const { return false; }
};

enum class TacOuterVisibility { ovNone, ovAlways };

// Outer shadow settings of a control.
class TacOuterEffects {
public:
    explicit TacOuterEffects(TsCommonData* owner) : FOwner(owner) {}
    TacOuterVisibility Visibility() const { return FVisibility; }
    // Sends SC_INVALIDATE to the owner's parent window unless the owner is loading.
    void SetVisibility(TacOuterVisibility value);

private:
    TsCommonData* FOwner;
    TacOuterVisibility FVisibility = TacOuterVisibility::ovNone;
};

// Scroll bar sizes of a scrolling control; -1 takes the skin's value.
class TacScrollData {
public:
    explicit TacScrollData(TsCommonData* owner) : FOwner(owner) {}
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int value);  // re-applies the owner window's frame
    int ButtonsSize() const { return FButtonsSize; }
    void SetButtonsSize(int value);  // repaints the owner's non-client area

private:
    TsCommonData* FOwner;
    int FScrollWidth = -1;
    int FButtonsSize = -1;
};

// CtrlSkinState bits.
enum : uint16_t {
    ACS_BGUNIFORM = 0x0001,     // children may fill a colour instead of copying pixels
    ACS_NOTCOMPUTED = 0x0002,   // not computed yet; the first query computes it
    ACS_PRINTING = 0x0200,      // PrintDC is set
    ACS_MNUPDATING = 0x0400,    // a menu change is pending
    ACS_LOCKED = 0x0800,        // inside BeginUpdate / EndUpdate
};

// Kind sets that steer the shared behaviour (codes above 255 belong to none).
bool IsNoHoverKind(int coc);
bool IsContainerKind(int coc);
bool IsEditKind(int coc);
// The section a control of this kind binds to when its SkinSection is empty; empty when the
// kind has none (the owner's class name is used then). Kind 34 returns the first candidate.
std::wstring DefaultSectionForKind(int coc);

class TsCommonData : public tk::TObject {
public:
    // A control's skin data; coc is the control kind code.
    TsCommonData(tk::TControl* owner, bool createCacheBmp, int coc);
    // A form's skin data, owned by its skin provider (kind 224).
    TsCommonData(TacProviderLink* provider, bool createCacheBmp);
    ~TsCommonData() override;
    TsCommonData(const TsCommonData&) = delete;
    TsCommonData& operator=(const TsCommonData&) = delete;

    // Stored settings ("SkinData.*" of a window description); false for any other property.
    bool ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value);

    void Loaded();
    void UpdateIndexes(bool updateMain = true);
    void Invalidate(bool updateNow = false);
    void BeginUpdate();
    void EndUpdate(bool repaint = false);
    // A valid section of a live manager (and, with checkSkinActive, an active skin).
    bool Skinned(bool checkSkinActive = false) const;
    // Children must repaint when this control moves.
    bool RepaintIfMoved();
    void PaintOuterEffects(tk::TWinControl* ownerCtrl, rd::TPoint offset);
    bool ManagerStored() const { return FSkinManager != nullptr; }

    const std::wstring& SkinSection() const { return FSkinSection; }
    void SetSkinSection(const std::wstring& value);
    // The manager used: the one set, else the default manager (null without one).
    TsSkinManager* SkinManager() const;
    void SetSkinManager(TsSkinManager* value);
    bool CustomColor() const { return FCustomColor; }
    void SetCustomColor(bool value);
    bool CustomFont() const { return FCustomFont; }
    void SetCustomFont(bool value);
    int HUEOffset() const { return FHUEOffset; }
    void SetHUEOffset(int value);
    int Saturation() const { return FSaturation; }
    void SetSaturation(int value);
    rd::TColor ColorTone() const { return FColorTone; }
    void SetColorTone(rd::TColor value);
    TacOuterEffects& OuterEffects() { return *FOuterEffects; }
    // The control must not paint now (it or its parent is in an update).
    bool Updating();
    void SetUpdating(bool value) { FUpdating = value; }

    // Used by the controls.
    bool ControlIsHot() const;
    void GetParentCache(rd::TCacheInfo& info);
    TacCacheBitmap* InitCacheBmp();  // creates and sizes the cache to the owner control
    // The first step of a cache build: the pixels behind the owner control, asked of its
    // parent, and the cache sized to the control. Empty while the parent's background is not
    // ready (FUpdating is set: the control builds again at SC_ENDUPDATE) or the control has no
    // area.
    std::optional<rd::TCacheInfo> CacheBackground();
    rd::TColor GetBgColor(int state, HWND handle = nullptr);
    rd::TColor BgColorReply();  // the answer to SC_GETBGCOLOR
    void UpdateSkinColors(bool repaint);
    void UpdateGlow(bool hide, HWND handle = nullptr);
    bool CheckUpdating(bool reset = false);
    int MaxBorderWidth() const;
    void UpdateCtrlSkinState(bool forChildren);
    uint16_t GetCtrlSkinState();  // computes the state when it is still not computed
    int BgIsUniform();            // 1 uniform, 0 not, 2 undecided
    bool CacheIsNeeded();
    // Answers a background request with the responder's state (a form: 1 while active).
    void FillBgRequest(TacBgRequest& request, int state);
    void PaintOuterShadow(const TacPaintOuterRequest& request, WORD flags);
    void AssignDefaultSection();
    void SelectFirstSection(const std::wstring* names, int count);
    void UpdateBGType();
    void InvalidateParentBg();
    void EmptyCache();  // the cache becomes 0 x 0
    // The window of the owner (or the provider's form); null while it has none.
    HWND OwnerHandle() const;

    // Lookups in the skin of the effective manager; null when there is nothing valid to read
    // (no manager, no section, an index out of range).
    const TSkinModel* ActiveModel() const;  // null without a manager or while it is inactive
    const TsGeneralData* Section() const;
    // Properties set of a state: clamped to States - 1, then set 0 for state 0, else set 1.
    const TsGenState* StateProps(int state) const;
    const TsMaskData* BorderMask() const;
    tk::TWinControl* OwnerWinControl() const;
    bool OwnerDestroying() const;
    // The hover and focus colours of edit kinds (true: the hot properties set).
    void SwitchEditColors(bool hot);
    // Normal and hot state both fully transparent: the control never shows focus or hover.
    bool BothStatesTransparent() const;
    // The manager allows outer effects and the owner can show them (windowed or a form).
    bool OuterEffectsAllowed() const;
    // The topmost parent of a control (its form), or null without a parent.
    static tk::TWinControl* TopParent(tk::TControl* control);

    // Fields.
    std::unique_ptr<tk::TBitmap> FOuterCache;
    std::wstring FSkinSection;
    bool FCustomFont = false;
    bool FCustomColor = false;
    int FUpdateCount = 0;
    std::unique_ptr<TacOuterEffects> FOuterEffects;
    rd::TColor FColorTone = 0x1FFFFFFF;
    int FHUEOffset = 0;
    int FSaturation = 0;
    int GlowID = -1;
    bool FUpdating = false;
    bool Loading = true;
    TsSkinManager* FSkinManager = nullptr;
    int BorderIndex = -1;
    int SkinIndex = -1;
    int Texture = -1;
    int HotTexture = -1;
    bool HalfVisible = true;
    tk::TControl* FOwnerControl = nullptr;
    tk::TObject* FOwnerObject = nullptr;
    TacProviderLink* FProvider = nullptr;  // set when the owner is a form's skin provider
    std::unique_ptr<TacCacheBitmap> FCacheBmp;
    int COC = 0;
    bool FFocused = false;
    bool FMouseAbove = false;
    uint16_t CtrlSkinState = ACS_NOTCOMPUTED;
    int16_t BGType = 0;
    HDC PrintDC = nullptr;
    rd::TRect InvalidRectH, InvalidRectV;
    bool BGChanged = true;
    rd::TRect FOuterCacheRect;  // where FOuterCache's pixels came from in the container's cache

private:
    void SendSkinChange();
    void ReloadAfterTint();
    int TransparentBgIsUniform(const TsGeneralData& section);
    LRESULT NotifyOwner(WORD cmd);
    rd::TColor OwnerColor() const;
    rd::TColor ParentColorForMix(HWND handle) const;
    rd::TColor ParentReplyColor() const;
    bool GlowRects(HWND handle, RECT& screen, RECT& visible) const;
    void DrawBgNow(TacBgRequest& request, int state);
    void AnswerTransparent(TacBgRequest& request);
    bool PassBgRequestOn(TacBgRequest& request);
    bool IsPlainColourFace(const TsGenState& props) const;
    void AnswerFromCache(TacBgRequest& request);
    void MarkNotReady(TacBgRequest& request);
    void SaveOuterCache(const rd::TBitmap32& target, rd::TRect rect);
    void RestoreOuterCache(const rd::TBitmap32& target);
};

// Most controls' skin data.
class TsCtrlSkinData : public TsCommonData {
public:
    using TsCommonData::TsCommonData;
};

// Skin data of controls with scroll bars (memo-like controls) and of forms.
class TsScrollWndData : public TsCommonData {
public:
    TsScrollWndData(tk::TControl* owner, bool createCacheBmp, int coc);
    TsScrollWndData(TacProviderLink* provider, bool createCacheBmp);
    TacScrollData FHorzScrollData{this};
    TacScrollData FVertScrollData{this};
};

// The shared handler: a control's window procedure calls it after its own handling and
// before the toolkit's default. True when the message was handled (m.Result is the answer).
bool HandleCommonMessage(tk::TMessage& m, TsCommonData& skinData);
// The sub-commands of SM_SKINCMD that every control answers alike.
bool HandleSkinCommand(tk::TMessage& m, TsCommonData& skinData);
// Makes the calling thread drop posted skin messages before they are dispatched (only the
// manager's preview request, sub-command 71, is meant to be posted). Skin data installs it.
void InstallPostedSkinCmdFilter();
// Where the menu layer hooks a control's popup menu on a context-menu request; called with
// the control and its manager, it does nothing for a control without a popup menu. Unset
// while the program has no skinned popup menus.
extern std::function<void(tk::TControl* control, TsSkinManager& manager)> HookControlPopupMenu;

// Asks the owner's parent for the pixels behind the control (SC_GETBG, with DrawNow as the
// request has it); an unanswered request falls back as the parent can.
void GetParentBg(TsCommonData& skinData, TacBgRequest& request);

// Copies rect of the cache into dc at (x, y), leaving out children that paint themselves
// (window-less graphic controls and opaque windowed children).
void CopyCacheToDC(TsCommonData& skinData, HDC dc, int x, int y, const RECT& rect);
// The same for a window that is not a toolkit control: every visible child window is
// clipped out (of a group box only its caption band and border strips).
void CopyCacheToDC(TacCacheBitmap* cache, HWND parent, HDC dc, int x, int y, const RECT& rect);

}  // namespace sk
