#include "controls/sBoundLabel.h"

#include "toolkit/DescriptionReader.h"

namespace sk {

// Space between a label on the left and its edit, besides the indent.
constexpr int kLeftLabelGap = 4;
// A label on the left at the edit's top stands this much lower, level with the edit's text.
constexpr int kLeftTopDrop = 3;
// A label wraps once it is this close to its maximum width.
constexpr int kWrapMargin = 4;

// The bound label's link to the edit's message hook. The hook may outlive the bound label when
// someone else hooked the edit after it; it then only passes messages on.
struct TsBoundLabel::THookCell {
    TsBoundLabel* Owner = nullptr;
    tk::TWndMethod Previous;
};

// The edit's WindowProc while a label exists: the edit's own handling, then the label follows.
struct TsBoundLabel::TEditHook {
    std::shared_ptr<THookCell> Cell;
    void operator()(tk::TMessage& m) const {
        // Held for the whole call: the handlers below may unhook and so free this object.
        const std::shared_ptr<THookCell> cell = Cell;
        cell->Previous(m);
        if (cell->Owner) cell->Owner->EditMessage(m);
    }
};

// ---- TsEditLabel ----

TsEditLabel::TsEditLabel(tk::TComponent* owner, TsBoundLabel* boundLabel) : TsLabel(owner), FBoundLabel(boundLabel) {}

TsEditLabel::~TsEditLabel() {
    if (!FBoundLabel) return;
    TsBoundLabel* bound = FBoundLabel;
    FBoundLabel = nullptr;
    bound->UnhookEdit();
    bound->FTheLabel = nullptr;
    bound->FActive = false;
}

void TsEditLabel::FitText(int maxWidth) {
    FAutoSize = true;
    FWordWrap = false;
    AdjustBounds();
    if (maxWidth <= 0 || Width() < maxWidth - kWrapMargin) return;
    FWordWrap = true;
    SetBounds(Left(), Top(), maxWidth, Height());
    AdjustBounds();
    if (Width() > maxWidth) SetBounds(Left(), Top(), maxWidth, Height());  // one word longer than the maximum
}

// ---- TsBoundLabel ----

TsBoundLabel::TsBoundLabel(tk::TWinControl* edit, TsCommonData* commonData) : FEdit(edit), FCommonData(commonData) {}

TsBoundLabel::~TsBoundLabel() { FreeLabel(); }

void TsBoundLabel::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (!value) FreeLabel();
    else if (!FEdit->IsLoading()) CreateLabel();
}

void TsBoundLabel::Loaded() {
    if (FActive && !FTheLabel) CreateLabel();
}

void TsBoundLabel::SetCaption(const std::wstring& value) {
    if (value == FText) return;
    FText = value;
    if (!FTheLabel) return;
    FTheLabel->SetCaption(FText.empty() ? FEdit->Name() : FText);
    Refit();
}

void TsBoundLabel::SetIndent(int value) {
    FIndent = value;
    AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
    FLayout = value;
    AlignLabel();
}

void TsBoundLabel::SetMaxWidth(int value) {
    FMaxWidth = value;
    Refit();
}

void TsBoundLabel::SetEnabledAlways(bool value) {
    FEnabledAlways = value;
    AlignLabel();
}

void TsBoundLabel::SetUseSkinColor(bool value) {
    FUseSkinColor = value;
    if (FTheLabel) FTheLabel->SetUseSkinColor(value);
}

tk::TFont& TsBoundLabel::Font() { return FTheLabel ? FTheLabel->Font() : FFont; }

bool TsBoundLabel::ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    static const std::string prefix = "BoundLabel.";
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string key = name.substr(prefix.size());
    static const std::vector<std::string> layouts = {"sclLeft",       "sclTopLeft",      "sclTopCenter",
                                                     "sclTopRight",   "sclLeftTop",      "sclBottomLeft",
                                                     "sclBottomCenter", "sclBottomRight"};
    if (key == "Active") SetActive(reader.Bool(v));
    else if (key == "Caption") SetCaption(reader.String(v));
    else if (key == "Indent") SetIndent(reader.Int(v));
    else if (key == "Layout") SetLayout(static_cast<TsCaptionLayout>(reader.Enum(v, layouts)));
    else if (key == "MaxWidth") SetMaxWidth(reader.Int(v));
    else if (key == "EnabledAlways") SetEnabledAlways(reader.Bool(v));
    else if (key == "UseSkinColor") SetUseSkinColor(reader.Bool(v));
    else if (key == "Font.Name") Font().Name = reader.String(v);
    else if (key == "Font.Height") Font().Height = reader.Int(v);
    else if (key == "Font.Color") Font().Color = reader.Color(v);
    else if (key == "Font.Style") Font().Style = reader.FontStyle(v);
    else if (key == "Font.Charset") Font().Charset = reader.Charset(v);
    else return false;
    return true;
}

