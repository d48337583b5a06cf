// The options text and the loaders that read it: a skin made of these bytes as "Options.dat"
// (no images) either loads or raises the skin error or a conversion error.
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "skin/OptionsFile.h"
#include "skin/SkinModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        sk::TOptionsFile options = sk::TOptionsFile::FromBytes(sk::TBytes(data, data + size));
        sk::TacSkinConvertor package;
        sk::TSkinModel model;
        model.Load(options, sk::TSkinSource{&package, {}});
    } catch (const sk::ESkinError&) {
    } catch (const std::invalid_argument&) {  // a value that is not a number
    }
    return 0;
}
