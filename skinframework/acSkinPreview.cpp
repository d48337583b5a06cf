#include "skinframework/acSkinPreview.h"

#include <cstring>
#include <string_view>

#include "skin/acCodePage.h"

namespace sk {

namespace {

template <size_t N> void Terminate(char (&field)[N]) { field[N - 1] = '\0'; }

}  // namespace

bool CopySkinData(const void* data, size_t size, TacSkinData& buffer) {
    if (!data || size != sizeof(TacSkinData)) return false;
    uint32_t magic = 0;
    std::memcpy(&magic, data, sizeof magic);
    if (magic != kSkinDataMagic) return false;
    std::memcpy(&buffer, data, sizeof buffer);
    Terminate(buffer.SkinName);
    Terminate(buffer.SkinDir);
    Terminate(buffer.Data);
    return true;
}

std::wstring SkinDataText(const char* field, size_t capacity) {
    const void* end = std::memchr(field, 0, capacity);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : capacity;
    return AnsiToWide(std::string_view(field, length));
}

bool TacPreviewBuffer::Receive(const COPYDATASTRUCT* copy) {
    if (FBusy || !copy) return false;
    if (!FRecord) FRecord = std::make_unique<TacSkinData>();
    FBusy = CopySkinData(copy->lpData, copy->cbData, *FRecord);
    return FBusy;
}

}  // namespace sk
