// Window-less labels that take their colours from the active skin: the plain skinned label, the
// effect label (text over a soft shadow blurred from the text's own shape) and the web label (a
// link that changes font and colour under the mouse and opens its address when pressed).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/sLabelPicture.h"
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsSkinManager;

// ---- TsCustomLabel ----

// The base of the skinned labels: the toolkit's label painting with the text drawing replaced.
class TsCustomLabel : public tk::TLabel {
public:
    explicit TsCustomLabel(tk::TComponent* owner);

    const std::wstring& SkinSection() const { return FSkinSection; }
    void SetSkinSection(const std::wstring& value);
    // The manager set, else the default manager (null without one).
    TsSkinManager* SkinManager() const;
    void SetSkinManager(TsSkinManager* value);

    tk::TNotifyEvent OnMouseEnter;
    tk::TNotifyEvent OnMouseLeave;

    // The font the text is drawn with.
    virtual tk::TFont& GetCurrentFont();
    // The text colour (system colours resolved).
    virtual rd::TColor GetCurrentFontColor();

    void Paint(tk::TCanvas& canvas) override;
    void WndProc(tk::TMessage& m) override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    void DoDrawText(tk::TCanvas& canvas, RECT& rect, UINT flags) override;
    // The skin of the manager while it is active, else null.
    const TSkinModel* ActiveModel() const;
    // The face of the label's own section (when set and above index 0) over the parent's
    // background; resolves FSkinIndex for this paint.
    void PaintSkinSection(tk::TCanvas& canvas);
    // The section the parent's skin data resolves for the label's background; -1 for none.
    int ParentSection() const;
    // The colour the label stands on: the parent's skinned background colour, else its Color.
    rd::TColor ParentBgColor() const;
    // A text colour blended 40 % over 60 % of the parent's colour (the disabled look).
    rd::TColor DisabledColor(rd::TColor color) const;
    // The key of a composed picture for the label as it stands (Extra left zero).
    TLabelPictureKey LabelPictureKey();
    int FSkinIndex = -1;  // the section resolved while painting, -1 otherwise

private:
    std::wstring FSkinSection;
    TsSkinManager* FSkinManager = nullptr;
};

// The text of a word-wrapped label cut at its last blanks or tabs, with "...", until it fits
// maxHeight when laid out in width (less the width of "...") with the font selected in dc.
// Stops when no blank or tab is left. A text that fits is returned unchanged.
std::wstring CutWordsToFit(HDC dc, const std::wstring& text, int width, int maxHeight, UINT flags);

// ---- TsLabel ----

// The plain skinned label; with UseSkinColor the skin gives its text colour.
class TsLabel : public TsCustomLabel {
public:
    explicit TsLabel(tk::TComponent* owner) : TsCustomLabel(owner) {}
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value);
    rd::TColor GetCurrentFontColor() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

private:
    bool FUseSkinColor = true;
};

// ---- TsWebLabel ----

// Show commands of the page the web label opens (the platform's numbers).
enum class TsWindowShowMode {
    soHide, soNormal, soShowMinimized, soMaximize, soShowNoActivate, soShow, soMinimize, soShowMinNoActive,
    soShowNA, soRestore, soDefault,
};

class TsWebLabel : public TsLabel {
public:
    explicit TsWebLabel(tk::TComponent* owner);

    const std::wstring& URL() const { return FURL; }
    void SetURL(const std::wstring& value) { FURL = value; }
    TsWindowShowMode ShowMode() const { return FShowMode; }
    void SetShowMode(TsWindowShowMode value) { FShowMode = value; }
    tk::TFont& HoverFont() { return FHoverFont; }
    bool MouseAbove() const { return FMouseAbove; }

    tk::TFont& GetCurrentFont() override;
    rd::TColor GetCurrentFontColor() override;
    void WndProc(tk::TMessage& m) override;
    // Copies the label's picture, built again only when it changed (text, font, colours,
    // place, hover state, skin).
    void Paint(tk::TCanvas& canvas) override;
    void Invalidate() override;
    // With ParentFont: the parent's font but the label's own colour; the hover font takes the
    // parent font's name and size.
    void ParentFontChanged() override;
    // Opens the address on the press (not on the release).
    void MouseDown(int x, int y) override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

    // Opens an address; empty: the desktop user's shell (tk::OpenAsDesktopUser). Tests put
    // a recorder here.
    using TUrlOpener = std::function<void(const std::wstring& url, TsWindowShowMode showMode)>;
    static TUrlOpener UrlOpener;

private:
    void SetMouseAbove(bool value);
    TacLabelPicture FPicture;
    std::wstring FURL;
    tk::TFont FHoverFont;
    TsWindowShowMode FShowMode = TsWindowShowMode::soDefault;
    bool FMouseAbove = false;
};

