#include "payload/ThumbnailProvider.h"

#include <new>

#include "payload/ThumbnailPainter.h"

namespace qz {

namespace {
// A document is a small preset or theme: reading more than this says nothing more for its picture.
constexpr size_t kMaxDocumentBytes = 4u << 20;
constexpr UINT kMaxThumbnailSize = 2048;
LONG live_objects = 0;

HRESULT ReadWholeStream(IStream* stream, std::vector<uint8_t>& out) {
  uint8_t chunk[16384];
  while (out.size() < kMaxDocumentBytes) {
    ULONG got = 0;
    HRESULT hr = stream->Read(chunk, sizeof chunk, &got);
    if (FAILED(hr)) return hr;
    out.insert(out.end(), chunk, chunk + got);
    if (hr == S_FALSE || got == 0) break;
  }
  if (out.size() > kMaxDocumentBytes) out.resize(kMaxDocumentBytes);
  return S_OK;
}

HBITMAP CreateTopDownBitmap(const ThumbnailImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.size;
  info.bmiHeader.biHeight = -image.size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(uint32_t));
  return bitmap;
}
}  // namespace

LONG LiveObjects() { return live_objects; }
void LockModule(bool lock) { lock ? InterlockedIncrement(&live_objects) : InterlockedDecrement(&live_objects); }

ThumbnailProvider::ThumbnailProvider() { LockModule(true); }
ThumbnailProvider::~ThumbnailProvider() { LockModule(false); }

STDMETHODIMP ThumbnailProvider::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == __uuidof(IInitializeWithStream))
    *out = static_cast<IInitializeWithStream*>(this);
  else if (iid == __uuidof(IThumbnailProvider))
    *out = static_cast<IThumbnailProvider*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ThumbnailProvider::AddRef() { return ULONG(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) ThumbnailProvider::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP ThumbnailProvider::Initialize(IStream* stream, DWORD) {
  if (!stream) return E_POINTER;
  if (initialized_) return HRESULT_FROM_WIN32(ERROR_ALREADY_INITIALIZED);
  std::vector<uint8_t> content;
  HRESULT hr = ReadWholeStream(stream, content);
  if (FAILED(hr)) return hr;
  document_ = std::move(content);
  initialized_ = true;
  return S_OK;
}

STDMETHODIMP ThumbnailProvider::GetThumbnail(UINT size, HBITMAP* bitmap, WTS_ALPHATYPE* alpha) {
  if (!bitmap || !alpha) return E_POINTER;
  *bitmap = nullptr;
  if (!initialized_) return E_UNEXPECTED;
  if (size == 0 || size > kMaxThumbnailSize) return E_INVALIDARG;
  HBITMAP made = CreateTopDownBitmap(PaintThumbnail(document_, int(size)));
  if (!made) return E_OUTOFMEMORY;
  *bitmap = made;
  *alpha = WTSAT_ARGB;
  return S_OK;
}

}  // namespace qz
