#include "toolkit/ShellOpen.h"

#include <windows.h>
#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "toolkit/ComRef.h"

namespace tk {

namespace {

template <class T> bool Query(IUnknown* from, const IID& iid, ComRef<T>& to) {
    return from && SUCCEEDED(from->QueryInterface(iid, to.Out())) && to;
}

// The desktop folder view's automation object: Explorer's IShellDispatch2.
bool DesktopShellDispatch(ComRef<IShellDispatch2>& shell) {
    ComRef<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.Out())) ||
        !windows)
        return false;
    VARIANT location, root;
    VariantInit(&location);
    VariantInit(&root);
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    long window = 0;
    ComRef<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.OutTyped()) != S_OK || !desktop)
        return false;
    ComRef<IServiceProvider> services;
    ComRef<IShellBrowser> browser;
    ComRef<IShellView> view;
    ComRef<IDispatch> background;
    ComRef<IShellFolderViewDual> folderView;
    ComRef<IDispatch> application;
    return Query(desktop.Get(), IID_IServiceProvider, services) &&
           SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.Out())) && browser &&
           SUCCEEDED(browser->QueryActiveShellView(view.OutTyped())) && view &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.Out())) && background &&
           Query(background.Get(), IID_IShellFolderViewDual, folderView) &&
           SUCCEEDED(folderView->get_Application(application.OutTyped())) && application &&
           Query(application.Get(), IID_IShellDispatch2, shell);
}

bool ShellExecuteHere(const std::wstring& target) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace

bool OpenThroughDesktopShell(const std::wstring& target) {
    ComRef<IShellDispatch2> shell;
    if (!DesktopShellDispatch(shell)) return false;
    BSTR file = SysAllocString(target.c_str());
    BSTR verb = SysAllocString(L"open");
    VARIANT arguments, directory, operation, show;
    VariantInit(&arguments);
    VariantInit(&directory);
    VariantInit(&operation);
    VariantInit(&show);
    operation.vt = VT_BSTR;
    operation.bstrVal = verb;
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const bool opened = file && verb && SUCCEEDED(shell->ShellExecute(file, arguments, directory, operation, show));
    SysFreeString(file);
    SysFreeString(verb);
    return opened;
}

TShellOpenRoute OpenAsDesktopUser(const std::wstring& target, const std::function<bool(const std::wstring&)>& direct) {
    if (target.empty()) return TShellOpenRoute::Failed;
    if (OpenThroughDesktopShell(target)) return TShellOpenRoute::DesktopShell;
    const bool opened = direct ? direct(target) : ShellExecuteHere(target);
    return opened ? TShellOpenRoute::Direct : TShellOpenRoute::Failed;
}

}  // namespace tk
