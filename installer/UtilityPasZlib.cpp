#include "installer/UtilityPasZlib.h"

#include <vector>

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

// Inflates straight into the partial file, a large chunk at a time: the whole file never has
// to be held in memory, and no fresh memory is touched for it.
void ExtractResourceToFile(tk::TStream& resource, const std::wstring& fileName) {
    resource.SetPosition(0);
    tk::TZDecompressionStream inflater(resource);
    std::vector<uint8_t> chunk(static_cast<size_t>(kInflateChunk));
    tk::WriteFileReplacing(fileName, [&](tk::TFileStream& out) {
        for (int64_t n; (n = inflater.Read(chunk.data(), kInflateChunk)) > 0;) out.WriteBuffer(chunk.data(), n);
    });
}

}  // namespace kv
