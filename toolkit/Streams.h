// Byte streams: memory, file, resource, and zlib inflation over another stream.
#pragma once
#include <zlib.h>

#include <functional>

#include "toolkit/Classes.h"

namespace tk {

enum class TSeekOrigin { Beginning, Current, End };

class TStream : public TObject {
public:
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    int64_t Position() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(int64_t p) { Seek(p, TSeekOrigin::Beginning); }
    virtual int64_t Size();
    // Reads or writes exactly count bytes or raises EReadError / EStreamError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source (all of it from position 0 when count is 0).
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }
    void SetSize(int64_t size);
    void Clear();
    const uint8_t* Memory() const { return FData; }
    uint8_t* Memory() { return FData; }
    int64_t Capacity() const { return FCapacity; }
    // Writes the whole content to a file. An existing file is replaced only once the new
    // content is completely on disk, so a failed write never loses the old file.
    void SaveToFile(const std::wstring& fileName) const;
    void LoadFromStream(TStream& source);
    // Reads up to count bytes from source straight into the stream at its position (no
    // intermediate buffer); returns how many were read.
    int64_t ReadFrom(TStream& source, int64_t count);
    TMemoryStream() = default;
    TMemoryStream(TMemoryStream&& other) noexcept;
    TMemoryStream& operator=(TMemoryStream&&) = delete;
    ~TMemoryStream() override;

private:
    void Reserve(int64_t capacity);
    void Release();
    // Storage is address space reserved up front and committed as the stream grows, so a
    // large stream grows without copying and without holding two buffers at once.
    uint8_t* FData = nullptr;
    int64_t FReserved = 0;
    int64_t FSize = 0, FCapacity = 0, FPos = 0;
};

enum TFileMode : unsigned {
    fmOpenRead = 0x0000, fmOpenWrite = 0x0001, fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010, fmShareDenyWrite = 0x0020, fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream;

// Writes a file through `write`, which fills the stream it is given: into "<name>.partial",
// flushed, then renamed over the target. An existing file is replaced only once the new content
// is completely on disk, so a failed write never loses it; a target that another process holds
// open is reported before anything is written.
void WriteFileReplacing(const std::wstring& fileName, const std::function<void(TFileStream&)>& write);

class TFileStream : public TStream {
public:
    TFileStream(const std::wstring& fileName, unsigned mode);
    ~TFileStream() override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void Flush();
    HANDLE Handle() const { return FHandle; }
private:
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    std::wstring FFileName;
};

// A read-only view of a resource of a module (searched by type and name, any language).
class TResourceStream : public TStream {
public:
    TResourceStream(HINSTANCE instance, const std::wstring& name, const wchar_t* type);
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }
    const uint8_t* Memory() const { return FData; }
private:
    const uint8_t* FData = nullptr;
    int64_t FSize = 0, FPos = 0;
};

// Inflates one zlib stream (RFC 1950) read from a source stream. Reading stops at the
// stream's end marker and leaves the source positioned on the first byte after it; a
// source that ends before the marker, or corrupt data, raises EZDecompressionError.
class TZDecompressionStream : public TStream {
public:
    explicit TZDecompressionStream(TStream& source);
    ~TZDecompressionStream() override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    bool Finished() const { return FFinished; }
private:
    TStream& FSource;
    z_stream FZ{};
    uint8_t FBuffer[16384];
    int64_t FOut = 0;
    bool FFinished = false;
};

}  // namespace tk