void TsBoundLabel::CreateLabel() {
    FTheLabel = new TsEditLabel(FEdit, this);
    FTheLabel->SetName(FEdit->Name() + L"Label");
    FTheLabel->SetParentFont(false);
    FTheLabel->Font().Assign(FFont);
    FTheLabel->SetUseSkinColor(FUseSkinColor);
    FTheLabel->SetCaption(FText.empty() ? FEdit->Name() : FText);
    FTheLabel->SetParent(FEdit->Parent());
    HookEdit();
    Refit();
}

void TsBoundLabel::FreeLabel() {
    if (!FTheLabel) return;
    UnhookEdit();
    TsEditLabel* label = FTheLabel;
    FTheLabel = nullptr;
    label->FBoundLabel = nullptr;
    tk::TComponent::Free(label);
}

void TsBoundLabel::Refit() {
    if (!FTheLabel) return;
    FTheLabel->FitText(FMaxWidth);
    AlignLabel();
}

void TsBoundLabel::AlignLabel() {
    if (!FTheLabel || FEdit->Destroying()) return;
    if (FTheLabel->Parent() != FEdit->Parent()) FTheLabel->SetParent(FEdit->Parent());
    FTheLabel->SetVisible(FEdit->Visible());
    FTheLabel->SetEnabled(FEdit->Enabled() || FEnabledAlways);
    const RECT e = FEdit->BoundsRect();
    const int w = FTheLabel->Width(), h = FTheLabel->Height();
    const int leftOfEdit = e.left - FIndent - kLeftLabelGap - w;
    const int centred = e.left + (FEdit->Width() - w) / 2;
    const int above = e.top - h - FIndent, below = e.bottom + FIndent;
    int x = e.left, y = above;
    switch (FLayout) {
        case TsCaptionLayout::sclLeft: x = leftOfEdit; y = e.top + (FEdit->Height() - h) / 2; break;
        case TsCaptionLayout::sclLeftTop: x = leftOfEdit; y = e.top + kLeftTopDrop; break;
        case TsCaptionLayout::sclTopLeft: x = e.left; y = above; break;
        case TsCaptionLayout::sclTopCenter: x = centred; y = above; break;
        case TsCaptionLayout::sclTopRight: x = e.right - w; y = above; break;
        case TsCaptionLayout::sclBottomLeft: x = e.left; y = below; break;
        case TsCaptionLayout::sclBottomCenter: x = centred; y = below; break;
        case TsCaptionLayout::sclBottomRight: x = e.right - w; y = below; break;
    }
    FTheLabel->SetBounds(x, y, w, h);
}

void TsBoundLabel::HookEdit() {
    if (FHook) return;
    FHook = std::make_shared<THookCell>();
    FHook->Owner = this;
    FHook->Previous = FEdit->WindowProc;
    FEdit->WindowProc = TEditHook{FHook};
}

void TsBoundLabel::UnhookEdit() {
    if (!FHook) return;
    FHook->Owner = nullptr;
    // The edit's previous handler comes back unless someone hooked the edit after us; then our
    // hook stays in the chain and only passes messages on.
    const TEditHook* top = FEdit->Destroying() ? nullptr : FEdit->WindowProc.target<TEditHook>();
    if (top && top->Cell == FHook) {
        const tk::TWndMethod previous = FHook->Previous;
        FEdit->WindowProc = previous;
    }
    FHook.reset();
}

void TsBoundLabel::EditMessage(const tk::TMessage& m) {
    switch (m.Msg) {
        case WM_WINDOWPOSCHANGED:
        case tk::CM_VISIBLECHANGED:
        case tk::CM_ENABLEDCHANGED:
        case tk::CM_SHOWINGCHANGED:
            AlignLabel();
            break;
        default:
            break;
    }
}

}  // namespace sk
