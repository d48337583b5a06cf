// Packed skins ("Kvpx"): the reader TacSkinConvertor with UnpackSkinPack / LoadSkinPackFile,
// the writer, and the naming rules for extracting an internal skin to a file.
//
// Layout (integers signed 32-bit little-endian): "Kvpx", N, then N entries of
// L, L name bytes (ANSI code page), S, one zlib stream that inflates to exactly S bytes.
// No compressed length is stored: the end of each stream is found by inflating it.
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skin/SkinError.h"

namespace sk {

using TBytes = std::vector<uint8_t>;

// One unpacked image file.
struct TacImageItem {
    std::wstring FileName;
    bool IsBitmap = false;  // extension ".BMP" in any letter case
    TBytes FileStream;
};

class TacSkinConvertor {
public:
    int ImageCount = 0;                 // N - 1, from the header
    std::vector<TacImageItem> Files;    // every entry but "Options.dat", in package order
    std::unique_ptr<TBytes> Options;    // the inflated "Options.dat", may be absent

    ~TacSkinConvertor() { Clear(); }

    // The package bytes, owned (loaded from a file) or borrowed (a stored skin's data).
    const TBytes* PackedData() const { return FLent ? FLent : FOwned.get(); }
    void SetPackedData(TBytes data);
    void LendPackedData(const TBytes* data);  // no copy; detach before the data goes away
    void DetachPackedData() { FLent = nullptr; }
    void FreePackedData();

    // Frees the images (last to first), the options and the owned package bytes.
    void Clear();

private:
    std::unique_ptr<TBytes> FOwned;
    const TBytes* FLent = nullptr;
};

// Parses the convertor's PackedData from its start. On a wrong signature the convertor is
// freed and the reference set to none. Every fault raises ESkinError.
void UnpackSkinPack(std::unique_ptr<TacSkinConvertor>& convertor);

// Unpacks a packed skin file; a file that does not exist leaves the reference as it is.
void LoadSkinPackFile(const std::filesystem::path& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                      bool freePackedData);

// One file for the writer.
struct TPackEntry {
    std::wstring Name;
    TBytes Content;
};
// Writes a package; names must have a single-byte form, contents must not be empty.
TBytes PackSkin(const std::vector<TPackEntry>& entries);

// Extraction of an internal skin to a file.
std::wstring NormalizeExtractDir(const std::wstring& dir);   // "" | ends in "\" | "X:\" | dir + "\"
std::wstring ExtractedSkinFileName(const std::wstring& normalizedDir, const std::wstring& skinName);
inline const wchar_t* const kMsgDirNotExists = L"Directory does not exists.";
inline const wchar_t* const kMsgSkinNotExists = L"Skin does not exists.";
std::wstring DirCreationErrorMessage(const std::wstring& normalizedDir);

}  // namespace sk
