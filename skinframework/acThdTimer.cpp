#include "skinframework/acThdTimer.h"

#include <vector>

#include "toolkit/Application.h"

namespace sk {

namespace {

int WinPriority(TThreadPriority p) {
    switch (p) {
        case tpIdle: return THREAD_PRIORITY_IDLE;
        case tpLowest: return THREAD_PRIORITY_LOWEST;
        case tpLower: return THREAD_PRIORITY_BELOW_NORMAL;
        case tpHigher: return THREAD_PRIORITY_ABOVE_NORMAL;
        case tpHighest: return THREAD_PRIORITY_HIGHEST;
        case tpTimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
        case tpNormal: break;
    }
    return THREAD_PRIORITY_NORMAL;
}

bool AppTerminating() { return tk::Application && tk::Application->Terminated(); }

// Workers told to end from inside their own tick: they cannot be waited for until that tick has
// returned, so they are kept here and freed once they have finished.
std::vector<std::unique_ptr<TacTimerThread>>& RetiredWorkers() {
    static std::vector<std::unique_ptr<TacTimerThread>> workers;
    return workers;
}

void FreeFinishedWorkers() {
    auto& workers = RetiredWorkers();
    std::erase_if(workers, [](const std::unique_ptr<TacTimerThread>& w) { return w->Finished(); });
}

}  // namespace

// ---- TacTimerThread ----

TacTimerThread::TacTimerThread(TacThreadedTimer* ownerTimer, unsigned interval, TThreadPriority priority)
    : tk::TThread(true), OwnerTimer(ownerTimer), Interval(interval),
      FTimeEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    SetPriority(WinPriority(priority));
}

TacTimerThread::~TacTimerThread() {
    Wake();
    // The worker may be inside Synchronize: WaitFor runs its call, which finds the timer
    // stopping and returns, and the worker then sees Terminated.
    WaitFor();
    if (FTimeEvent) CloseHandle(FTimeEvent);
}

void TacTimerThread::Wake() {
    Terminate();
    if (FTimeEvent) SetEvent(FTimeEvent);
}

void TacTimerThread::Execute() {
    if (!FTimeEvent) return;
    while (!Terminated()) {
        if (WaitForSingleObject(FTimeEvent, Interval) != WAIT_TIMEOUT || Terminated()) break;
        TacThreadedTimer* timer = OwnerTimer;
        Synchronize([timer] { timer->DoTimer(); });
    }
}

// ---- TacThreadedTimer ----

TacThreadedTimer::TacThreadedTimer(tk::TComponent* owner) : TacThreadedTimer(owner, true, false) {}

TacThreadedTimer::TacThreadedTimer(tk::TComponent* owner, bool enabled, bool changeEvent)
    : tk::TComponent(owner), FEnabled(enabled) {
    // Disabled here, so no worker starts before a descendant is complete.
    if (changeEvent) FOnTimer = [this](tk::TObject*) { TimeHandler(); };
}

TacThreadedTimer* TacThreadedTimer::CreateOwned(tk::TComponent* owner, bool changeEvent) {
    return new TacThreadedTimer(owner, false, changeEvent);
}

TacThreadedTimer::~TacThreadedTimer() {
    *FAlive = false;
    StopThread();
}

void TacThreadedTimer::SetEnabled(bool value) {
    FEnabled = value;
    UpdateThread();
}

void TacThreadedTimer::SetInterval(unsigned value) {
    FInterval = value;
    UpdateThread();
}

void TacThreadedTimer::SetThreadPriority(TThreadPriority value) {
    FThreadPriority = value;
    UpdateThread();
}

void TacThreadedTimer::SetOnTimer(tk::TNotifyEvent value) {
    FOnTimer = std::move(value);
    UpdateThread();
}

void TacThreadedTimer::Reset() { UpdateThread(); }

void TacThreadedTimer::StopThread() {
    Executing = false;
    if (!FTimerThread) return;
    if (InHandler) {
        // Called from the handler: the worker waits for this very tick to return.
        FTimerThread->Wake();
        RetiredWorkers().push_back(std::move(FTimerThread));
        return;
    }
    FreeFinishedWorkers();
    FStopping = true;
    FTimerThread.reset();
    FStopping = false;
}

void TacThreadedTimer::UpdateThread() {
    StopThread();
    if (!FEnabled || FInterval == 0 || !FOnTimer || AppTerminating() || Destroying()) return;
    FTimerThread = std::make_unique<TacTimerThread>(this, FInterval, FThreadPriority);
    Executing = true;
    FTimerThread->Start();
}

void TacThreadedTimer::DoTimer() {
    // A tick that was queued before the worker was told to end is dropped.
    if (FStopping || InHandler || !FOnTimer || AppTerminating()) return;
    const auto alive = FAlive;
    InHandler = true;
    // A copy: the handler may replace itself or free the timer.
    const tk::TNotifyEvent handler = FOnTimer;
    try {
        handler(this);
    } catch (...) {
        // Shown here: raised again in the worker it would end the timer.
        if (tk::Application) tk::Application->HandleCurrentException();
    }
    if (*alive) InHandler = false;
}

}  // namespace sk
