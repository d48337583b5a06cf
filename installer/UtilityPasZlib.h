// Payload extraction: one zlib stream per resource, inflated into a file.
#pragma once
#include "toolkit/Streams.h"

namespace kv {

// Inflates the zlib stream at the source's position and appends the result to destination.
void DecompressStream(tk::TMemoryStream& source, tk::TMemoryStream& destination);
// Writes the decompressed content of a payload resource to fileName, replacing any file.
void ExtractResourceToFile(tk::TStream& resource, const std::wstring& fileName);

}  // namespace kv
