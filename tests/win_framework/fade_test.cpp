// State fades on real window timers: how many frames a fade shows and what they hold, restarts,
// the cases that must not fade, a control disabled or destroyed while it fades, the end of the
// user's session, the animation rules and the speed buttons' animation timer.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skinframework/sFade.h"
#include "skinframework/sSkinState.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"
#include "toolkit/Application.h"

using namespace sk;

namespace {

constexpr uint32_t kFaceA = 0xFF2040C0, kFaceB = 0xFFE0A010, kFaceC = 0xFF10F070;

// The blend of one channel as the fade defines it, written out plainly.
uint32_t ReferenceBlend(uint32_t oldPixel, uint32_t newPixel, int weight) {
    uint32_t out = oldPixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int o = (oldPixel >> shift) & 0xFF, n = (newPixel >> shift) & 0xFF;
        out |= static_cast<uint32_t>(((o - n) * weight + n * 256) >> 8) << shift;
    }
    return out;
}

// A skinned control whose face is one colour. It paints Face into its cache on SC_PREPARECACHE,
// records every fade frame and SC_FADEDONE, and frees its timer on SC_FADEDONE as buttons do.
class TFadingControl : public tk::TWinControl {
public:
    TFadingControl(tk::TWinControl* parent, RECT bounds) : tk::TWinControl(parent), SkinData(this, true, kvfw::kButtonKind) {
        BeginLoading();
        SkinData.SetSkinSection(L"BUTTON");
        SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        SetParent(parent);
        Loaded();
        SkinData.Loaded();
        PaintFace();
    }
    ~TFadingControl() override {
        StopFade(Timer);
        StopFade(AnimTimer);
    }

    // The face changes and the control asks for a fade, as a button does on hover.
    void ChangeFace(uint32_t face, bool fast, bool allowed = true) {
        Face = face;
        FadeOnStateChange(Timer, SkinData, fast, fdUp, allowed);
    }
    void PaintFace() {
        if (!SkinData.BGChanged) return;
        TacCacheBitmap* cache = SkinData.InitCacheBmp();
        if (!cache || cache->Empty()) return;
        for (int y = 0; y < cache->Height(); ++y)
            for (int x = 0; x < cache->Width(); ++x) cache->ScanLine(y)[x] = Face;
        SkinData.BGChanged = false;
    }
    uint32_t CacheFace() { return SkinData.FCacheBmp->ScanLine(0)[0]; }

    void WndProc(tk::TMessage& m) override {
        if (m.Msg == SM_SKINCMD && HandleFadeCommand(m)) return;
        if (HandleCommonMessage(m, SkinData)) return;
        tk::TWinControl::WndProc(m);
    }
    void PaintBackground(HDC dc, const RECT&) override {
        PaintFace();
        CopyCacheToDC(SkinData, dc, 0, 0, RECT{0, 0, Width(), Height()});
    }

    TsCtrlSkinData SkinData;
    TsFadeTimer* Timer = nullptr;
    TsAnimTimer* AnimTimer = nullptr;
    uint32_t Face = kFaceA;
    LRESULT PrepareReply = 0;
    bool KeepTimerWhenDone = false;
    std::vector<uint32_t> Frames;  // pixel (0, 0) of every fade frame shown
    std::vector<int> Levels;       // the timer's level at each frame
    int FadeDone = 0, Invalidates = 0, UpdatingOff = 0;
    std::function<void()> OnFrame;

private:
    bool HandleFadeCommand(tk::TMessage& m) {
        switch (SkinCmdOf(m.WParam)) {
            case SC_PREPARECACHE: PaintFace(); m.Result = PrepareReply; return true;
            case SC_PAINTFADEFRAME: {
                const auto* frame = reinterpret_cast<TacCacheBitmap*>(m.LParam);
                Frames.push_back(frame->ScanLine(0)[0]);
                Levels.push_back(Timer ? Timer->FadeLevel : -1);
                m.Result = 0;
                if (OnFrame) OnFrame();
                return true;
            }
            case SC_FADEDONE:
                ++FadeDone;
                if (!KeepTimerWhenDone) {
                    StopFade(Timer);
                    StopFade(AnimTimer);
                }
                return true;
            case SC_SETUPDATING: UpdatingOff += SkinCmdArg(m.WParam) == 0; return true;
            case SC_INVALIDATE: ++Invalidates; return true;
            default: return false;
        }
    }
};

