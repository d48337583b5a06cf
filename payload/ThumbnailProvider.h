// The thumbnail handler object: the shell hands it the document as a stream
// (IInitializeWithStream) and asks it for a bitmap (IThumbnailProvider).
#pragma once
#include <windows.h>
#include <propsys.h>
#include <thumbcache.h>

#include <cstdint>
#include <vector>

namespace qz {

class ThumbnailProvider final : public IInitializeWithStream, public IThumbnailProvider {
 public:
  ThumbnailProvider();
  ThumbnailProvider(const ThumbnailProvider&) = delete;
  ThumbnailProvider& operator=(const ThumbnailProvider&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IInitializeWithStream
  STDMETHODIMP Initialize(IStream* stream, DWORD mode) override;
  // IThumbnailProvider
  STDMETHODIMP GetThumbnail(UINT size, HBITMAP* bitmap, WTS_ALPHATYPE* alpha) override;

 private:
  ~ThumbnailProvider();
  LONG references_ = 1;
  bool initialized_ = false;
  std::vector<uint8_t> document_;
};

// Objects and server locks alive in this module: the module may unload when both are 0.
LONG LiveObjects();
void LockModule(bool lock);

}  // namespace qz
