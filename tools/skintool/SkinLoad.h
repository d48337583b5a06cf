// A skin (a packed ".kvp" file or a skin folder) loaded through the skin manager's own
// loaders, tinted like the installer tints it.
#pragma once
#include <filesystem>
#include <memory>

#include "skin/sSkinManagerCore.h"

namespace skintool {

struct TSkinRequest {
    std::filesystem::path Skin;
    sk::TColorAdjustment Adjustment;
};

// The manager holding the loaded model; a skin that cannot be loaded raises ESkinError with
// the manager's message.
std::unique_ptr<sk::TSkinManagerCore> LoadSkin(const TSkinRequest& request);

}  // namespace skintool
