// What the skin manager's tests share: forms that keep a journal of the skin messages and
// redraw switches they receive, a control that runs a probe when a sub-command arrives (or
// fails on it), and a skin provider of the tests' own that the hook's factory makes.
#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "skinframework/sSkinManager.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

namespace kvfw {

// A shown test form that writes the skin messages it gets into a journal under its name and
// keeps every WM_SETREDRAW switch and paint it sees.
class TJournalForm : public TTestForm {
public:
    explicit TJournalForm(const std::wstring& name, TJournal* journal = nullptr) : FJournal(journal) {
        SetName(name);
    }
    std::vector<bool> RedrawSwitches;  // true: drawing switched on
    int Paints = 0;
    bool AnswersIsHandled = false;     // behaves like a form that already has a provider

    void WndProc(tk::TMessage& m) override {
        if (m.Msg == sk::SM_SKINCMD && FJournal) FJournal->emplace_back(Name(), sk::SkinCmdOf(m.WParam));
        if (m.Msg == WM_SETREDRAW) RedrawSwitches.push_back(m.WParam != 0);
        if (m.Msg == WM_PAINT) ++Paints;
        if (m.Msg == sk::SM_SKINCMD && AnswersIsHandled && sk::SkinCmdOf(m.WParam) == sk::SC_ISHANDLED) {
            m.Result = 1;
            return;
        }
        TTestForm::WndProc(m);
    }

private:
    TJournal* FJournal;
};

// A window-less test control that calls Probe with each sub-command before handling it.
class TProbeGraphic : public TTestGraphicControl {
public:
    using TTestGraphicControl::TTestGraphicControl;
    std::function<void(WORD cmd)> Probe;
    void WndProc(tk::TMessage& m) override {
        if (m.Msg == sk::SM_SKINCMD && Probe) Probe(sk::SkinCmdOf(m.WParam));
        TTestGraphicControl::WndProc(m);
    }
};

// A window-less control that raises when it gets one sub-command (a faulty control).
inline TProbeGraphic* FailingControl(tk::TWinControl* parent, WORD failOn) {
    auto* c = new TProbeGraphic(parent, kButtonKind, {2, 2, 20, 20}, L"", L"Failing");
    c->Probe = [failOn](WORD cmd) {
        if (cmd == failOn) throw std::runtime_error("a control failed");
    };
    return c;
}

// What the tests' providers report.
struct TProviderLog {
    std::vector<tk::TForm*> Made;     // forms the factory was called for, in order
    int Destroyed = 0;
    int DestroyedWhileHandling = 0;   // freed while running its own window procedure
    std::vector<std::wstring> Events; // "REMOVESKIN <form>", "NEWSKIN <form>", "freed <form>"
};

// A provider as the form-skinning layer makes one: owned by its form, running the form's
// messages through itself, and telling the manager when it is destroyed.
class TTestProvider : public tk::TComponent {
public:
    TTestProvider(tk::TForm* form, TProviderLog& log) : tk::TComponent(form), FForm(form), FLog(log) {
        FOldProc = form->WindowProc;
        form->WindowProc = [this](tk::TMessage& m) { Handle(m); };
    }
    ~TTestProvider() override {
        *FAlive = false;
        if (FHandling) ++FLog.DestroyedWhileHandling;
        ++FLog.Destroyed;
        FLog.Events.push_back(L"freed " + FForm->Name());
        FForm->WindowProc = FOldProc;
        sk::TsSkinManager::ProviderDestroyed(this);
    }
    // Runs inside the provider's own window procedure when the form gets `message`.
    UINT ActionMessage = WM_APP + 0x123;
    std::function<void()> Action;

private:
    void Handle(tk::TMessage& m) {
        // A faulty manager may free this object inside Action: keep what is needed after it.
        const auto alive = FAlive;
        const auto old = FOldProc;
        const bool outer = FHandling;
        FHandling = true;
        if (m.Msg == sk::SM_SKINCMD) {
            const WORD cmd = sk::SkinCmdOf(m.WParam);
            if (cmd == sk::SC_REMOVESKIN) FLog.Events.push_back(L"REMOVESKIN " + FForm->Name());
            if (cmd == sk::SC_NEWSKIN) FLog.Events.push_back(L"NEWSKIN " + FForm->Name());
        }
        if (m.Msg == ActionMessage && Action) Action();
        if (*alive) FHandling = outer;
        old(m);
    }
    tk::TForm* FForm;
    TProviderLog& FLog;
    tk::TWndMethod FOldProc;
    bool FHandling = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Installs a factory that makes TTestProvider objects into log; removes it when it goes.
class TFactoryScope {
public:
    explicit TFactoryScope(TProviderLog& log) {
        sk::TsSkinManager::SetProviderFactory([&log](tk::TForm* form, sk::TsSkinManager*) -> tk::TObject* {
            log.Made.push_back(form);
            return new TTestProvider(form, log);
        });
    }
    ~TFactoryScope() { sk::TsSkinManager::SetProviderFactory(nullptr); }
    TFactoryScope(const TFactoryScope&) = delete;
    TFactoryScope& operator=(const TFactoryScope&) = delete;
};

// Load errors go into a list instead of a message box while the scope lasts.
class TErrorCapture {
public:
    TErrorCapture() {
        sk::TsSkinManager::ErrorBox = [this](const std::wstring& m) { Errors.push_back(m); };
    }
    ~TErrorCapture() { sk::TsSkinManager::ErrorBox = [](const std::wstring&) {}; }
    TErrorCapture(const TErrorCapture&) = delete;
    TErrorCapture& operator=(const TErrorCapture&) = delete;
    std::vector<std::wstring> Errors;
};

inline std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// The skin message sub-commands of one name in a journal, in order, keeping only those listed.
inline std::vector<WORD> CommandsOf(const TJournal& journal, const std::wstring& name,
                                    std::initializer_list<WORD> keep) {
    std::vector<WORD> out;
    for (const auto& [who, cmd] : journal)
        if (who == name && std::find(keep.begin(), keep.end(), cmd) != keep.end()) out.push_back(cmd);
    return out;
}

}  // namespace kvfw