// Runs the message loop until done() or, as a guard against a hang, a long while has passed.
template <class Done> void PumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 10000) {
        tk::Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Lets the loop run for a number of timer periods (to see that nothing more happens).
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; });
}

struct FadeFixture : ::testing::Test {
    std::unique_ptr<TsSkinManager> manager = kvfw::MakeManager();
    std::unique_ptr<kvfw::TTestForm> form = std::make_unique<kvfw::TTestForm>();
    TFadingControl* control = new TFadingControl(form.get(), RECT{10, 10, 70, 40});

    void TearDown() override {
        EXPECT_EQ(TacFadeTimerBase::LiveCount(), 0) << "every fade timer is freed";
    }
    void RunFade() {
        PumpUntil([&] { return control->FadeDone > 0; });
    }
};

}  // namespace

TEST(FadeBlend, EveryPixelMatchesThePlainFormulaForEveryLevel) {
    struct Case {
        const char* what;
        int level, iterations;
        bool bottomUp;
    } cases[] = {
        {"first of 11", 1, 11, true},  {"middle of 11", 6, 11, false}, {"last of 11", 11, 11, true},
        {"first of 5", 1, 5, false},   {"last of 5", 5, 5, true},      {"beyond the last", 14, 11, false},
        {"negative level", -3, 11, true},
    };
    for (const auto& c : cases) {
        rd::TMemBitmap32 from(7, 5, c.bottomUp), face(7, 5, !c.bottomUp), frame(7, 5, c.bottomUp);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                from.Row(y)[x] = 0x80000000u | uint32_t(x * 37 + y * 11) << 16 | uint32_t(255 - x * 30) << 8 | uint32_t(y * 50);
                face.Row(y)[x] = 0x11000000u | uint32_t(y * 60) << 16 | uint32_t(x * 36) << 8 | uint32_t(200 - x * y * 5);
            }
        ASSERT_TRUE(BlendFadeFrame(&frame, &from, &face, c.level, c.iterations)) << c.what;
        const int newShare = std::clamp(c.level * 255 / c.iterations, 0, 255);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(frame.Row(y)[x], ReferenceBlend(from.Row(y)[x], face.Row(y)[x], 255 - newShare))
                    << c.what << " at " << x << "," << y;
    }
}

TEST(FadeBlend, TheLastLevelShowsTheNewFaceAndTheFirstMostlyTheOld) {
    rd::TMemBitmap32 from(2, 2), face(2, 2), frame(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) from.Row(y)[x] = 0xFF000000u, face.Row(y)[x] = 0xFFC8C8C8u;
    BlendFadeFrame(&frame, &from, &face, kFadeIterations, kFadeIterations);
    EXPECT_EQ(frame.Row(1)[1], 0xFFC8C8C8u);
    BlendFadeFrame(&frame, &from, &face, 1, kFadeIterations);
    const int grey = frame.Row(0)[0] & 0xFF;
    EXPECT_GT(grey, 0);
    EXPECT_LT(grey, 0xC8 / 5) << "level 1 of 11 shows about 9 % of the new face";
}

TEST(FadeBlend, FacesOfAnotherSizeLeaveTheOldFace) {
    rd::TMemBitmap32 from(4, 3), frame(4, 3), wider(5, 3), taller(4, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) from.Row(y)[x] = 0xFF000000u | uint32_t(x + 10 * y);
    for (rd::TMemBitmap32* face : {&wider, &taller}) {
        EXPECT_FALSE(BlendFadeFrame(&frame, &from, face, 5, 11));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(frame.Row(y)[x], from.Row(y)[x]);
    }
    EXPECT_FALSE(BlendFadeFrame(&frame, &from, nullptr, 5, 11)) << "no new face at all";
    rd::TMemBitmap32 smallFrame(2, 2);
    EXPECT_FALSE(BlendFadeFrame(&smallFrame, &from, &from, 5, 11)) << "a frame of another size is not written";
}

