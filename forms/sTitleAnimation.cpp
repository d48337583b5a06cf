#include "forms/sTitleAnimation.h"

#include <algorithm>

namespace sk {

namespace {

constexpr wchar_t kOverlayClass[] = L"KalvetraTitleButtonFade";
constexpr UINT_PTR kTimerId = 1;

void RegisterOverlayClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOverlayClass;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    registered = RegisterClassExW(&wc) != 0;
}

}  // namespace

BYTE FadeAlpha(int step, int level) { return static_cast<BYTE>(std::clamp(step * level, 0, 255)); }

int FadeStep(int maxIterations) { return maxIterations > 0 ? std::max(255 / maxIterations, 0) : 255; }

TacSBAnimation::TacSBAnimation(HWND form, std::function<std::unique_ptr<tk::TBitmap>(int)> makeImg,
                               std::function<RECT()> bounds, std::function<void()> left)
    : FForm(form), FMakeImg(std::move(makeImg)), FBounds(std::move(bounds)), FLeft(std::move(left)) {}

TacSBAnimation::~TacSBAnimation() { FreeForm(); }

LRESULT CALLBACK TacSBAnimation::OverlayProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TacSBAnimation*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    switch (msg) {
        case WM_TIMER:
            if (self && wp == kTimerId) self->ChangeState();
            return 0;
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        default: return DefWindowProcW(h, msg, wp, lp);
    }
}

bool TacSBAnimation::MakeForm() {
    if (FWindow) return true;
    RegisterOverlayClass(OverlayProc);
    const RECT r = FBounds();
    DWORD exStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    if (GetWindowLongPtrW(FForm, GWL_EXSTYLE) & WS_EX_TOPMOST) exStyle |= WS_EX_TOPMOST;
    FWindow = CreateWindowExW(exStyle, kOverlayClass, L"", WS_POPUP, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, FForm, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!FWindow) return false;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void TacSBAnimation::UpdateForm(BYTE alpha) {
    FLastAlpha = alpha;
    if (!FImg || !MakeForm()) return;
    const RECT r = FBounds();
    POINT at{r.left, r.top}, origin{0, 0};
    SIZE size{std::min<LONG>(r.right - r.left, FImg->Width()), std::min<LONG>(r.bottom - r.top, FImg->Height())};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    UpdateLayeredWindow(FWindow, nullptr, &at, &size, FImg->Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
    if (!IsWindowVisible(FWindow))
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TacSBAnimation::FreeForm() {
    StopTimer();
    FImg.reset();
    if (FWindow) {
        HWND gone = FWindow;
        FWindow = nullptr;
        SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
        DestroyWindow(gone);
    }
}

void TacSBAnimation::StartTimer() {
    if (FTimer || !MakeForm()) return;
    FTimer = SetTimer(FWindow, kTimerId, kTitleAnimInterval, nullptr) != 0;
}

void TacSBAnimation::StopTimer() {
    if (FTimer && FWindow) KillTimer(FWindow, kTimerId);
    FTimer = false;
}

void TacSBAnimation::StartAnimation(int newState, int iterations) {
    if (newState == CurrentState) return;
    CurrentState = newState;
    if (newState != 0) {
        Up = true;
        MaxIterations = std::max(1, iterations);
        FImg = FMakeImg(newState);
        CurrentLevel = 1;
        UpdateForm(FadeAlpha(FadeStep(MaxIterations), CurrentLevel));
        ++CurrentLevel;
        if (MaxIterations > 1) StartTimer();
        else MaxIterations = -1, StartTimer();
        return;
    }
    Up = false;
    if (!FWindow || !FImg) {
        CurrentState = -1;
        FreeForm();
        return;
    }
    if (MaxIterations <= 0) {
        MaxIterations = std::max(1, iterations);
        CurrentLevel = MaxIterations;
    }
    StartTimer();
}

void TacSBAnimation::ChangeState() {
    if (Up) {
        if (MaxIterations < 0) {
            CheckMouseLeave();
            return;
        }
        const int step = FadeStep(MaxIterations);
        if (CurrentLevel >= MaxIterations) {
            UpdateForm(255);
            MaxIterations = -1;
            CurrentLevel = std::max(CurrentLevel, 1);
            return;
        }
        UpdateForm(FadeAlpha(step, CurrentLevel));
        ++CurrentLevel;
        return;
    }
    --CurrentLevel;
    if (CurrentLevel <= 0) {
        CurrentState = -1;
        FreeForm();
        return;
    }
    UpdateForm(FadeAlpha(FadeStep(MaxIterations), CurrentLevel));
}

void TacSBAnimation::CheckMouseLeave() {
    POINT p;
    GetCursorPos(&p);
    const RECT r = FBounds();
    if (PtInRect(&r, p)) return;
    StopTimer();
    if (FLeft) FLeft();
}

}  // namespace sk
