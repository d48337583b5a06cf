// Packed skins to and from skin folders: "Options.dat" first, then the images by name.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "skin/acSkinPack.h"

namespace skintool {

sk::TBytes PackFolder(const std::filesystem::path& dir);
// Writes every entry of the package into dir (created); returns the file names written.
std::vector<std::wstring> UnpackToFolder(const sk::TBytes& package, const std::filesystem::path& dir);

struct TListEntry {
    std::wstring Name;
    size_t Size = 0;
    bool IsBitmap = false;
};
std::vector<TListEntry> ListPackage(const sk::TBytes& package);

sk::TBytes ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const sk::TBytes& bytes);

}  // namespace skintool
