// The live-preview record a skin editor sends to the application window with WM_COPYDATA:
// a skin's name, folder and options text for the skin manager to show at once. The record
// comes from another process: only a record of exactly the expected size is taken, and every
// text field is cut at its last byte at the latest.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace sk {

// The wParam of the WM_COPYDATA that carries a preview record.
inline constexpr WPARAM kPreviewCopyId = 7;
inline constexpr uint32_t kSkinDataMagic = 0xA400;

#pragma pack(push, 1)
// Text fields are single-byte characters in the system's code page, zero-terminated.
struct TacSkinData {
    uint32_t Magic;
    char SkinName[128];
    char SkinDir[513];
    char Data[30001];  // the options text
};
#pragma pack(pop)
static_assert(sizeof(TacSkinData) == 30646, "the record's byte layout is fixed by the sender");

// Copies a received record into buffer when data is not null, size is exactly the record's
// size and the magic number matches; every text field ends in a zero afterwards. Reads
// nothing of data otherwise and leaves buffer unchanged.
bool CopySkinData(const void* data, size_t size, TacSkinData& buffer);

// A text field as UTF-16 (system code page): up to its first zero, never past capacity bytes.
std::wstring SkinDataText(const char* field, size_t capacity);
template <size_t N> std::wstring SkinDataText(const char (&field)[N]) { return SkinDataText(field, N); }

// The manager's copy of a received record. One record is handled at a time: from its receipt
// until Finish, other records are refused.
class TacPreviewBuffer {
public:
    // Takes the record of a WM_COPYDATA (lParam); false when refused.
    bool Receive(const COPYDATASTRUCT* copy);
    // The record being handled, or null.
    const TacSkinData* Record() const { return FBusy ? FRecord.get() : nullptr; }
    void Finish() { FBusy = false; }

private:
    std::unique_ptr<TacSkinData> FRecord;  // 30 KB, allocated with the first record
    bool FBusy = false;
};

}  // namespace sk
