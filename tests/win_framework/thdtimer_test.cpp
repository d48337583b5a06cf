// The threaded timer: its handler runs on the user-interface thread, it runs only when it can,
// and it can be stopped or freed at any moment (from its own handler, or while the worker waits
// for the user-interface thread) without a deadlock.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skinframework/acThdTimer.h"
#include "toolkit/Application.h"

using namespace sk;

namespace {

template <class Done> void PumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 10000) {
        tk::Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; });
}

// A descendant that counts its ticks in TimeHandler, as the form animations do.
class TCountingAnimation : public TacThreadedTimer {
public:
    TCountingAnimation() : TacThreadedTimer(nullptr, false, true) {}
    void TimeHandler() override { ++Ticks; }
    int Ticks = 0;
};

}  // namespace

TEST(ThreadedTimer, TheHandlerRunsOnTheUserInterfaceThread) {
    std::vector<DWORD> threads;
    auto timer = std::make_unique<TacThreadedTimer>(nullptr);
    timer->SetInterval(5);
    timer->SetOnTimer([&](tk::TObject* sender) {
        EXPECT_EQ(sender, timer.get());
        threads.push_back(GetCurrentThreadId());
    });
    ASSERT_TRUE(timer->Running());
    PumpUntil([&] { return threads.size() >= 3; });
    timer.reset();
    ASSERT_GE(threads.size(), 3u);
    for (DWORD id : threads) EXPECT_EQ(id, GetCurrentThreadId());
}

TEST(ThreadedTimer, RunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
    struct Case {
        const char* what;
        bool enabled;
        unsigned interval;
        bool handler;
        bool running;
    } cases[] = {
        {"all set", true, 20, true, true},
        {"disabled", false, 20, true, false},
        {"interval 0", true, 0, true, false},
        {"no handler", true, 20, false, false},
    };
    for (const auto& c : cases) {
        int ticks = 0;
        TacThreadedTimer timer(nullptr);
        timer.SetEnabled(c.enabled);
        timer.SetInterval(c.interval);
        if (c.handler) timer.SetOnTimer([&](tk::TObject*) { ++ticks; });
        EXPECT_EQ(timer.Running(), c.running) << c.what;
        EXPECT_EQ(timer.Executing, c.running) << c.what;
        if (!c.running) {
            PumpFor(60);
            EXPECT_EQ(ticks, 0) << c.what;
        }
    }
}

TEST(ThreadedTimer, FreedWhileItsWorkerWaitsForTheUserInterfaceThread) {
    int ticks = 0;
    auto timer = std::make_unique<TacThreadedTimer>(nullptr);
    timer->SetInterval(1);
    timer->SetOnTimer([&](tk::TObject*) { ++ticks; });
    // No message runs meanwhile: the worker is left waiting inside its synchronised call.
    Sleep(50);
    timer.reset();  // returns: the wait runs the queued tick, which finds the timer ending
    EXPECT_EQ(ticks, 0) << "a timer being freed runs no handler";
    PumpFor(30);
    EXPECT_EQ(ticks, 0) << "nothing of the freed timer is left in the queue";
}

TEST(ThreadedTimer, ChangedFromItsOwnHandler) {
    struct Case {
        const char* what;
        std::function<void(std::unique_ptr<TacThreadedTimer>&)> change;
        bool stillRunning;
    } cases[] = {
        {"disables itself", [](auto& t) { t->SetEnabled(false); }, false},
        {"changes its interval", [](auto& t) { t->SetInterval(3); }, true},
        {"resets itself", [](auto& t) { t->Reset(); }, true},
        {"frees itself", [](auto& t) { t.reset(); }, false},
    };
    for (const auto& c : cases) {
        int ticks = 0;
        auto timer = std::make_unique<TacThreadedTimer>(nullptr);
        timer->SetInterval(2);
        timer->SetOnTimer([&](tk::TObject*) {
            if (++ticks == 1) c.change(timer);
        });
        PumpUntil([&] { return ticks >= 1; });
        if (c.stillRunning) {
            PumpUntil([&] { return ticks >= 3; });
            EXPECT_GE(ticks, 3) << c.what;
        } else {
            PumpFor(60);
            EXPECT_EQ(ticks, 1) << c.what;
        }
        timer.reset();
    }
}

TEST(ThreadedTimer, AnErrorInTheHandlerIsShownAndTheTicksGoOn) {
    std::vector<std::wstring> shown;
    tk::Application->OnException = [&](const std::wstring& m) { shown.push_back(m); };
    int ticks = 0;
    {
        TacThreadedTimer timer(nullptr);
        timer.SetInterval(2);
        timer.SetOnTimer([&](tk::TObject*) {
            if (++ticks == 1) throw tk::EInvalidOperation(L"tick failed");
        });
        PumpUntil([&] { return ticks >= 3; });
    }
    tk::Application->OnException = nullptr;
    EXPECT_GE(ticks, 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], L"tick failed");
}

TEST(ThreadedTimer, OwnedTimersStartDisabledAndCallTimeHandler) {
    TacThreadedTimer* plain = TacThreadedTimer::CreateOwned(nullptr, false);
    EXPECT_FALSE(plain->Enabled());
    EXPECT_FALSE(plain->OnTimer()) << "no handler without the change event";
    delete plain;

    TCountingAnimation animation;
    EXPECT_FALSE(animation.Running());
    PumpFor(30);
    EXPECT_EQ(animation.Ticks, 0);
    animation.SetInterval(2);
    animation.SetEnabled(true);
    PumpUntil([&] { return animation.Ticks >= 2; });
    EXPECT_GE(animation.Ticks, 2);
}

TEST(ThreadedTimer, AnOwnerFreesItsTimer) {
    int ticks = 0;
    auto owner = std::make_unique<tk::TComponent>(nullptr);
    auto* timer = new TacThreadedTimer(owner.get());
    timer->SetInterval(2);
    timer->SetOnTimer([&](tk::TObject*) { ++ticks; });
    PumpUntil([&] { return ticks >= 1; });
    owner.reset();
    const int seen = ticks;
    PumpFor(30);
    EXPECT_EQ(ticks, seen);
}
