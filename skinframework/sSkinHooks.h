// The window hooks of the default skin manager: the thread's computer-based-training hook
// that gives a form a skin provider the first time the form is activated, the list of forms
// it has given one, and the hook on the application's hidden window (live preview from a skin
// editor, repaint requests, theme changes, minimise and restore).
//
// The list never owns a provider: a provider belongs to its form and tells the list when it
// is destroyed. Providers that the list lets go of (the hook is removed) are freed only once
// the message loop runs again, so none is freed while its own window procedure is running.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/Forms.h"

namespace sk {

class TsSkinManager;

// Makes the skin provider of a form the hook attaches skinning to; null attaches nothing.
using TProviderFactory = std::function<tk::TObject*(tk::TForm* form, TsSkinManager* manager)>;

void SetProviderFactory(TProviderFactory factory);

bool FormHookInstalled();
// Installs the hook for the calling thread (once). Providers let go of by the last removal
// and not freed yet are taken back into the list: their forms still run through them.
void InstallFormHook();
// Removes the hook and lets go of every provider in the list; they are freed once the
// message loop of the application window runs (FreeRetiredProviders).
void UninstallFormHook();
// Forgets a provider that is being destroyed; unknown providers are ignored.
void ForgetProvider(tk::TObject* provider);
// The windows of the forms that have a provider from the hook.
std::vector<HWND> HookedFormWindows();
// The provider the hook gave form (also one let go of and not freed yet), or null.
tk::TObject* HookedProvider(tk::TForm* form);
// Frees the providers let go of by UninstallFormHook.
void FreeRetiredProviders();

// The application window's messages for the skin manager; true when handled (m.Result set).
bool HandleApplicationMessage(TsSkinManager& manager, tk::TMessage& m);

}  // namespace sk
