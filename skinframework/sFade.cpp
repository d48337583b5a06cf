#include "skinframework/sFade.h"

#include <algorithm>
#include <vector>

#include "render/acBlit.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"
#include "skinframework/sVclUtils.h"
#include "toolkit/Application.h"

namespace sk {

namespace {

// Every live fade and animation timer; its size is the global count the form waits on.
std::vector<TacFadeTimerBase*>& LiveTimers() {
    static std::vector<TacFadeTimerBase*> timers;
    return timers;
}

bool LogonEnding() { return tk::Application && tk::Application->LogonEnding(); }
bool AppTerminating() { return tk::Application && tk::Application->Terminated(); }

bool HasPixels(const TacCacheBitmap* bitmap) { return bitmap && !bitmap->Empty(); }

// target := a copy of source's pixels (a 0 x 0 target for a missing or empty source).
void CopyBitmap(TacCacheBitmap& target, TacCacheBitmap* source) {
    if (!HasPixels(source)) {
        target.SetSize(0, 0);
        return;
    }
    target.SetSize(source->Width(), source->Height());
    rd::CopyRect32(target.View(), 0, 0, source->View(), 0, 0, source->Width(), source->Height());
}

// The frame of one step into frame (sized like from), blended with the control's cache.
void BuildStepFrame(TacCacheBitmap& frame, TacCacheBitmap* from, TsCommonData& data, int level, int iterations) {
    if (!HasPixels(from)) {
        frame.SetSize(0, 0);
        return;
    }
    if (frame.Width() != from->Width() || frame.Height() != from->Height()) frame.SetSize(from->Width(), from->Height());
    TacCacheBitmap* cache = data.FCacheBmp.get();
    BlendFadeFrame(frame.View(), from->View(), HasPixels(cache) ? cache->View() : nullptr, level, iterations);
}

void NotifyObserver() {
    if (acObserverWindow) SendSkinCmd(acObserverWindow, SC_REFRESH, 0);
}

}  // namespace

bool AnimationAllowed(int event, TacAnimatEvents controlEvents, const TsSkinManager* manager) {
    if (event < 0 || event > 7) return false;
    if (controlEvents & (1u << event)) return true;
    if (!(controlEvents & AnimatEventSet(aeGlobalDef)) || event > aeMouseUp) return false;
    if (!manager) manager = TsSkinManager::DefaultManager();
    // TacBtnEvent bits: enter 1, leave 2, down 4, up 8.
    return manager && (manager->AnimEffects.ButtonEvents & (1u << event)) != 0;
}

int FadeWeight(int fadeLevel, int iterations) {
    if (iterations <= 0) return 0;
    const int64_t newShare = int64_t(fadeLevel) * 255 / iterations;
    return 255 - static_cast<int>(std::clamp<int64_t>(newShare, 0, 255));
}

bool BlendFadeFrame(rd::TBitmap32* frame, const rd::TBitmap32* from, const rd::TBitmap32* newFace, int fadeLevel,
                    int iterations) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!rd::GetScanGeometry(frame, row0, stride) || !rd::GetScanGeometry(from, row0, stride)) return false;
    if (frame->Width != from->Width || frame->Height != from->Height) return false;
    rd::CopyRect32(frame, 0, 0, from, 0, 0, from->Width, from->Height);
    if (!rd::GetScanGeometry(newFace, row0, stride) || newFace->Width != frame->Width ||
        newFace->Height != frame->Height)
        return false;
    rd::CrossFade32(frame, newFace, FadeWeight(fadeLevel, iterations));
    return true;
}

// ---- TacFadeTimerBase ----

TacFadeTimerBase::TacFadeTimerBase(tk::TComponent* owner, TsCommonData* ownerData)
    : tk::TTimer(owner), FOwnerData(ownerData) {
    SetEnabled(false);
    SetInterval(kFadeInterval);
    OnTimer = [this](tk::TObject*) { OnTick(); };
    LiveTimers().push_back(this);
}

TacFadeTimerBase::~TacFadeTimerBase() {
    *FAlive = false;
    auto& live = LiveTimers();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // The holder lives in the owner: while the owner is being freed it is not touched.
    if (FClearHolder && !(Owner() && Owner()->Destroying())) FClearHolder();
}

int TacFadeTimerBase::LiveCount() { return static_cast<int>(LiveTimers().size()); }

void TacFadeTimerBase::Release() {
    if (Destroying()) return;
    SetEnabled(false);
    if (FInTick) {
        FFreePending = true;
        return;
    }
    tk::TComponent::Free(this);
}

