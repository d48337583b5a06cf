#include "toolkit/Threads.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <mutex>

#include "toolkit/Messages.h"

namespace tk {

namespace {

// A worker waiting in Synchronize; lives on its stack until done is set.
struct SyncWait {
    HANDLE done = nullptr;  // manual-reset: set once the call ran or was dropped
    bool ran = false;
    std::exception_ptr error;
};

// A call for the user-interface thread: a worker's Synchronize (wait set), or the
// deferred start of a thread (wait null).
struct QueuedCall {
    std::function<void()> method;
    const TThread* owner;
    SyncWait* wait;
};

std::mutex queueLock;
std::deque<QueuedCall> queue;
bool queueOpen = true;
std::atomic<HWND> wakeWindow{nullptr};
std::atomic<DWORD> mainThread{0};

// Set whenever a call is queued; WaitFor on the user-interface thread waits on it.
HANDLE QueueSignal() {
    static HANDLE signal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return signal;
}

void WakeMainThread() {
    SetEvent(QueueSignal());
    if (HWND w = wakeWindow.load()) PostMessageW(w, CM_SYNCHRONIZE, 0, 0);
    else PostThreadMessageW(MainThreadId(), WM_NULL, 0, 0);
}

bool OnMainThread() { return GetCurrentThreadId() == MainThreadId(); }

void RunQueuedCall(QueuedCall& call) {
    if (!call.wait) {
        call.method();
        return;
    }
    try {
        call.method();
    } catch (...) {
        call.wait->error = std::current_exception();
    }
    call.wait->ran = true;
    SetEvent(call.wait->done);
}

std::wstring CurrentErrorMessage() {
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return Utf8ToWide(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

}  // namespace

DWORD MainThreadId() {
    DWORD expected = 0;
    mainThread.compare_exchange_strong(expected, GetCurrentThreadId());
    return mainThread.load();
}

void SetMainThreadId(DWORD id) { mainThread = id; }

void SetSynchronizeWakeWindow(HWND window) { wakeWindow = window; }

void SetSynchronizeOpen(bool open) {
    std::lock_guard<std::mutex> guard(queueLock);
    queueOpen = open;
    if (open) return;
    // Waiting workers go on without their calls; deferred starts stay queued.
    for (auto it = queue.begin(); it != queue.end();) {
        if (!it->wait) {
            ++it;
            continue;
        }
        HANDLE done = it->wait->done;
        it = queue.erase(it);
        SetEvent(done);
    }
}

bool CheckSynchronize() {
    if (!OnMainThread()) return false;
    bool any = false;
    for (;;) {
        QueuedCall call;
        {
            std::lock_guard<std::mutex> guard(queueLock);
            if (queue.empty()) break;
            call = std::move(queue.front());
            queue.pop_front();
        }
        RunQueuedCall(call);
        any = true;
    }
    return any;
}

// --- TThread

TThread::TThread(bool createSuspended) {
    if (createSuspended) return;
    std::lock_guard<std::mutex> guard(queueLock);
    queue.push_back({[this] { StartNow(); }, this, nullptr});
    FStartQueued = true;
    WakeMainThread();
}

TThread::~TThread() {
    CancelQueuedStart();
    if (FHandle) {
        Terminate();
        WaitFor();
        CloseHandle(FHandle);
    }
}

void TThread::Start() {
    if (FHandle) return;
    CancelQueuedStart();
    StartNow();
}

void TThread::StartNow() {
    FStartQueued = false;
    if (FHandle) return;
    FHandle = CreateThread(nullptr, 0, ThreadProc, this, 0, &FThreadId);
    if (!FHandle) {
        FFatalError = Format(L"Cannot start a thread: %s", {SysErrorMessage(GetLastError())});
        FFinished = true;
        return;
    }
    if (FPriority != THREAD_PRIORITY_NORMAL) SetThreadPriority(FHandle, FPriority);
}

DWORD WINAPI TThread::ThreadProc(void* param) {
    auto* self = static_cast<TThread*>(param);
    try {
        self->Execute();
    } catch (...) {
        self->FFatalError = CurrentErrorMessage();
    }
    self->FFinished = true;
    return 0;
}

void TThread::SetPriority(int winPriority) {
    FPriority = winPriority;
    if (FHandle) SetThreadPriority(FHandle, winPriority);
}

void TThread::CancelQueuedStart() {
    std::lock_guard<std::mutex> guard(queueLock);
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [this](const QueuedCall& c) { return c.owner == this && !c.wait; }),
                queue.end());
    FStartQueued = false;
}

void TThread::WaitFor() {
    if (!FHandle && FStartQueued) {
        // Not started yet: a thread asked to end never starts; otherwise start it now.
        if (FTerminated) CancelQueuedStart();
        else Start();
    }
    if (!FHandle) return;
    if (!OnMainThread()) {
        WaitForSingleObject(FHandle, INFINITE);
        return;
    }
    HANDLE handles[2] = {FHandle, QueueSignal()};
    for (;;) {
        CheckSynchronize();
        DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (r != WAIT_OBJECT_0 + 1) break;  // the thread ended (or the wait failed)
    }
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (OnMainThread()) {
        method();
        return;
    }
    SyncWait wait;
    wait.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!wait.done) throw EOSError(Format(L"Cannot wait for the user-interface thread: %s",
                                          {SysErrorMessage(GetLastError())}));
    {
        std::lock_guard<std::mutex> guard(queueLock);
        if (!queueOpen) {
            CloseHandle(wait.done);
            return;
        }
        queue.push_back({method, this, &wait});
    }
    WakeMainThread();
    WaitForSingleObject(wait.done, INFINITE);
    CloseHandle(wait.done);
    if (wait.error) std::rethrow_exception(wait.error);
}

}  // namespace tk
