// The options text and the loaders that read it: a skin made of these bytes as "Options.dat"
// (no images) either loads or raises the skin error or a conversion error. Bytes after a
// 0x01 byte are the manager's common sections, merged into the skin.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "skin/OptionsFile.h"
#include "skin/SkinModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const uint8_t* split = std::find(data, data + size, uint8_t(1));
        sk::TOptionsFile options = sk::TOptionsFile::FromBytes(sk::TBytes(data, split));
        sk::TacSkinConvertor package;
        sk::TSkinModel model;
        if (split != data + size) model.CommonSections = sk::DecodeOptionsText(sk::TBytes(split + 1, data + size));
        model.Load(options, sk::TSkinSource{&package, {}});
    } catch (const sk::ESkinError&) {
    } catch (const std::invalid_argument&) {  // a value that is not a number
    }
    return 0;
}
