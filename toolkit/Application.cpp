#include "toolkit/Application.h"

#include <objbase.h>
#include <ole2.h>

#include <algorithm>

#include "toolkit/Forms.h"
#include "toolkit/Threads.h"

namespace tk {

TApplication* Application = nullptr;

namespace {

// Offers every control on c, depth first, the dialog key until one takes it.
bool DispatchDialogKey(TWinControl& c, WPARAM key) {
    for (int i = 0; i < c.ControlCount(); ++i) {
        TControl* child = c.Controls(i);
        if (child->Perform(CM_DIALOGKEY, key, 0)) return true;
        if (auto* win = dynamic_cast<TWinControl*>(child); win && DispatchDialogKey(*win, key)) return true;
    }
    return false;
}

// Enter and Escape go to the buttons of the focused window's form first (default and cancel
// buttons), unless the focused window wants the key itself (a multi-line edit, an open list).
bool OfferDialogKey(MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) || !msg.hwnd) return false;
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    TWinControl* form = TWinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
    return form && DispatchDialogKey(*form, msg.wParam);
}
const wchar_t kApplicationClass[] = L"TApplication";

void RegisterApplicationClass(WNDPROC proc) {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    wc.lpszClassName = kApplicationClass;
    RegisterClassExW(&wc);
    done = true;
}
}  // namespace

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    SetMainThreadId(GetCurrentThreadId());
    SetSynchronizeOpen(true);
    EnsureScreen();
}

TApplication::~TApplication() {
    SetSynchronizeOpen(false);
    FreeReleasedForms();
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    // Hooks left now belong to objects already freed: the window's last messages skip them.
    FHooks.clear();
    if (FHandle) {
        SetSynchronizeWakeWindow(nullptr);
        DestroyWindow(FHandle);
        FHandle = nullptr;
    }
    if (FOleInitialized) OleUninitialize();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
    Handle();
}

HWND TApplication::Handle() {
    if (FHandle) return FHandle;
    RegisterApplicationClass(AppWndProc);
    // Hidden and top-level: it receives the session and setting broadcasts, owns the
    // forms kept off the taskbar and runs the application's own posted messages.
    HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, kApplicationClass, Title().c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!h) throw EOSError(Format(L"Error creating window: %s", {SysErrorMessage(GetLastError())}));
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FHandle = h;
    SetSynchronizeWakeWindow(h);
    return h;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!app || msg == WM_NCDESTROY) return DefWindowProcW(h, msg, wp, lp);
    TMessage m{msg, wp, lp, 0};
    try {
        app->AppWindowMessage(m);
    } catch (...) {
        app->HandleCurrentException();
    }
    return m.Result;
}

void TApplication::AppWindowMessage(TMessage& m) {
    if (RunHooks(m)) return;
    switch (m.Msg) {
        case CM_RELEASE: FreeReleasedForms(); return;
        case CM_SYNCHRONIZE: CheckSynchronize(); return;
        default: m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam); return;
    }
}

int TApplication::HookMainWindow(TWindowHook hook) {
    int id = FNextHookId++;
    FHooks.emplace_back(id, std::make_shared<TWindowHook>(std::move(hook)));
    return id;
}

void TApplication::UnhookMainWindow(int id) {
    FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [id](const auto& h) { return h.first == id; }),
                 FHooks.end());
}

bool TApplication::RunHooks(TMessage& m) {
    // Walk a copy: hooks may add or remove hooks. One removed meanwhile is skipped; the
    // copy keeps a running hook's function alive after it removed itself.
    auto hooks = FHooks;
    for (auto& [id, hook] : hooks) {
        bool stillHooked = std::any_of(FHooks.begin(), FHooks.end(), [id = id](const auto& h) { return h.first == id; });
        if (stillHooked && (*hook)(m)) return true;
    }
    return false;
}

void TApplication::QueueRelease(TForm* form) {
    if (std::find(FReleased.begin(), FReleased.end(), form) != FReleased.end()) return;
    FReleased.push_back(form);
    PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TApplication::CancelRelease(TForm* form) {
    FReleased.erase(std::remove(FReleased.begin(), FReleased.end(), form), FReleased.end());
}

void TApplication::FreeReleasedForms() {
    // Freeing one form may free others on the list (those it owns): they leave the list
    // from their destructors, so take one at a time.
    while (!FReleased.empty()) {
        TForm* form = FReleased.front();
        FReleased.erase(FReleased.begin());
        TComponent::Free(form);
    }
}

std::wstring TApplication::Title() const {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    size_t slash = p.find_last_of(L"\\/");
    if (slash != std::wstring::npos) p = p.substr(slash + 1);
    size_t dot = p.find_last_of(L'.');
    return dot == std::wstring::npos ? p : p.substr(0, dot);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    HWND owner = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(const std::wstring& message) {
    if (OnException) {
        OnException(message);
        return;
    }
    std::wstring text = message;
    if (!text.empty() && text.back() > L'.') text += L'.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleCurrentException() {
    try {
        throw;
    } catch (const Exception& e) {
        HandleException(e.Message());
    } catch (const std::exception& e) {
        HandleException(Utf8ToWide(e.what()));
    } catch (...) {
        HandleException(L"Unknown error");
    }
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (OfferDialogKey(msg)) return true;
    HWND main = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    if (!main || !IsDialogMessageW(main, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
    CheckSynchronize();
}

void TApplication::Run() {
    if (FMainForm) FMainForm->Show();
    while (!FTerminated) {
        MSG msg;
        if (ProcessMessage(msg)) continue;
        CheckSynchronize();
        if (!FTerminated) WaitMessage();
    }
}

void TApplication::Terminate() {
    SetSynchronizeOpen(false);
    if (!FTerminated) PostQuitMessage(0);
}

}  // namespace tk
