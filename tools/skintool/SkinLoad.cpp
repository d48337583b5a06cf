#include "SkinLoad.h"

#include "skin/SkinError.h"
#include "skin/acntUtils.h"

namespace skintool {

std::unique_ptr<sk::TSkinManagerCore> LoadSkin(const TSkinRequest& request) {
    // The manager keeps its host callbacks, so the message they collect must outlive this call.
    auto error = std::make_shared<std::wstring>();
    sk::TSkinManagerHost host;
    host.ShowError = [error](const std::wstring& message) { *error = message; };
    auto manager = std::make_unique<sk::TSkinManagerCore>(host);
    const auto skin = std::filesystem::absolute(request.Skin);
    const bool packed = sk::UpperAscii(sk::PathText(skin.extension())) == L".KVP";
    if (packed ? !std::filesystem::is_regular_file(skin) : !std::filesystem::is_regular_file(skin / "Options.dat"))
        throw sk::ESkinError("no skin folder or .kvp file: " + request.Skin.string());
    manager->SetSkinDirectory(sk::PathText(skin.parent_path()));
    manager->SetHueOffset(request.Adjustment.HueOffset);
    manager->SetSaturation(request.Adjustment.Saturation);
    manager->SetBrightness(request.Adjustment.Brightness);
    manager->SetSkinName(sk::PathText(packed ? skin.stem() : skin.filename()));
    if (!error->empty()) throw sk::ESkinError(sk::NarrowForMessage(*error));
    if (!manager->SkinLoaded()) throw sk::ESkinError("the skin could not be loaded: " + request.Skin.string());
    return manager;
}

}  // namespace skintool