TEST(FadeBlend, WeightsStayWithinAByteAndNeverDivideByZero) {
    struct Case {
        int level, iterations, weight;
    } cases[] = {{1, 11, 232}, {11, 11, 0}, {0, 11, 255}, {12, 11, 0}, {-1, 5, 255}, {3, 0, 0}, {3, -2, 0}, {1, 5, 204}};
    for (const auto& c : cases) EXPECT_EQ(FadeWeight(c.level, c.iterations), c.weight) << c.level << "/" << c.iterations;
}

TEST_F(FadeFixture, AFullFadeShowsElevenFramesThenSendsFadeDoneOnce) {
    control->ChangeFace(kFaceB, false);
    ASSERT_NE(control->Timer, nullptr);
    EXPECT_EQ(control->CacheFace(), kFaceB) << "the new face is painted at the start";
    RunFade();
    ASSERT_EQ(control->Frames.size(), 11u);
    for (int level = 1; level <= 11; ++level)
        EXPECT_EQ(control->Frames[level - 1], ReferenceBlend(kFaceA, kFaceB, 255 - level * 255 / 11)) << level;
    EXPECT_EQ(control->Frames.back(), kFaceB);
    EXPECT_EQ(control->FadeDone, 1);
    EXPECT_EQ(control->Timer, nullptr);
    PumpFor(100);
    EXPECT_EQ(control->FadeDone, 1);
    EXPECT_EQ(kvfw::ScreenPixel(control->Handle(), 5, 5), (kFaceB & 0xFFFFFF)) << "the last frame is on the screen";
}

TEST_F(FadeFixture, AFastFadeShowsFiveFrames) {
    control->ChangeFace(kFaceB, true);
    RunFade();
    ASSERT_EQ(control->Frames.size(), 5u);
    EXPECT_EQ(control->Frames[0], ReferenceBlend(kFaceA, kFaceB, 255 - 255 / 5));
    EXPECT_EQ(control->Frames.back(), kFaceB);
    EXPECT_EQ(control->FadeDone, 1);
}

TEST_F(FadeFixture, FadeDoneComesOnceEvenWhenTheControlKeepsItsTimer) {
    control->KeepTimerWhenDone = true;
    control->ChangeFace(kFaceB, true);
    RunFade();
    PumpFor(150);
    EXPECT_EQ(control->FadeDone, 1);
    EXPECT_EQ(control->Frames.size(), 5u);
    StopFade(control->Timer);
}

TEST_F(FadeFixture, ARestartBeginsAtStepOneFromTheFaceInTheCache) {
    bool restarted = false;
    control->OnFrame = [&] {
        if (control->Frames.size() == 3 && !restarted) restarted = true;
    };
    control->ChangeFace(kFaceB, false);
    PumpUntil([&] { return restarted; });
    control->OnFrame = nullptr;
    TsFadeTimer* before = control->Timer;
    control->ChangeFace(kFaceC, false);  // the mouse leaves again before the fade ended
    EXPECT_EQ(control->Timer, before) << "the running timer is reused";
    EXPECT_EQ(control->Timer->FadeLevel, 1);
    RunFade();
    ASSERT_EQ(control->Frames.size(), 3u + 11u);
    EXPECT_EQ(control->Levels[3], 1) << "the fade starts again at step 1";
    // The old picture is B, the face the interrupted fade was heading to, not its blended frame.
    EXPECT_EQ(control->Frames[3], ReferenceBlend(kFaceB, kFaceC, 255 - 255 / 11));
    EXPECT_EQ(control->Frames.back(), kFaceC);
    EXPECT_EQ(control->FadeDone, 1);
}

TEST_F(FadeFixture, ChangesThatMayNotFadeRepaintAtOnce) {
    struct Case {
        const char* what;
        bool allowed, skinLoading, logonEnding, staleCache;
    } cases[] = {
        {"animation not allowed", false, false, false, false},
        {"a skin is being loaded", true, true, false, false},
        {"the session is ending", true, false, true, false},
        {"the cache is stale", true, false, false, true},
    };
    for (const auto& c : cases) {
        control->Face = kFaceA;
        control->SkinData.BGChanged = true;
        control->PaintFace();
        control->ChangeFace(kFaceB, false);  // a running fade that the change below must stop
        ASSERT_NE(control->Timer, nullptr) << c.what;
        control->Frames.clear();
        acSkinLoading = c.skinLoading;
        tk::Application->SetLogonEnding(c.logonEnding);
        control->SkinData.BGChanged = c.staleCache;
        control->ChangeFace(kFaceC, false, c.allowed);
        acSkinLoading = false;
        tk::Application->SetLogonEnding(false);
        EXPECT_EQ(control->Timer, nullptr) << c.what;
        EXPECT_EQ(TacFadeTimerBase::LiveCount(), 0) << c.what;
        PumpFor(60);
        EXPECT_TRUE(control->Frames.empty()) << c.what;
        EXPECT_EQ(control->CacheFace(), kFaceC) << c.what << ": repainted with the new face";
    }
}

