#include "ThumbnailCheck.h"

#include <windows.h>
#include <propsys.h>
#include <shlwapi.h>
#include <thumbcache.h>

#include <cstdint>
#include <optional>

#include "payload/ThumbnailIds.h"

namespace {
constexpr UINT kSize = 96;

struct Sample {
  const wchar_t* file_name;
  std::string content;
};

struct Thumbnail {
  std::vector<uint32_t> pixels;
  WTS_ALPHATYPE alpha_type = WTSAT_UNKNOWN;
};

bool write_sample(const std::wstring& path, const std::string& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) && written == content.size();
  CloseHandle(file);
  return ok;
}

std::optional<std::vector<uint32_t>> read_pixels(HBITMAP bitmap, std::vector<std::wstring>& problems) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  if (info.bmWidth != LONG(kSize) || info.bmHeight != LONG(kSize) || info.bmBitsPixel != 32) {
    problems.push_back(L"bitmap is " + std::to_wstring(info.bmWidth) + L"x" + std::to_wstring(info.bmHeight) + L"x" +
                       std::to_wstring(info.bmBitsPixel) + L", expected " + std::to_wstring(kSize) + L" square, 32 bpp");
    return std::nullopt;
  }
  BITMAPINFO request{};
  request.bmiHeader = {sizeof request.bmiHeader, LONG(kSize), -LONG(kSize), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(kSize * kSize);
  HDC dc = GetDC(nullptr);
  int rows = GetDIBits(dc, bitmap, 0, kSize, pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != int(kSize)) {
    problems.push_back(L"GetDIBits read " + std::to_wstring(rows) + L" rows");
    return std::nullopt;
  }
  return pixels;
}

std::optional<Thumbnail> thumbnail_of(const std::wstring& path, std::vector<std::wstring>& problems) {
  IInitializeWithStream* init = nullptr;
  HRESULT hr = CoCreateInstance(qz::kThumbnailHandlerClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&init));
  if (FAILED(hr)) {
    problems.push_back(L"CoCreateInstance of the handler failed: 0x" + std::to_wstring(unsigned(hr)));
    return std::nullopt;
  }
  std::optional<Thumbnail> result;
  IStream* stream = nullptr;
  IThumbnailProvider* provider = nullptr;
  HBITMAP bitmap = nullptr;
  Thumbnail thumbnail;
  if (FAILED(SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, 0, FALSE, nullptr, &stream)))
    problems.push_back(L"cannot open the sample " + path);
  else if (FAILED(init->Initialize(stream, STGM_READ)))
    problems.push_back(L"IInitializeWithStream::Initialize failed for " + path);
  else if (FAILED(init->QueryInterface(IID_PPV_ARGS(&provider))))
    problems.push_back(L"the object has no IThumbnailProvider");
  else if (FAILED(provider->GetThumbnail(kSize, &bitmap, &thumbnail.alpha_type)) || !bitmap)
    problems.push_back(L"IThumbnailProvider::GetThumbnail failed for " + path);
  else if (auto pixels = read_pixels(bitmap, problems)) {
    thumbnail.pixels = std::move(*pixels);
    result = std::move(thumbnail);
  }
  if (bitmap) DeleteObject(bitmap);
  if (provider) provider->Release();
  if (stream) stream->Release();
  init->Release();
  return result;
}

// A thumbnail with alpha has fully transparent pixels (outside the card) and opaque ones (bars).
void check_alpha(const Thumbnail& t, const std::wstring& name, std::vector<std::wstring>& problems) {
  if (t.alpha_type != WTSAT_ARGB) problems.push_back(name + L": alpha type is not WTSAT_ARGB");
  bool transparent = false, opaque = false, partial = false;
  for (uint32_t p : t.pixels) {
    uint32_t a = p >> 24;
    transparent |= a == 0;
    opaque |= a == 255;
    partial |= a > 0 && a < 255;
  }
  if (!transparent || !opaque || !partial)
    problems.push_back(name + L": expected transparent, partly transparent and opaque pixels");
}
}  // namespace

std::vector<std::wstring> check_thumbnail_handler(const std::wstring& sample_dir) {
  // Two documents of different content must give different pictures.
  const Sample samples[] = {
      {L"sample_low.qzs", std::string(4096, '\x10')},
      {L"sample_high.qzs", std::string(4096, '\xF0')},
  };
  std::vector<std::wstring> problems;
  std::vector<Thumbnail> thumbnails;
  for (const auto& sample : samples) {
    const std::wstring path = sample_dir + L"\\" + sample.file_name;
    if (!write_sample(path, sample.content)) {
      problems.push_back(L"cannot write the sample " + path);
      continue;
    }
    if (auto t = thumbnail_of(path, problems)) {
      check_alpha(*t, sample.file_name, problems);
      thumbnails.push_back(std::move(*t));
    }
    DeleteFileW(path.c_str());
  }
  if (thumbnails.size() == 2 && thumbnails[0].pixels == thumbnails[1].pixels)
    problems.push_back(L"different documents give the same thumbnail");
  return problems;
}