tk::TControl* TacFadeTimerBase::LiveControl() const {
    if (!FOwnerData || Destroying()) return nullptr;
    tk::TControl* control = FOwnerData->FOwnerControl;
    return control && !control->Destroying() ? control : nullptr;
}

void TacFadeTimerBase::SendFadeDone() {
    SetEnabled(false);
    PerformSkinCmd(LiveControl(), SC_FADEDONE);
    // A control that keeps the timer gets no second SC_FADEDONE: the timer stays disabled.
}

void TacFadeTimerBase::OnTick() {
    if (FInTick || Destroying()) return;
    const auto alive = AliveToken();
    // Ends the tick however Tick leaves (an error included); a free asked for meanwhile runs now.
    struct TTickScope {
        TacFadeTimerBase* timer;
        const std::shared_ptr<bool>& alive;
        ~TTickScope() {
            if (!*alive) return;
            timer->FInTick = false;
            if (timer->FFreePending) tk::TComponent::Free(timer);
        }
    } scope{this, alive};
    FInTick = true;
    if (LogonEnding() || !LiveControl()) return;
    Tick();
}

void FreeAllFadeTimers() {
    // A copy: each free takes its timer off the list.
    const std::vector<TacFadeTimerBase*> timers = LiveTimers();
    for (TacFadeTimerBase* t : timers) {
        if (std::find(LiveTimers().begin(), LiveTimers().end(), t) == LiveTimers().end()) continue;
        if (t->FClearHolder) t->FClearHolder();
        t->Release();
    }
}

// ---- TsFadeTimer ----

TsFadeTimer::TsFadeTimer(tk::TComponent* owner, TsFadeTimer*& holder)
    : TacFadeTimerBase(owner, nullptr), FBmpFrom(std::make_unique<TacCacheBitmap>()),
      FFrame(std::make_unique<TacCacheBitmap>()) {
    BindHolder(holder);
}

TsFadeTimer::~TsFadeTimer() = default;

void TsFadeTimer::SetOwnerData(TsCommonData* value) {
    FOwnerData = value;
    if (!value) return;
    TacCacheBitmap* cache = value->FCacheBmp.get();
    if (value->BGChanged && !HasPixels(cache)) PerformSkinCmd(value->FOwnerControl, SC_PREPARECACHE);
    CopyBitmap(*FBmpFrom, value->FCacheBmp.get());
    SetInterval(kFadeInterval);
    switch (FDirection) {
        case fdUp: Iterations = FadeLevel; break;
        case fdDown: Iterations = kFadeIterations - FadeLevel; break;
        default: Iterations = kFadeIterations; break;
    }
}

void TsFadeTimer::SetDirection(TFadeDirection value) {
    FDirection = value;
    if (FadeLevel < 0) FadeLevel = 1;
    if (value != fdNone) SetEnabled(true);
}

bool TsFadeTimer::ToEnd() {
    if (!LiveControl() || AppTerminating()) FDirection = fdNone;
    if (FadeLevel <= Iterations && FadeLevel >= 0) return false;
    SendFadeDone();
    return true;
}

void TsFadeTimer::Tick() {
    if (ToEnd()) return;
    if (FDirection == fdUp || FDirection == fdDown) Change();
}

void TsFadeTimer::Change() {
    tk::TControl* control = LiveControl();
    if (!control) return;
    if (!control->Enabled()) {
        // A disabled control ends the fade and shows its face as it is now.
        Iterations = 0;
        control->Invalidate();
        SendFadeDone();
        return;
    }
    const auto alive = AliveToken();
    // The step counts even when showing it fails.
    struct TNextLevel {
        TsFadeTimer* timer;
        const std::shared_ptr<bool>& alive;
        ~TNextLevel() {
            if (*alive) ++timer->FadeLevel;
        }
    } next{this, alive};
    BuildStepFrame(*FFrame, FBmpFrom.get(), *FOwnerData, FadeLevel, Iterations);
    if (control->IsWindowed()) ShowFrame(static_cast<tk::TWinControl*>(control));
    if (*alive) NotifyObserver();
}

