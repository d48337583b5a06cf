// Worker threads, and calls that a worker hands to the user-interface thread to run.
#pragma once
#include <atomic>

#include "toolkit/Classes.h"

namespace tk {

// The user-interface thread: the one that created the application object, else the
// first caller of this function.
DWORD MainThreadId();
// Runs every call that worker threads queued with Synchronize. On the user-interface
// thread only (elsewhere it does nothing); true when it ran any.
bool CheckSynchronize();
// Wiring for the application object: the window that a queued call wakes up (nullptr:
// the thread's queue), and whether queued calls run at all (not while terminating).
void SetSynchronizeWakeWindow(HWND window);
void SetSynchronizeOpen(bool open);
void SetMainThreadId(DWORD id);

class TThread : public TObject {
public:
    // createSuspended false: the thread starts from the user-interface thread's next pass
    // through its queue of synchronised calls (CheckSynchronize, the message loop or
    // WaitFor), when the derived object is surely complete.
    explicit TThread(bool createSuspended);
    // Asks a running thread to end and waits for it.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Resume() { Start(); }
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    // A Win32 thread priority (THREAD_PRIORITY_*), kept until the thread runs.
    void SetPriority(int winPriority);
    int Priority() const { return FPriority; }
    // Waits until Execute has returned. On the user-interface thread the queued
    // synchronised calls keep running meanwhile. A start still waiting in the queue is
    // made now, or dropped when Terminate was called. Returns at once if never started.
    void WaitFor();
    // The message of an error that escaped Execute, empty if none did.
    const std::wstring& FatalError() const { return FFatalError; }
    DWORD ThreadId() const { return FThreadId; }

    // From the worker: runs method on the user-interface thread and returns after it ran
    // (on the user-interface thread itself it just runs it). An error it raises is raised
    // again here. Returns without running it when the application is terminating.
    void Synchronize(const std::function<void()>& method);

protected:
    // The thread's work. A derived class whose Execute uses its own members calls
    // Terminate() and WaitFor() in its destructor: they are gone before ours runs.
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(void* self);
    void StartNow();
    void CancelQueuedStart();
    HANDLE FHandle = nullptr;
    DWORD FThreadId = 0;
    int FPriority = THREAD_PRIORITY_NORMAL;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FStartQueued{false};
    std::wstring FFatalError;
};

}  // namespace tk