// ---- TsLabelFX ----

enum class TsShadowMode { smNone, smCustom, smSkin1 };
enum class TsKindType { ktStandard, ktCustom, ktSkin };

// The blur of a shadow is capped: every paint costs blur x width x height.
constexpr int kMaxShadowBlur = 32;

// What a shadow is drawn with; Blur is clamped to 0..kMaxShadowBlur.
struct TShadowData {
    rd::TColor Color = 0;
    int Blur = 0;
    int Offset = 0;
    int Alpha = 0;
};

// How far a shadow reaches beyond the text box: LeftTop <= 0 on the left and top,
// RightBottom >= 0 on the right and bottom.
struct TShadowExtents {
    int LeftTop = 0;
    int RightBottom = 0;
    bool operator==(const TShadowExtents& o) const { return LeftTop == o.LeftTop && RightBottom == o.RightBottom; }
    bool operator!=(const TShadowExtents& o) const { return !(*this == o); }
};
TShadowExtents ShadowExtents(int offset, int blur);

class TsLabelFX;

// The shadow settings of an effect label; changes move or repaint the label.
class TsShadow {
public:
    explicit TsShadow(TsLabelFX* parent) : ParentControl(parent) {}
    int BlurCount() const { return FBlurCount; }
    void SetBlurCount(int value);
    int Distance() const { return FDistance; }
    void SetDistance(int value);
    rd::TColor Color() const { return FColor; }
    void SetColor(rd::TColor value);
    TsShadowMode Mode() const { return FMode; }
    void SetMode(TsShadowMode value);
    int AlphaValue() const { return FAlphaValue; }
    void SetAlphaValue(int value);
    // The extents the label's present bounds include.
    TShadowExtents OffsetKeeper;
    bool Buffered = false;  // reuse the shadow picture while nothing changed

private:
    TsLabelFX* ParentControl;
    int FBlurCount = 4;
    int FDistance = 1;
    rd::TColor FColor = 0;
    TsShadowMode FMode = TsShadowMode::smSkin1;
    int FAlphaValue = 255;
};

// Where the effect label's text colour comes from.
struct TsKind {
    TsKindType KindType = TsKindType::ktSkin;
    rd::TColor Color = 0xFFFFFF;
};

class TsLabelFX : public TsCustomLabel {
public:
    explicit TsLabelFX(tk::TComponent* owner);

    TsShadow& Shadow() { return FShadow; }
    const TsKind& Kind() const { return FKind; }
    void SetKind(const TsKind& value);
    int Angle() const { return FAngle; }
    // A non-zero angle switches word wrap off.
    void SetAngle(int value);

    // Color, blur, offset and alpha of the shadow as it is drawn now.
    TShadowData CurrentShadowData() const;
    rd::TColor GetCurrentFontColor() override;
    // Moves and sizes the label when the shadow's extents changed, so the text stays put.
    void UpdatePosition();
    void Invalidate() override;
    void SetBounds(int left, int top, int width, int height) override;
    void Paint(tk::TCanvas& canvas) override;
    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    void AdjustBounds() override;
    void DoDrawText(tk::TCanvas& canvas, RECT& rect, UINT flags) override;

private:
    struct TTextBox;
    TTextBox MeasureBox(const std::wstring& text, UINT flags, int width);
    RECT PlaceText(const RECT& rect, const TTextBox& box, const TShadowExtents& ext) const;
    void DrawTextAt(HDC dc, const std::wstring& text, RECT at, const TTextBox& box, UINT flags);
    void DrawEmbossed(HDC dc, const std::wstring& text, RECT at, const TTextBox& box, UINT flags);
    void BuildShadow(tk::TCanvas& canvas, const RECT& rect, const std::wstring& text, RECT at, const TTextBox& box,
                     UINT flags, const TShadowData& data);
    void BlurCoverage(int width, int height, int passes);
    void ComposeShadow(const TShadowData& data);
    // What the composed picture is made for: place, colours and the shadow.
    TLabelPictureKey CurrentKey();
    void PaintComposed(tk::TCanvas& canvas);

    // The label as last painted (background, shadow and text), rebuilt only when the key
    // changes, text, font or enabled state change, or the label or the skin asks for it.
    TacLabelPicture FComposed;

    TacCacheBitmap FMask;            // the composed shadow picture
    std::vector<uint8_t> FMaskBits;  // the coverage plane and its spare half; only grows
    TsShadow FShadow{this};
    bool FNeedInvalidate = true;
    int OffsTopLeft = 0;
    TsKind FKind;
    bool IntPosChanging = false;
    int FAngle = 0;
};

}  // namespace sk