TEST_F(FadeFixture, ARefusedNewFaceEndsTheFade) {
    control->PrepareReply = 1;
    control->ChangeFace(kFaceB, false);
    EXPECT_EQ(control->Timer, nullptr);
    PumpFor(60);
    EXPECT_TRUE(control->Frames.empty());
}

TEST_F(FadeFixture, AControlDisabledDuringTheFadeEndsItAndRepaints) {
    control->OnFrame = [&] {
        if (control->Frames.size() == 2) control->SetEnabled(false);
    };
    control->ChangeFace(kFaceB, false);
    RunFade();
    EXPECT_EQ(control->Frames.size(), 2u) << "no frame after the control was disabled";
    EXPECT_EQ(control->FadeDone, 1);
    EXPECT_EQ(control->Timer, nullptr);
    PumpFor(60);
    EXPECT_EQ(kvfw::ScreenPixel(control->Handle(), 5, 5), (kFaceB & 0xFFFFFF)) << "the face is repainted whole";
}

TEST_F(FadeFixture, AControlFreedBetweenTwoStepsTakesItsTimerAlong) {
    control->ChangeFace(kFaceB, false);
    PumpUntil([&] { return control->Frames.size() >= 2; });
    delete control;
    control = nullptr;
    EXPECT_EQ(TacFadeTimerBase::LiveCount(), 0);
    PumpFor(80);
}

