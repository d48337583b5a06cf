// Identifiers shared by the thumbnail handler, its registration and whoever removes or tests it.
#pragma once
#include <windows.h>

namespace qz {

// The class of the ".qzs" / ".qzt" thumbnail handler object.
inline constexpr GUID kThumbnailHandlerClsid = {0x5c3a9e27, 0x41d8, 0x4b6f, {0x9a, 0x0e, 0x8d, 0x2f, 0x6c, 0x17, 0xb4, 0xa3}};
inline constexpr wchar_t kThumbnailHandlerClsidText[] = L"{5C3A9E27-41D8-4B6F-9A0E-8D2F6C17B4A3}";

// The shell's key for thumbnail handlers under an extension's "ShellEx" (IID_IThumbnailProvider).
inline constexpr wchar_t kThumbnailShellExKey[] = L"{e357fccd-a995-4576-b01f-234630154e96}";

// The document types the handler draws thumbnails for.
inline constexpr const wchar_t* kThumbnailExtensions[] = {L".qzs", L".qzt"};

}  // namespace qz
