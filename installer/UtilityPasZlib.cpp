#include "installer/UtilityPasZlib.h"

namespace kv {

void DecompressStream(tk::TMemoryStream& source, tk::TMemoryStream& destination) {
    tk::TZDecompressionStream inflater(source);
    uint8_t buffer[4096];
    for (;;) {
        int64_t n = inflater.Read(buffer, sizeof buffer);
        if (n == 0) break;
        destination.WriteBuffer(buffer, n);
    }
}

void ExtractResourceToFile(tk::TStream& resource, const std::wstring& fileName) {
    tk::TMemoryStream source, destination;
    source.CopyFrom(resource, 0);
    source.SetPosition(0);
    DecompressStream(source, destination);
    destination.SaveToFile(fileName);
}

}  // namespace kv