void TsFadeTimer::ShowFrame(tk::TWinControl* control) {
    if (!control->HandleAllocated() || !HasPixels(FFrame.get())) return;
    const auto alive = AliveToken();
    HWND window = control->Handle();
    const LRESULT painted = SendSkinCmd(window, SC_PAINTFADEFRAME, reinterpret_cast<LPARAM>(FFrame.get()));
    if (!*alive || painted != 0 || !IsWindow(window)) return;
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, FFrame->Width(), FFrame->Height(), FFrame->Canvas().Handle(), 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

// ---- TsAnimTimer ----

TsAnimTimer::TsAnimTimer(tk::TComponent* owner, TsAnimTimer*& holder, TsCommonData* ownerData, int iterations,
                         int startLevel)
    : TacFadeTimerBase(owner, nullptr), FBmpFrom(std::make_unique<TacCacheBitmap>()),
      FTmpBmp(std::make_unique<TacCacheBitmap>()) {
    BindHolder(holder);
    Iterations = std::max(iterations, 1);
    // A start level outside 1..Iterations would give weights outside 0..255.
    FadeLevel = std::clamp(startLevel, 1, Iterations);
    SetOwnerData(ownerData);
}

TsAnimTimer::~TsAnimTimer() = default;

void TsAnimTimer::SetOwnerData(TsCommonData* value) {
    FOwnerData = value;
    if (value) CopyBitmap(*FBmpFrom, value->FCacheBmp.get());
}

void TsAnimTimer::Start() {
    SetEnabled(true);
    DoFade();
}

void TsAnimTimer::Tick() {
    if (ToEnd()) return;
    DoFade();
}

bool TsAnimTimer::ToEnd() {
    if (FadeLevel <= Iterations) return false;
    SendFadeDone();
    return true;
}

void TsAnimTimer::DoFade() {
    if (FadeInProcess || !LiveControl()) return;
    const auto alive = AliveToken();
    FadeInProcess = true;
    BuildStepFrame(*FTmpBmp, FBmpFrom.get(), *FOwnerData, FadeLevel, Iterations);
    Repaint();
    if (*alive) NotifyObserver();
    if (!*alive) return;
    ++FadeLevel;
    FadeInProcess = false;
}

void TsAnimTimer::Repaint() {
    const auto alive = AliveToken();
    PerformSkinCmd(LiveControl(), SC_SETUPDATING, 0, 0);
    if (*alive) PerformSkinCmd(LiveControl(), SC_INVALIDATE);
}

// ---- Starting and stopping ----

namespace {

// The fade start of FadeOnStateChange: timer exists or is created; false when the control
// refused to paint its new face.
bool StartFade(TsFadeTimer*& timer, TsCommonData& skinData, bool fast, TFadeDirection direction) {
    tk::TControl* control = skinData.FOwnerControl;
    TsFadeTimer* t = timer;
    if (t) {
        t->FadeLevel = kFadeIterations;
    } else {
        t = timer = new TsFadeTimer(control, timer);
        t->FadeLevel = 1;
    }
    t->SetOwnerData(&skinData);
    if (fast) t->Iterations /= 2;
    if (t->FadeLevel >= t->Iterations || t->FadeLevel <= 0) t->FadeLevel = 1;
    if (PerformSkinCmd(control, SC_PREPARECACHE) != 0) return false;
    // The control may have stopped the fade while it painted.
    if (timer != t) return true;
    t->SetDirection(direction);
    return true;
}

}  // namespace

void FadeOnStateChange(TsFadeTimer*& timer, TsCommonData& skinData, bool fast, TFadeDirection direction,
                       bool allowed) {
    tk::TControl* control = skinData.FOwnerControl;
    if (!control || control->Destroying() || !skinData.Skinned()) return;
    const bool canFade = allowed && !acSkinLoading && !LogonEnding() && HasPixels(skinData.FCacheBmp.get()) &&
                         !skinData.BGChanged;
    skinData.BGChanged = true;
    if (!canFade || !StartFade(timer, skinData, fast, direction)) {
        StopFade(timer);
        skinData.BGChanged = true;
        control->Repaint();
    }
    skinData.UpdateGlow(fast);
}

TsAnimTimer* RestartAnimTimer(TsAnimTimer*& timer, TsCommonData& skinData, bool fast) {
    const int startLevel = timer ? timer->Iterations - timer->FadeLevel : 1;
    StopFade(timer);
    const int iterations = fast ? kFadeIterations / 2 : kFadeIterations;
    timer = new TsAnimTimer(skinData.FOwnerControl, timer, &skinData, iterations, startLevel);
    return timer;
}

void StopFade(TsFadeTimer*& timer) {
    TsFadeTimer* t = timer;
    if (!t) return;
    timer = nullptr;
    if (t->Destroying()) return;
    t->SetDirection(fdNone);
    t->Release();
}

void StopFade(TsAnimTimer*& timer) {
    TsAnimTimer* t = timer;
    if (!t) return;
    timer = nullptr;
    t->Release();
}

}  // namespace sk
