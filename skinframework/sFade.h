// State fades of skinned controls: a window timer of the user-interface thread cross-fades the
// control's old face into the new one that the control painted into its cache. Which changes
// fade, the blend of one step, and the global count of live fade timers that the form waits on
// when the user's session ends.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "render/sGraphUtils.h"
#include "toolkit/ExtCtrls.h"

namespace sk {

class TsCommonData;
class TsSkinManager;
class TacCacheBitmap;

// A full fade: 11 steps of 12 ms (a fast one half the steps).
constexpr int kFadeIterations = 11;
constexpr unsigned kFadeInterval = 12;

enum TFadeDirection { fdNone, fdUp, fdDown };

// State changes a control may animate; a control's AnimatEvents is a set of them (bit 1 << e).
enum TacAnimatEvent : uint8_t { aeMouseEnter = 0, aeMouseLeave = 1, aeMouseDown = 2, aeMouseUp = 3, aeGlobalDef = 4 };
using TacAnimatEvents = uint8_t;
constexpr TacAnimatEvents AnimatEventSet(TacAnimatEvent e) { return static_cast<TacAnimatEvents>(1u << e); }

// True when event (0 to 7) is in controlEvents; otherwise, when the set holds aeGlobalDef, when
// the matching button event is on in the manager's AnimEffects (the default manager when none
// is given; false without any).
bool AnimationAllowed(int event, TacAnimatEvents controlEvents, const TsSkinManager* manager = nullptr);

// The old face's weight of a step: 255 - level * 255 div iterations, kept within 0..255.
int FadeWeight(int fadeLevel, int iterations);
// One fade step: frame := from, then per colour channel frame := ((frame - new) * W + new *
// 256) >> 8 with W = FadeWeight (alpha stays from's). from and frame must be of one size; a new
// face of another size leaves the frame the old face (false then).
bool BlendFadeFrame(rd::TBitmap32* frame, const rd::TBitmap32* from, const rd::TBitmap32* newFace, int fadeLevel,
                    int iterations);

// What the fade timers share: the live count, freeing that may come from inside the timer's own
// tick (the free waits until the tick has returned), and the variable of the control that holds
// the timer (cleared when the timer is freed by anyone but the control).
class TacFadeTimerBase : public tk::TTimer {
public:
    ~TacFadeTimerBase() override;
    TsCommonData* OwnerData() const { return FOwnerData; }
    // Number of live fade and animation timers.
    static int LiveCount();
    // Disables the timer and frees it now, or once its running tick has returned.
    void Release();

protected:
    TacFadeTimerBase(tk::TComponent* owner, TsCommonData* ownerData);
    template <class T> void BindHolder(T*& holder) {
        FClearHolder = [&holder, this] {
            if (holder == this) holder = nullptr;
        };
    }
    // The control whose face fades; null when it is missing or being destroyed.
    tk::TControl* LiveControl() const;
    // Ticks are skipped at logoff and while the timer is unbound.
    virtual void Tick() = 0;
    // Sends SC_FADEDONE once: the control frees the timer, or the timer stops by itself.
    void SendFadeDone();
    // False once the timer has been freed (a call out to the control may free it).
    std::shared_ptr<bool> AliveToken() const { return FAlive; }
    TsCommonData* FOwnerData = nullptr;

private:
    friend void FreeAllFadeTimers();
    void OnTick();
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    std::function<void()> FClearHolder;
    bool FInTick = false;
    bool FFreePending = false;
};

// The fade of buttons and check boxes: the cache holds the new face all along, each step blends
// the old face towards it and shows the frame on the control's window.
class TsFadeTimer : public TacFadeTimerBase {
public:
    // A disabled timer for the control of ownerData; holder is the control's variable.
    TsFadeTimer(tk::TComponent* owner, TsFadeTimer*& holder);
    ~TsFadeTimer() override;

    // BmpFrom := the cache (asking the control to fill an empty stale one first); the step
    // count follows the direction of a fade that is still running.
    void SetOwnerData(TsCommonData* value);
    void SetDirection(TFadeDirection value);
    TFadeDirection Direction() const { return FDirection; }
    // SC_FADEDONE once the last step was shown (true: the tick ends).
    bool ToEnd();
    // One step on the screen.
    void Change();
    TacCacheBitmap* BmpFrom() const { return FBmpFrom.get(); }

    int FadeLevel = 1;
    int Iterations = kFadeIterations;

protected:
    void Tick() override;

private:
    void ShowFrame(tk::TWinControl* control);
    std::unique_ptr<TacCacheBitmap> FBmpFrom;
    std::unique_ptr<TacCacheBitmap> FFrame;
    TFadeDirection FDirection = fdNone;
};

// The fade of window-less speed buttons: each step blends into TmpBmp, and the control paints
// TmpBmp itself when it is told to repaint.
class TsAnimTimer : public TacFadeTimerBase {
public:
    // A disabled timer of iterations steps (at least 1) starting at startLevel, clamped to
    // 1..iterations; BmpFrom := the control's cache as it is now.
    TsAnimTimer(tk::TComponent* owner, TsAnimTimer*& holder, TsCommonData* ownerData, int iterations, int startLevel);
    ~TsAnimTimer() override;

    void SetOwnerData(TsCommonData* value);
    // Enables the timer and shows the first step at once.
    void Start();
    void DoFade();
    void Repaint();
    bool ToEnd();
    TacCacheBitmap* BmpFrom() const { return FBmpFrom.get(); }
    TacCacheBitmap* TmpBmp() const { return FTmpBmp.get(); }

    int FadeLevel = 1;
    int Iterations = kFadeIterations;
    bool FadeInProcess = false;

protected:
    void Tick() override;

private:
    std::unique_ptr<TacCacheBitmap> FBmpFrom;
    std::unique_ptr<TacCacheBitmap> FTmpBmp;
};

// Called by a control after it changed its hover or pressed state. Nothing for an unskinned
// control. When allowed, no skin is loading, the session is not ending and the cache is valid, the
// fade (re)starts at step 1 from the cache's face and the control paints its new face into the
// cache (SC_PREPARECACHE; a non-zero reply stops the fade). Otherwise a running fade is stopped
// and the control repaints at once. Either way the hover glow follows (hidden when fast).
void FadeOnStateChange(TsFadeTimer*& timer, TsCommonData& skinData, bool fast, TFadeDirection direction,
                       bool allowed);
// Replaces a speed button's fade: the steps a running one had left become the start level;
// the new timer is disabled until the control has painted its new face and calls Start.
TsAnimTimer* RestartAnimTimer(TsAnimTimer*& timer, TsCommonData& skinData, bool fast);
// Disables the timer, sets its direction to fdNone and frees it (at once, or once its running
// tick has returned); nothing when it is already being destroyed. timer becomes null.
void StopFade(TsFadeTimer*& timer);
void StopFade(TsAnimTimer*& timer);
// At the end of the user's session ticks do nothing, so SC_FADEDONE never comes: the form
// frees every live fade and animation timer with this (their controls' variables are cleared).
void FreeAllFadeTimers();

}  // namespace sk
