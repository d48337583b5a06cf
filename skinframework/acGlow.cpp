#include "skinframework/acGlow.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/acBlit.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sMaskPaint.h"
#include "toolkit/Application.h"

namespace sk {

namespace {

constexpr int kGlowFormTag = 256;
constexpr DWORD kGlowExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

// Looked up once: without the layered-window update no glow is ever created.
bool FindLayeredUpdate() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 && GetProcAddress(user32, "UpdateLayeredWindow") != nullptr;
}

// The live glows; a glow's identity is FirstIndex + its place. Freed places stay null, and a
// cleared list moves FirstIndex past every index given out, so no index ever comes back.
struct TGlowList {
    std::vector<TacGlowEffect*> Items;
    int FirstIndex = 0;

    TacGlowEffect** Find(int index) {
        if (index < FirstIndex) return nullptr;
        const size_t place = static_cast<size_t>(index - FirstIndex);
        return place < Items.size() ? &Items[place] : nullptr;
    }
};

TGlowList& Glows() {
    static TGlowList list;
    return list;
}

// Cut of one axis of the glow to the visible part of the control (see ComputeGlowLayout).
struct TAxisCut {
    int Full, Before, After;
};

TAxisCut CutAxis(int controlSize, int visibleStart, int visibleEnd, int marginBefore, int marginAfter, int pull) {
    TAxisCut a{controlSize + marginBefore + marginAfter - 2 * pull, 0, 0};
    // The control starts at marginBefore - pull in the whole glow; a side of the control that
    // is cut off takes the glow beyond it along.
    const int controlStart = marginBefore - pull;
    if (visibleEnd - visibleStart == controlSize) return a;
    if (visibleStart != 0) a.Before = controlStart + visibleStart;
    if (visibleEnd != controlSize) a.After = a.Full - (controlStart + visibleEnd);
    return a;
}

// Applies the control's colour adjustments (tone, hue offset, saturation) to the glow.
void AdjustGlowColours(rd::TBitmap32* bitmap, const TsCommonData* data) {
    if (!data) return;
    if (data->FColorTone != rd::clNone)
        rd::ForEachPixel(bitmap, rd::PixelToneByBrightest, static_cast<int>(data->FColorTone), rd::clMagenta);
    if (data->FHUEOffset != 0) rd::ForEachPixel(bitmap, rd::PixelShiftHue, data->FHUEOffset, rd::clMagenta);
    if (data->FSaturation != 0) {
        const int amount = std::clamp(static_cast<int>(std::trunc(data->FSaturation * 2.55)), -255, 255);
        rd::ForEachPixel(bitmap, rd::PixelShiftSaturation, amount, rd::clMagenta);
    }
}

bool AppTerminating() { return !tk::Application || tk::Application->Terminated(); }

}  // namespace

// Notified when the skin manager is freed, so that a glow never asks a freed manager anything.
class TacGlowEffect::TManagerWatch : public tk::TComponent {
public:
    explicit TManagerWatch(TsSkinManager* manager) : tk::TComponent(nullptr), FManager(manager) {
        if (manager) FreeNotification(manager);
    }
    bool ManagerGoing() const { return !FManager || FManager->Destroying(); }

protected:
    void Notification(tk::TComponent* component, tk::TOperation operation) override {
        if (operation == tk::TOperation::opRemove && component == FManager) FManager = nullptr;
        tk::TComponent::Notification(component, operation);
    }

private:
    TsSkinManager* FManager;
};

bool LayeredWindowsAvailable() {
    static const bool available = FindLayeredUpdate();
    return available;
}

