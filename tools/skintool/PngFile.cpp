#include "PngFile.h"

#include <png.h>

#include "skin/SkinError.h"

namespace skintool {

sk::TBytes EncodePngRgb(const rd::TBitmap32& bitmap) {
    if (bitmap.Width <= 0 || bitmap.Height <= 0) throw sk::ESkinError("cannot write an empty picture");
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(bitmap.Width) * bitmap.Height * 3);
    for (int y = 0; y < bitmap.Height; ++y) {
        const uint32_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width; ++x)
            rgb.insert(rgb.end(), {uint8_t(row[x] >> 16), uint8_t(row[x] >> 8), uint8_t(row[x])});
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.Width);
    image.height = static_cast<png_uint_32>(bitmap.Height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        throw sk::ESkinError(std::string("cannot encode the PNG image: ") + image.message);
    sk::TBytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
        throw sk::ESkinError(std::string("cannot encode the PNG image: ") + image.message);
    out.resize(size);
    return out;
}

}  // namespace skintool
