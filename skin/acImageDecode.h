// Decoding of skin image files into 32-bit bitmaps: Windows bitmaps (our own reader),
// PNG (libpng) and JPEG (libjpeg). Every fault raises ESkinError; images beyond
// kMaxImagePixels are refused before any pixel memory is taken.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "render/sGraphUtils.h"

namespace sk {

constexpr int64_t kMaxImagePixels = int64_t(1) << 25;

struct TDecodedImage {
    std::unique_ptr<rd::TMemBitmap32> Bitmap;
    bool Has32Bits = false;  // the source held 32 bits per pixel (its alpha bytes are kept)
};

TDecodedImage DecodeBmp(const uint8_t* data, size_t size);
TDecodedImage DecodePng(const uint8_t* data, size_t size);   // straight alpha, Has32Bits true
TDecodedImage DecodeJpeg(const uint8_t* data, size_t size);  // alpha bytes 0

// Pixels of a source without alpha: opaque, except the transparent key 0x00FF00FF.
void MakeOpaqueExceptKey(rd::TBitmap32& bitmap);
// Pixels 0x00FFFFFF become 0 (fully transparent black).
void ClearWhiteTransparent(rd::TBitmap32& bitmap);

}  // namespace sk