TGlowLayout ComputeGlowLayout(const RECT& rect, const RECT& realRect, const TGlowMargins& m, int margin) {
    TGlowLayout l;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return l;
    // A pull-in beyond a margin would make sizes and cuts negative and read past the glow.
    const int smallest = std::max(0, std::min({m.Left, m.Top, m.Right, m.Bottom}));
    l.Margin = std::clamp(margin, 0, smallest);
    const int visibleLeft = std::clamp<int>(realRect.left, 0, width), visibleRight = std::clamp<int>(realRect.right, 0, width);
    const int visibleTop = std::clamp<int>(realRect.top, 0, height), visibleBottom = std::clamp<int>(realRect.bottom, 0, height);
    if (visibleRight <= visibleLeft || visibleBottom <= visibleTop) return l;
    const TAxisCut x = CutAxis(width, visibleLeft, visibleRight, std::max(m.Left, 0), std::max(m.Right, 0), l.Margin);
    const TAxisCut y = CutAxis(height, visibleTop, visibleBottom, std::max(m.Top, 0), std::max(m.Bottom, 0), l.Margin);
    l.FullWidth = x.Full;
    l.FullHeight = y.Full;
    l.CutLeft = x.Before;
    l.CutTop = y.Before;
    l.Width = x.Full - x.Before - x.After;
    l.Height = y.Full - y.Before - y.After;
    l.Position = {rect.left + l.Margin + l.CutLeft - std::max(m.Left, 0), rect.top + l.Margin + l.CutTop - std::max(m.Top, 0)};
    return l;
}

// ---- TacGlowEffect ----

TacGlowEffect::TacGlowEffect(TsSkinManager* skinManager, TsCommonData* skinData, int maskIndex, int margin)
    : SkinManager(skinManager), SkinData(skinData), MaskIndex(maskIndex), Margin(margin),
      FWatch(std::make_unique<TManagerWatch>(skinManager)) {}

TacGlowEffect::~TacGlowEffect() {
    if (!Wnd) return;
    tk::TForm* form = Wnd;
    Wnd = nullptr;
    if (OldWndProc) form->WindowProc = OldWndProc;
    if (DestroyWindowNow || FWatch->ManagerGoing() || AppTerminating()) {
        tk::TComponent::Free(form);
        return;
    }
    // Released, so that a glow can be hidden from inside its own window's messages; hidden now.
    if (form->HandleAllocated()) ShowWindow(form->Handle(), SW_HIDE);
    form->Release();
}

TGlowMargins TacGlowEffect::MaskMargins() const {
    if (FWatch->ManagerGoing() || !SkinManager->Model().IsValidImgIndex(MaskIndex)) return {};
    const TSkinModel& model = SkinManager->Model();
    return {model.MaskWidthLeft(MaskIndex), model.MaskWidthTop(MaskIndex), model.MaskWidthRight(MaskIndex),
            model.MaskWidthBottom(MaskIndex)};
}

void TacGlowEffect::CreateAlphaBmp(int width, int height) {
    AlphaBmp = std::make_unique<TacCacheBitmap>();
    AlphaBmp->SetSize(std::max(width, 0), std::max(height, 0));
    if (AlphaBmp->Empty()) return;
    rd::TBitmap32* view = AlphaBmp->View();
    rd::FillPixels32(view, {0, 0, width, height}, 0, 0);
    if (!FWatch->ManagerGoing() && SkinManager->Model().IsValidImgIndex(MaskIndex))
        rd::PaintMaskNinePart(view, {0, 0, width, height}, rd::TCacheInfo{}, false, 0,
                              SkinManager->Model().ma[static_cast<size_t>(MaskIndex)]);
    AdjustGlowColours(view, SkinData);
}

std::unique_ptr<TacCacheBitmap> TacGlowEffect::ShownBitmap(const TGlowLayout& layout) {
    if (layout.Empty()) return nullptr;
    CreateAlphaBmp(layout.FullWidth, layout.FullHeight);
    auto shown = std::make_unique<TacCacheBitmap>();
    shown->SetSize(layout.Width, layout.Height);
    if (shown->Empty() || AlphaBmp->Empty()) return nullptr;
    rd::CopyRect32(shown->View(), 0, 0, AlphaBmp->View(), layout.CutLeft, layout.CutTop, layout.Width, layout.Height);
    AlphaBmp.reset();
    // The layered update takes premultiplied pixels: the last step, after every colour change.
    rd::PremultiplyBitmap(shown->View());
    return shown;
}

