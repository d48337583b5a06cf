#include "forms/sCaptionButtons.h"

#include <algorithm>

#include "forms/sTitleAnimation.h"

namespace sk {

TsCaptionButton::TsCaptionButton() = default;
TsCaptionButton::~TsCaptionButton() = default;
TsCaptionButton::TsCaptionButton(TsCaptionButton&&) noexcept = default;
TsCaptionButton& TsCaptionButton::operator=(TsCaptionButton&&) noexcept = default;

namespace {

constexpr int kHelpGap = 6;  // between help and the other buttons

int Mask(const TSkinModel* model, const wchar_t* key) {
    return model ? model->GetMaskIndex(L"GLOBALINFO", key) : -1;
}

bool ValidMask(const TSkinModel* model, int index) {
    return model && model->IsValidImgIndex(index) && model->ma[size_t(index)].ImageCount > 0;
}

void Hide(TsCaptionButton& b, int x) {
    b.Rect = {x, 0, x, 0};
    if (b.State > 0) b.State = 0;
}

}  // namespace

bool IsButtonHitCode(int code) {
    return code == htMinButton || code == htMaxButton || code == htCloseButton || code == htHelpButton ||
           (code >= 101 && code <= 103) || (code >= 1000 && code <= 1100) || (code >= 2000 && code <= 2100);
}

int CleanDefaultHitCode(int code, bool iconShown) {
    switch (code) {
        case htMinButton: case htMaxButton: case htCloseButton: case htHelpButton: return htCaption;
        case htSysMenu: return iconShown ? htSysMenu : htCaption;
        default: return code;
    }
}

int ButtonMaskWidth(const TSkinModel* model, int maskIndex) {
    if (!ValidMask(model, maskIndex)) return kDefaultButtonSize;
    const TsMaskData& m = model->ma[size_t(maskIndex)];
    const int width = m.Bmp ? m.Bmp->Width : m.R.Width();
    return std::max(1, width / m.ImageCount);
}

int ButtonMaskHeight(const TSkinModel* model, int maskIndex) {
    if (!ValidMask(model, maskIndex)) return kDefaultButtonSize;
    return std::max(1, MaskImageHeight(model->ma[size_t(maskIndex)]));
}

void TCaptionButtons::AssignMasks(const TSkinModel* model, const TButtonVisibility& visible, bool maximized,
                                  bool iconic) {
    Close.HitCode = htCloseButton;
    Max.HitCode = htMaxButton;
    Min.HitCode = htMinButton;
    Help.HitCode = htHelpButton;
    const bool smallSkin = model && model->IsValidImgIndex(Mask(model, L"SICONCLOSE"));
    const bool big = visible.BigButtons || !smallSkin;
    if (big) {
        const int alone = Mask(model, L"BICLOSEALONE");
        Close.ImageIndex = !visible.Max && !visible.Min && model && model->IsValidImgIndex(alone)
                               ? alone : Mask(model, L"BICONCLOSE");
        Max.ImageIndex = Mask(model, maximized ? L"BICONNORM" : L"BICONMAX");
        Min.ImageIndex = Mask(model, iconic ? L"BICONNORM" : L"BICONMIN");
        Help.ImageIndex = Mask(model, L"BICONHELP");
    } else {
        Close.ImageIndex = Mask(model, L"SICONCLOSE");
        Max.ImageIndex = Mask(model, maximized ? L"SICONNORM" : L"SICONMAX");
        Min.ImageIndex = Mask(model, iconic ? L"SICONNORM" : L"SICONMIN");
        Help.ImageIndex = Mask(model, L"SICONHELP");
        if (!model || !model->IsValidImgIndex(Help.ImageIndex)) Help.ImageIndex = Mask(model, L"BICONHELP");
    }
    for (TsCaptionButton* b : {&Close, &Max, &Min, &Help}) b->HaveAlignment = big;
}

void TCaptionButtons::Layout(const TSkinModel* model, const TButtonVisibility& visible,
                             const TButtonLayoutInput& in) {
    const TsSkinData* data = model ? model->CommonSkinData.get() : nullptr;
    const int rightMargin = data ? data->BIRightMargin : 0;
    const int spacing = data ? data->BISpacing : 0;
    const bool alignTop = data && data->BIVAlign == 1;
    const int height = ButtonMaskHeight(model, Close.ImageIndex);
    int x = in.CaptionWidth - rightMargin - in.FrameWidth;
    auto place = [&](TsCaptionButton& b, bool shown) {
        if (!shown) {
            Hide(b, x);
            return;
        }
        const int width = ButtonMaskWidth(model, b.ImageIndex);
        const int top = b.HaveAlignment && alignTop ? (in.Maximized ? in.SizingFrame - 1 : 0)
                                                    : in.VCenter - height / 2;
        b.Rect = {x - width, top, x, top + height};
        if (b.State < 0) b.State = 0;
        x = b.Rect.Left - (visible.BigButtons ? spacing : 0);
    };
    place(Close, visible.Close);
    place(Max, visible.Max);
    place(Min, visible.Min);
    if (visible.Help) x -= kHelpGap;
    place(Help, visible.Help);
}

TsCaptionButton* TCaptionButtons::ByHitCode(int code) {
    for (TsCaptionButton* b : {&Close, &Max, &Min, &Help})
        if (b->HitCode == code && code != 0) return b;
    return nullptr;
}

TsCaptionButton* TCaptionButtons::At(int x, int y) {
    for (TsCaptionButton* b : {&Close, &Max, &Min, &Help})
        if (b->Visible() && b->Contains(x, y)) return b;
    return nullptr;
}

int TCaptionButtons::AreaLeft(int captionWidth) const {
    int left = captionWidth;
    for (const TsCaptionButton* b : {&Close, &Max, &Min, &Help})
        if (b->Visible()) left = std::min(left, b->Rect.Left);
    return left;
}

bool TCaptionButtons::SetHot(int code, int changed[2]) {
    changed[0] = changed[1] = 0;
    if (code == FCurrentHT) return false;
    if (TsCaptionButton* old = FCurrentHT > 0 ? ByHitCode(FCurrentHT) : nullptr; old && old->State > 0) {
        old->State = 0;
        changed[0] = old->HitCode;
    }
    FCurrentHT = code;
    if (!FHeld && code > 0) {
        if (TsCaptionButton* b = ByHitCode(code); b && b->Visible()) {
            b->State = 1;
            changed[1] = code;
        }
    }
    return changed[0] != 0 || changed[1] != 0;
}

bool TCaptionButtons::SetPressed(int code, bool enabled, int changed[2]) {
    changed[0] = changed[1] = 0;
    if (TsCaptionButton* old = FPressedHT > 0 ? ByHitCode(FPressedHT) : nullptr; old && old->State > 0) {
        old->State = 0;
        changed[0] = old->HitCode;
    }
    FPressedHT = 0;
    TsCaptionButton* b = ByHitCode(code);
    if (!enabled || !b || !b->Visible()) return changed[0] != 0;
    b->State = 2;
    FPressedHT = code;
    FHeld = true;
    changed[1] = code;
    return true;
}

int TCaptionButtons::Release(int releaseCode, int changed[2]) {
    const int pressed = FPressedHT;
    const bool held = FHeld;
    FHeld = false;
    FPressedHT = 0;
    changed[0] = changed[1] = 0;
    // Hot tracking starts again with the next move: nothing stays hot or pressed.
    int n = 0;
    for (TsCaptionButton* b : {&Close, &Max, &Min, &Help})
        if (b->State > 0 && n < 2) {
            b->State = 0;
            changed[n++] = b->HitCode;
        }
    FCurrentHT = -1;
    if (!held || pressed == 0 || releaseCode != pressed) return 0;
    return pressed;
}

void TCaptionButtons::Leave(int changed[2]) {
    FHeld = false;
    SetHot(-1, changed);
    if (TsCaptionButton* b = ByHitCode(FPressedHT); b && b->State > 0) {
        b->State = 0;
        if (changed[0] == 0) changed[0] = b->HitCode;
    }
    FPressedHT = 0;
}

}  // namespace sk
