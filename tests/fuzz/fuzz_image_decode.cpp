// Image decoding of skin images: the first byte picks the decoder (BMP, PNG, JPEG).
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "skin/acImageDecode.h"
#include "skin/SkinError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    try {
        switch (data[0] % 3) {
            case 0: sk::DecodeBmp(data + 1, size - 1); break;
            case 1: sk::DecodePng(data + 1, size - 1); break;
            default: sk::DecodeJpeg(data + 1, size - 1); break;
        }
    } catch (const sk::ESkinError&) {
    } catch (const std::invalid_argument&) {  // a value that is not a number
    }
    return 0;
}
