// QZThumbnail32.dll / QZThumbnail64.dll: the in-process COM server of the thumbnail handler.
#include <windows.h>
#include <olectl.h>
#include <shlobj.h>

#include <new>
#include <string>

#include "payload/ThumbnailIds.h"
#include "payload/ThumbnailProvider.h"
#include "payload/ThumbnailRegistration.h"

namespace {
HMODULE this_module = nullptr;

class ClassFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory: its references keep the module loaded like a lock.
  STDMETHODIMP_(ULONG) AddRef() override {
    qz::LockModule(true);
    return 2;
  }
  STDMETHODIMP_(ULONG) Release() override {
    qz::LockModule(false);
    return 1;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) qz::ThumbnailProvider();
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    qz::LockModule(lock != FALSE);
    return S_OK;
  }
};

ClassFactory factory;

std::wstring ThisModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(this_module, path.data(), DWORD(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    this_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != qz::kThumbnailHandlerClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return qz::LiveObjects() == 0 ? S_OK : S_FALSE; }

// The entries go into this process's own registry view, the one of the server's bitness.
extern "C" HRESULT WINAPI DllRegisterServer() {
  std::wstring path = ThisModulePath();
  if (path.empty() || !qz::RegisterThumbnailHandler(path, 0)) {
    qz::UnregisterThumbnailHandler(0);
    return SELFREG_E_CLASS;
  }
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
  bool removed = qz::UnregisterThumbnailHandler(0);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return removed ? S_OK : SELFREG_E_CLASS;
}
