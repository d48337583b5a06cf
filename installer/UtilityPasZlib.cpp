#include "installer/UtilityPasZlib.h"

namespace kv {

namespace {
// Inflated bytes go straight into the destination's storage, a chunk at a time; a large
// chunk keeps zlib on its fast path and saves copying every byte once more.
constexpr int64_t kInflateChunk = 256 * 1024;
}  // namespace

void DecompressStream(tk::TMemoryStream& source, tk::TMemoryStream& destination) {
    tk::TZDecompressionStream inflater(source);
    destination.Seek(0, tk::TSeekOrigin::End);
    while (destination.ReadFrom(inflater, kInflateChunk) > 0) {
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