namespace {

// The observer window of the test below: told after each fade step, it frees the control there
// and then.
TFadingControl* observedVictim = nullptr;
int observerRefreshes = 0;

LRESULT CALLBACK FreeingObserverProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == SM_SKINCMD && SkinCmdOf(wp) == SC_REFRESH) {
        ++observerRefreshes;
        delete observedVictim;
        observedVictim = nullptr;
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

TEST_F(FadeFixture, AControlFreedInsideItsOwnFadeStepDoesNoHarm) {
    observedVictim = control;
    observerRefreshes = 0;
    WNDCLASSW wc{};
    wc.lpszClassName = L"KvFadeObserver";
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = FreeingObserverProc;
    RegisterClassW(&wc);
    HWND observer = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    acObserverWindow = observer;
    control->ChangeFace(kFaceB, false);
    control = nullptr;
    PumpUntil([&] { return observerRefreshes > 0; });
    PumpFor(80);
    acObserverWindow = nullptr;
    DestroyWindow(observer);
    EXPECT_EQ(observerRefreshes, 1);
    EXPECT_EQ(observedVictim, nullptr);
}

TEST_F(FadeFixture, AtTheEndOfTheSessionTicksStopAndTheTimersAreFreedDirectly) {
    auto* second = new TFadingControl(form.get(), RECT{10, 60, 70, 90});
    control->ChangeFace(kFaceB, false);
    second->ChangeFace(kFaceC, false);
    PumpUntil([&] { return control->Frames.size() >= 1 && second->Frames.size() >= 1; });
    tk::Application->SetLogonEnding(true);
    const size_t shown = control->Frames.size();
    PumpFor(100);
    EXPECT_EQ(control->Frames.size(), shown) << "ticks do nothing while the session ends";
    EXPECT_EQ(control->FadeDone, 0);
    EXPECT_EQ(TacFadeTimerBase::LiveCount(), 2);
    FreeAllFadeTimers();
    tk::Application->SetLogonEnding(false);
    EXPECT_EQ(TacFadeTimerBase::LiveCount(), 0);
    EXPECT_EQ(control->Timer, nullptr) << "the control's variable is cleared";
    EXPECT_EQ(second->Timer, nullptr);
    delete second;
}

TEST_F(FadeFixture, TheAnimationTimerStartsWithinItsSteps) {
    struct Case {
        const char* what;
        int iterations, start, expectedStart;
    } cases[] = {
        {"no running fade (-1 left)", 11, -1, 1}, {"more left than the halved count", 5, 10, 5},
        {"within the count", 5, 3, 3},           {"no steps at all", 0, 1, 1},
        {"zero left", 11, 0, 1},
    };
    for (const auto& c : cases) {
        control->Face = kFaceA;
        control->SkinData.BGChanged = true;
        control->PaintFace();
        auto* t = new TsAnimTimer(control, control->AnimTimer, &control->SkinData, c.iterations, c.start);
        control->AnimTimer = t;
        EXPECT_EQ(t->FadeLevel, c.expectedStart) << c.what;
        EXPECT_GE(t->Iterations, 1) << c.what;
        control->Face = kFaceB;
        control->SkinData.BGChanged = true;
        control->PaintFace();
        t->Start();
        EXPECT_EQ(t->TmpBmp()->ScanLine(0)[0],
                  ReferenceBlend(kFaceA, kFaceB, 255 - c.expectedStart * 255 / std::max(c.iterations, 1)))
            << c.what;
        StopFade(control->AnimTimer);
    }
}

TEST_F(FadeFixture, ARestartedAnimationTakesTheStepsThatWereLeft) {
    RestartAnimTimer(control->AnimTimer, control->SkinData, false);
    ASSERT_NE(control->AnimTimer, nullptr);
    EXPECT_EQ(control->AnimTimer->FadeLevel, 1) << "nothing ran before";
    control->AnimTimer->FadeLevel = 4;  // 7 of 11 steps left
    TsAnimTimer* fast = RestartAnimTimer(control->AnimTimer, control->SkinData, true);
    EXPECT_EQ(fast->Iterations, 5);
    EXPECT_EQ(fast->FadeLevel, 5) << "7 left, clamped to the 5 steps of a fast fade";
    EXPECT_EQ(TacFadeTimerBase::LiveCount(), 1) << "the old timer is freed";
    StopFade(control->AnimTimer);
}

TEST_F(FadeFixture, AnAnimationRepaintsItsControlOncePerStepAndEndsOnce) {
    TsAnimTimer* t = RestartAnimTimer(control->AnimTimer, control->SkinData, false);
    control->Face = kFaceB;
    control->SkinData.BGChanged = true;
    control->PaintFace();
    t->Start();
    RunFade();
    EXPECT_EQ(control->Invalidates, 11);
    EXPECT_EQ(control->UpdatingOff, 11);
    EXPECT_EQ(control->FadeDone, 1);
    EXPECT_EQ(control->AnimTimer, nullptr);
}

TEST(AnimationRules, EventsOfTheControlOrOfTheManager) {
    auto manager = kvfw::MakeManager();
    const TacAnimatEvents none = 0, enter = AnimatEventSet(aeMouseEnter), global = AnimatEventSet(aeGlobalDef);
    const uint8_t allButtons = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
    struct Case {
        const char* what;
        int event;
        TacAnimatEvents control;
        uint8_t managerEvents;
        bool allowed;
    } cases[] = {
        {"the control's own event", aeMouseEnter, enter, 0, true},
        {"not in the set, no global default", aeMouseLeave, enter, allButtons, false},
        {"empty set", aeMouseDown, none, allButtons, false},
        {"global default, manager enter on", aeMouseEnter, global, beMouseEnter, true},
        {"global default, manager leave off", aeMouseLeave, global, beMouseEnter, false},
        {"global default, manager down on", aeMouseDown, global, beMouseDown, true},
        {"global default, manager up on", aeMouseUp, global, beMouseUp, true},
        {"global default, manager up off", aeMouseUp, global, beMouseDown, false},
        {"global default, event without a button event", 5, global, allButtons, false},
        {"event out of range", 9, global, allButtons, false},
        {"negative event", -1, AnimatEventSet(aeMouseEnter), allButtons, false},
    };
    for (const auto& c : cases) {
        manager->AnimEffects.ButtonEvents = c.managerEvents;
        EXPECT_EQ(AnimationAllowed(c.event, c.control, manager.get()), c.allowed) << c.what;
        EXPECT_EQ(AnimationAllowed(c.event, c.control), c.allowed) << c.what << " (default manager)";
    }
}
