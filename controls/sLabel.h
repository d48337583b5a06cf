// Effect label (text with a shadow setting) and web label (opens an address when clicked).
#pragma once
#include "toolkit/StdCtrls.h"

namespace sk {

enum class TsShadowMode { smNone, smCustom, smSkin1 };

struct TsShadowSettings {
    TsShadowMode Mode = TsShadowMode::smSkin1;
    tk::TColor Color = tk::clBlack;
    int BlurCount = 4;
    int OffsetLeft = 0, OffsetTop = 0, OffsetRight = 0, OffsetBottom = 0;
};

// The plain skinned label; with UseSkinColor the skin gives its text colour.
class TsLabel : public tk::TLabel {
public:
    explicit TsLabel(tk::TComponent* owner) : tk::TLabel(owner) {}
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
private:
    bool FUseSkinColor = true;
};

class TsLabelFX : public tk::TLabel {
public:
    explicit TsLabelFX(tk::TComponent* owner) : tk::TLabel(owner) {}
    const TsShadowSettings& Shadow() const { return FShadow; }
    int Angle() const { return FAngle; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsShadowSettings FShadow;
    int FAngle = 0;
};

class TsWebLabel : public tk::TLabel {
public:
    explicit TsWebLabel(tk::TComponent* owner);
    const std::wstring& URL() const { return FURL; }
    tk::TFont& HoverFont() { return FHoverFont; }
    void Paint(tk::TCanvas& canvas) override;
    void Click() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    std::wstring FURL;
    tk::TFont FHoverFont;
};

}  // namespace sk
