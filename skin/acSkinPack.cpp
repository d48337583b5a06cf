#include "skin/acSkinPack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "skin/acCodePage.h"
#include "skin/acntUtils.h"

namespace sk {

namespace {

constexpr char kSignature[4] = {'K', 'v', 'p', 'x'};
constexpr size_t kInflateBlock = 128 * 1024;
// Deflate expands at most about 1032:1; an S beyond that cannot come from the bytes left.
constexpr uint64_t kMaxInflateRatio = 1032;

[[noreturn]] void Truncated() { throw ESkinError("Stream read error: the packed skin is truncated"); }

// Reads the package sequentially and never past its end.
class TPackCursor {
public:
    explicit TPackCursor(const TBytes& data) : FData(data) {}
    size_t Remaining() const { return FData.size() - FPos; }
    int32_t ReadInt32() {
        if (Remaining() < 4) Truncated();
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(FData[FPos + i]) << (8 * i);
        FPos += 4;
        return static_cast<int32_t>(v);
    }
    std::string ReadBytes(int32_t length) {
        if (length < 0 || static_cast<size_t>(length) > Remaining()) Truncated();
        std::string s(reinterpret_cast<const char*>(FData.data() + FPos), static_cast<size_t>(length));
        FPos += static_cast<size_t>(length);
        return s;
    }
    // Inflates one zlib stream that must yield exactly `size` bytes and leaves the position
    // on the first byte after its Adler-32 trailer.
    TBytes InflateStream(int32_t size);

private:
    const TBytes& FData;
    size_t FPos = 0;
};

TBytes TPackCursor::InflateStream(int32_t size) {
    if (size <= 0) throw ESkinError("Invalid ZStream operation!");
    if (static_cast<uint64_t>(size) > static_cast<uint64_t>(Remaining()) * kMaxInflateRatio + 64)
        throw ESkinError("Stream read error: an entry's size exceeds what its data can hold");
    struct TInflater {
        z_stream z{};
        TInflater() {
            if (inflateInit(&z) != Z_OK) throw ESkinError("zlib: out of memory");
        }
        ~TInflater() { inflateEnd(&z); }
    } inflater;
    z_stream& z = inflater.z;
    TBytes out(static_cast<size_t>(size));
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    uint8_t extra;  // one byte past S tells a longer stream from one that ends exactly there
    bool inExtra = false;
    size_t handedIn = 0;
    for (;;) {
        if (z.avail_in == 0) {
            const size_t block = std::min(kInflateBlock, Remaining() - handedIn);
            z.next_in = const_cast<Bytef*>(FData.data() + FPos + handedIn);
            z.avail_in = static_cast<uInt>(block);
            handedIn += block;
        }
        if (z.avail_out == 0) {
            if (inExtra) throw ESkinError("Stream read error: an entry inflates to more bytes than its size");
            z.next_out = &extra;
            z.avail_out = 1;
            inExtra = true;
        }
        const int rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && z.avail_in == 0 && handedIn == Remaining())
            throw ESkinError("Stream read error: an entry's zlib stream is truncated");
        if (rc != Z_OK && rc != Z_BUF_ERROR) throw ESkinError(std::string("zlib: ") + (z.msg ? z.msg : zError(rc)));
    }
    if (inExtra && z.avail_out == 0) throw ESkinError("Stream read error: an entry inflates to more bytes than its size");
    if (z.total_out < static_cast<uLong>(size))
        throw ESkinError("Stream read error: an entry inflates to fewer bytes than its size");
    FPos += z.total_in;  // the first byte after the Adler-32 trailer
    return out;
}

bool IsOptionsName(const std::wstring& name) { return UpperAscii(name) == L"OPTIONS.DAT"; }

bool HasBitmapExtension(const std::wstring& name) {
    const size_t dot = name.rfind(L'.');
    return dot != std::wstring::npos && UpperAscii(name.substr(dot)) == L".BMP";
}

void AppendInt32(TBytes& out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

// ---- TacSkinConvertor ----

void TacSkinConvertor::SetPackedData(TBytes data) {
    FLent = nullptr;
    FOwned = std::make_unique<TBytes>(std::move(data));
}

void TacSkinConvertor::LendPackedData(const TBytes* data) {
    FOwned.reset();
    FLent = data;
}

void TacSkinConvertor::FreePackedData() {
    FOwned.reset();
    FLent = nullptr;
}

void TacSkinConvertor::Clear() {
    while (!Files.empty()) Files.pop_back();
    Options.reset();
    FreePackedData();
}

// ---- Reading ----

void UnpackSkinPack(std::unique_ptr<TacSkinConvertor>& convertor) {
    if (!convertor || !convertor->PackedData()) throw ESkinError("No packed skin data");
    TPackCursor cursor(*convertor->PackedData());
    const std::string signature = cursor.Remaining() >= 4 ? cursor.ReadBytes(4) : std::string();
    if (signature.size() != 4 || std::memcmp(signature.data(), kSignature, 4) != 0) {
        convertor.reset();
        throw ESkinError("Loaded data is not a packed Tessaro file");
    }
    const int32_t count = cursor.ReadInt32();
    // A negative count means no entries; the lowest one must not overflow on the way.
    convertor->ImageCount = std::max(count, INT32_MIN + 1) - 1;
    for (int32_t i = 0; i < count; ++i) {
        const std::wstring name = AnsiToWide(cursor.ReadBytes(cursor.ReadInt32()));
        const int32_t size = cursor.ReadInt32();
        TBytes content = cursor.InflateStream(size);
        if (IsOptionsName(name)) {
            convertor->Options = std::make_unique<TBytes>(std::move(content));
        } else {
            convertor->Files.push_back({name, HasBitmapExtension(name), std::move(content)});
        }
    }
}

void LoadSkinPackFile(const std::filesystem::path& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                      bool freePackedData) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return;
    if (convertor)
        convertor->Clear();
    else
        convertor = std::make_unique<TacSkinConvertor>();
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw ESkinError("Cannot open file " + fileName.string());
    TBytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    convertor->SetPackedData(std::move(data));
    UnpackSkinPack(convertor);
    if (freePackedData && convertor) convertor->FreePackedData();
}

// ---- Writing ----

TBytes PackSkin(const std::vector<TPackEntry>& entries) {
    TBytes out(kSignature, kSignature + 4);
    AppendInt32(out, static_cast<int32_t>(entries.size()));
    for (const auto& e : entries) {
        const auto name = WideToAnsi(e.Name);
        if (!name) throw ESkinError("File name without a single-byte form: " + NarrowForMessage(e.Name));
        if (e.Content.empty()) throw ESkinError("Empty files cannot be packed: " + NarrowForMessage(e.Name));
        AppendInt32(out, static_cast<int32_t>(name->size()));
        out.insert(out.end(), name->begin(), name->end());
        AppendInt32(out, static_cast<int32_t>(e.Content.size()));
        uLongf packedSize = compressBound(static_cast<uLong>(e.Content.size()));
        const size_t at = out.size();
        out.resize(at + packedSize);
        if (compress2(out.data() + at, &packedSize, e.Content.data(), static_cast<uLong>(e.Content.size()),
                      Z_DEFAULT_COMPRESSION) != Z_OK)
            throw ESkinError("zlib: compression failed");
        out.resize(at + packedSize);
    }
    return out;
}

// ---- Extraction ----

std::wstring NormalizeExtractDir(const std::wstring& dir) {
    if (dir.empty() || dir.back() == L'\\') return dir;
    if (dir.back() == L'/') return dir.substr(0, dir.size() - 1) + L'\\';
    if (dir.size() == 1) return dir + L":\\";
    return dir + L'\\';
}

std::wstring ExtractedSkinFileName(const std::wstring& normalizedDir, const std::wstring& skinName) {
    return normalizedDir + skinName + L" extracted.kvp";
}

std::wstring DirCreationErrorMessage(const std::wstring& normalizedDir) {
    return L"Directory " + normalizedDir + L" creation error.";
}

}  // namespace sk