void TacGlowEffect::PlaceWindow(HWND wndHandle, const TGlowLayout& layout) {
    HWND window = Wnd->Handle();
    HWND after = HWND_TOP;
    if (wndHandle && (GetWindowLongPtrW(wndHandle, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        after = HWND_TOPMOST;
    } else if (wndHandle) {
        // Just above the owner: behind the window that is in front of it.
        HWND before = GetWindow(wndHandle, GW_HWNDPREV);
        after = before && before != window ? before : HWND_TOP;
    }
    SetWindowPos(window, after, layout.Position.x, layout.Position.y, layout.Width, layout.Height,
                 SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
}

void TacGlowEffect::Show(const RECT& r, const RECT& realRect, HWND wndHandle, int /*alpha*/) {
    if (Wnd) return;
    const TGlowLayout layout = ComputeGlowLayout(r, realRect, MaskMargins(), Margin);
    std::unique_ptr<TacCacheBitmap> bitmap = ShownBitmap(layout);
    if (!bitmap) return;
    Wnd = new tk::TForm(nullptr);
    Wnd->SetTag(kGlowFormTag);
    Wnd->SetBorderStyle(tk::TFormBorderStyle::bsNone);
    Wnd->SetShowInTaskbar(false);
    Wnd->SetExtraExStyle(kGlowExStyle);
    Wnd->SetBounds(layout.Position.x, layout.Position.y, layout.Width, layout.Height);
    OldWndProc = Wnd->WindowProc;
    Wnd->WindowProc = [this](tk::TMessage& m) { NewWndProc(m); };
    PlaceWindow(wndHandle, layout);
    const SIZE size{layout.Width, layout.Height};
    tk::UpdateLayeredFromBitmap(Wnd->Handle(), &layout.Position, size, *bitmap);
    ShowWindow(Wnd->Handle(), SW_SHOWNOACTIVATE);
}

void TacGlowEffect::NewWndProc(tk::TMessage& message) {
    if (message.Msg == WM_NCHITTEST) {
        message.Result = HTTRANSPARENT;
        return;
    }
    if (OldWndProc) OldWndProc(message);
}

// ---- The glow list ----

int ShowGlow(const RECT& rect, const RECT& realRect, const std::wstring& sectionName, TsCommonData* common,
             HWND ownerWindow, int alpha, int margin, const std::wstring& maskName) {
    if (!LayeredWindowsAvailable() || !common) return -1;
    TsSkinManager* manager = common->SkinManager();
    if (!manager || manager->Destroying()) return -1;
    const TSkinModel& model = manager->Model();
    const int maskIndex = model.GetMaskIndex(model.GetSkinIndex(sectionName), sectionName, maskName + L"0");
    if (!model.IsValidImgIndex(maskIndex)) return -1;
    auto effect = std::make_unique<TacGlowEffect>(manager, common, maskIndex, margin);
    effect->Show(rect, realRect, ownerWindow, alpha);
    if (!effect->Wnd) return -1;  // nothing to show
    TGlowList& list = Glows();
    list.Items.push_back(effect.release());
    return list.FirstIndex + static_cast<int>(list.Items.size()) - 1;
}

void HideGlow(int& index) {
    TacGlowEffect** entry = Glows().Find(index);
    if (!entry || !*entry) return;
    TacGlowEffect* effect = *entry;
    *entry = nullptr;
    index = -1;
    delete effect;
}

void ClearGlows(bool destroyWindows) {
    TGlowList& list = Glows();
    // Taken out first: freeing a window may reach the list again.
    std::vector<TacGlowEffect*> items;
    items.swap(list.Items);
    list.FirstIndex += static_cast<int>(items.size());
    for (TacGlowEffect* effect : items) {
        if (!effect) continue;
        effect->DestroyWindowNow = destroyWindows;
        delete effect;
    }
}

HWND GlowWindow(int index) {
    TacGlowEffect** entry = Glows().Find(index);
    return entry && *entry && (*entry)->Wnd && (*entry)->Wnd->HandleAllocated() ? (*entry)->Wnd->Handle() : nullptr;
}

}  // namespace sk
