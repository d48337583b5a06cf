// Packed skins: any bytes either unpack or raise the skin error; nothing else may happen.
#include <cstddef>
#include <cstdint>

#include "skin/acSkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto convertor = std::make_unique<sk::TacSkinConvertor>();
    convertor->SetPackedData(sk::TBytes(data, data + size));
    try {
        sk::UnpackSkinPack(convertor);
    } catch (const sk::ESkinError&) {
    }
    return 0;
}
