// A timer whose ticks are measured by a worker thread: the worker only waits on an event with
// the interval as time-out and hands every tick synchronously to the user-interface thread, so
// the handler runs there and touches no data from the worker. Form animations derive from it.
#pragma once
#include <functional>
#include <memory>

#include "toolkit/Threads.h"

namespace sk {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TacThreadedTimer;

// The worker of a threaded timer: waits, then runs the owner's tick on the user-interface
// thread. It is never suspended (it may hold a heap lock): it is woken through its event.
class TacTimerThread : public tk::TThread {
public:
    TacTimerThread(TacThreadedTimer* ownerTimer, unsigned interval, TThreadPriority priority);
    // Wakes the worker, then waits for its end, running the calls it queued meanwhile.
    ~TacTimerThread() override;
    // Asks the worker to end without waiting for it.
    void Wake();

    TacThreadedTimer* const OwnerTimer;
    const unsigned Interval;

protected:
    void Execute() override;

private:
    HANDLE FTimeEvent;
};

class TacThreadedTimer : public tk::TComponent {
public:
    // Enabled, 1000 ms, normal priority, no handler yet.
    explicit TacThreadedTimer(tk::TComponent* owner);
    // A disabled timer; with changeEvent its handler is the virtual TimeHandler.
    static TacThreadedTimer* CreateOwned(tk::TComponent* owner, bool changeEvent);
    ~TacThreadedTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority value);
    const tk::TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(tk::TNotifyEvent value);
    // Ends the worker and starts a new one (when the timer runs).
    void Reset();
    // The handler of timers made with CreateOwned(owner, true); descendants override it.
    virtual void TimeHandler() {}
    // A worker is running.
    bool Running() const { return FTimerThread != nullptr; }

    // The handler is running (ticks that arrive meanwhile are dropped).
    bool InHandler = false;
    // The timer's worker exists and may hand it ticks.
    bool Executing = false;

protected:
    // A descendant's timer; with changeEvent its handler is TimeHandler.
    TacThreadedTimer(tk::TComponent* owner, bool enabled, bool changeEvent);

private:
    friend class TacTimerThread;
    // The tick, on the user-interface thread.
    void DoTimer();
    // Ends the worker, and starts one again when the timer is enabled, has a non-zero
    // interval and a handler.
    void UpdateThread();
    void StopThread();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    TThreadPriority FThreadPriority = tpNormal;
    tk::TNotifyEvent FOnTimer;
    std::unique_ptr<TacTimerThread> FTimerThread;
    bool FStopping = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace sk
