// The application object: message loop, error reporting and the hidden application window.
#pragma once
#include <memory>
#include <utility>

#include "toolkit/Classes.h"
#include "toolkit/Messages.h"

namespace tk {

class TForm;

// Sees a message of the application window first; true when it handled it (m.Result).
using TWindowHook = std::function<bool(TMessage&)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    // Initialises COM for the user-interface thread and creates the application window.
    void Initialize();
    template <class F> F* CreateForm() {
        F* form = new F(this);
        if (!FMainForm) FMainForm = form;
        return form;
    }
    TForm* MainForm() const { return FMainForm; }
    void Run();
    // Runs every message that is waiting and the calls worker threads queued, then
    // returns. A quit request is remembered.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // The top-level handler for errors that escape a message handler.
    void HandleException(const std::wstring& message);
    // Called from a catch block: shows the error being handled (window procedures and timer
    // callbacks must not let an exception escape into the system).
    void HandleCurrentException();
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
    std::wstring Title() const;
    // When set, errors are not shown in a box but passed here (tests).
    std::function<void(const std::wstring&)> OnException;

    // The hidden top-level application window (created on first use).
    HWND Handle();
    // Hooks see every message of the application window, in the order they were added,
    // before its own handling. A hook may unhook itself or others while it runs.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id);

    // Set while the user's session is ending (logoff or shutdown under way).
    bool LogonEnding() const { return FLogonEnding; }
    void SetLogonEnding(bool v) { FLogonEnding = v; }

private:
    friend class TForm;
    static LRESULT CALLBACK AppWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void AppWindowMessage(TMessage& m);
    bool RunHooks(TMessage& m);
    bool ProcessMessage(MSG& msg);
    // Forms waiting for Release to free them; a form leaves the list when it is freed.
    void QueueRelease(TForm* form);
    void CancelRelease(TForm* form);
    void FreeReleasedForms();

    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FOleInitialized = false;
    bool FLogonEnding = false;
    HWND FHandle = nullptr;
    std::vector<std::pair<int, std::shared_ptr<TWindowHook>>> FHooks;
    int FNextHookId = 1;
    std::vector<TForm*> FReleased;
};

extern TApplication* Application;

}  // namespace tk
