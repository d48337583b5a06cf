#include "toolkit/Streams.h"

#include <algorithm>
#include <cstring>

namespace tk {

namespace {
constexpr int64_t kCopyChunk = 65536;

int64_t ClampSeek(int64_t offset, TSeekOrigin origin, int64_t pos, int64_t size) {
    int64_t base = origin == TSeekOrigin::Beginning ? 0 : origin == TSeekOrigin::Current ? pos : size;
    int64_t p = base + offset;
    if (p < 0) throw EStreamError(L"Stream seek before the beginning");
    return p;
}

[[noreturn]] void RaiseCreate(const std::wstring& fileName, DWORD code) {
    throw EFCreateError(Format(L"Cannot create file \"%s\". %s", {fileName, SysErrorMessage(code)}));
}
}  // namespace

int64_t TStream::Size() {
    int64_t pos = Seek(0, TSeekOrigin::Current);
    int64_t size = Seek(0, TSeekOrigin::End);
    Seek(pos, TSeekOrigin::Beginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    auto* p = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        int64_t n = Read(p, count);
        if (n <= 0) throw EReadError(L"Stream read error");
        p += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count > 0 && Write(buffer, count) != count) throw EStreamError(L"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buf(static_cast<size_t>(std::min(count, kCopyChunk)));
    int64_t done = 0;
    while (done < count) {
        int64_t n = std::min<int64_t>(count - done, static_cast<int64_t>(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        done += n;
    }
    return done;
}

// --- TMemoryStream

namespace {
constexpr int64_t kMemoryStreamLimit = 0x7FFF0000;
constexpr int64_t kCommitGranule = 64 * 1024;
constexpr int64_t kSmallReservation = 1024 * 1024;
constexpr int64_t kLargeReservation = 64 * 1024 * 1024;

int64_t RoundUp(int64_t v, int64_t to) { return (v + to - 1) / to * to; }
}  // namespace

TMemoryStream::TMemoryStream(TMemoryStream&& o) noexcept
    : TStream(), FData(o.FData), FReserved(o.FReserved), FSize(o.FSize), FCapacity(o.FCapacity), FPos(o.FPos) {
    o.FData = nullptr;
    o.FReserved = o.FSize = o.FCapacity = o.FPos = 0;
}

TMemoryStream::~TMemoryStream() { Release(); }

void TMemoryStream::Release() {
    if (FData) VirtualFree(FData, 0, MEM_RELEASE);
    FData = nullptr;
    FReserved = FCapacity = 0;
}

void TMemoryStream::Reserve(int64_t capacity) {
    if (capacity <= FCapacity) return;
    if (capacity > kMemoryStreamLimit) throw EStreamError(L"Out of memory while expanding memory stream");
    // Commit geometrically (an eighth more each time) so small writes stay linear.
    int64_t wanted = RoundUp(std::max(capacity, FCapacity + FCapacity / 8), kCommitGranule);
    if (wanted > FReserved) {
        // A new reservation: 1 MB for a small stream; once a stream outgrows that, twice what
        // is needed and at least 64 MB, so that a large payload never has to move again. Fall
        // back to exactly what is needed when the address space is too fragmented.
        int64_t reserve = wanted <= kSmallReservation
                              ? kSmallReservation
                              : std::min(kMemoryStreamLimit, std::max(kLargeReservation, RoundUp(wanted * 2, kCommitGranule)));
        void* base = VirtualAlloc(nullptr, static_cast<SIZE_T>(reserve), MEM_RESERVE, PAGE_NOACCESS);
        if (!base) {
            reserve = wanted;
            base = VirtualAlloc(nullptr, static_cast<SIZE_T>(reserve), MEM_RESERVE, PAGE_NOACCESS);
        }
        if (!base || !VirtualAlloc(base, static_cast<SIZE_T>(wanted), MEM_COMMIT, PAGE_READWRITE)) {
            if (base) VirtualFree(base, 0, MEM_RELEASE);
            throw EStreamError(L"Out of memory while expanding memory stream");
        }
        if (FSize) std::memcpy(base, FData, static_cast<size_t>(FSize));
        if (FData) VirtualFree(FData, 0, MEM_RELEASE);
        FData = static_cast<uint8_t*>(base);
        FReserved = reserve;
    } else if (!VirtualAlloc(FData + FCapacity, static_cast<SIZE_T>(wanted - FCapacity), MEM_COMMIT, PAGE_READWRITE)) {
        throw EStreamError(L"Out of memory while expanding memory stream");
    }
    FCapacity = wanted;
}

void TMemoryStream::SetSize(int64_t size) {
    Reserve(size);
    if (size > FSize) std::memset(FData + FSize, 0, static_cast<size_t>(size - FSize));
    FSize = size;
    FPos = std::min(FPos, FSize);
}

void TMemoryStream::Clear() {
    Release();
    FSize = FPos = 0;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t n = std::max<int64_t>(0, std::min(count, FSize - FPos));
    if (n) std::memcpy(buffer, FData + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    int64_t end = FPos + count;
    Reserve(end);
    std::memcpy(FData + FPos, buffer, static_cast<size_t>(count));
    FPos = end;
    FSize = std::max(FSize, end);
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    FPos = ClampSeek(offset, origin, FPos, FSize);
    return FPos;
}

int64_t TMemoryStream::ReadFrom(TStream& source, int64_t count) {
    if (count <= 0) return 0;
    Reserve(FPos + count);
    int64_t n = source.Read(FData + FPos, count);
    FPos += n;
    FSize = std::max(FSize, FPos);
    return n;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(FData, size);
    FPos = 0;
}

void TMemoryStream::SaveToFile(const std::wstring& fileName) const {
    WriteFileReplacing(fileName, [this](TFileStream& out) { out.WriteBuffer(FData, FSize); });
}

void WriteFileReplacing(const std::wstring& fileName, const std::function<void(TFileStream&)>& write) {
    // A target that another process holds open cannot be replaced: report it before writing.
    HANDLE probe = CreateFileW(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND) RaiseCreate(fileName, code);
    } else {
        CloseHandle(probe);
    }

    const std::wstring temp = fileName + L".partial";
    try {
        TFileStream out(temp, fmCreate);
        write(out);
        out.Flush();
    } catch (...) {
        DeleteFileW(temp.c_str());
        throw;
    }
    if (!MoveFileExW(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        RaiseCreate(fileName, code);
    }
}

// --- TFileStream

TFileStream::TFileStream(const std::wstring& fileName, unsigned mode) : FFileName(fileName) {
    if (mode == fmCreate) {
        FHandle = CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (FHandle == INVALID_HANDLE_VALUE) RaiseCreate(fileName, GetLastError());
        return;
    }
    DWORD access = (mode & 3) == fmOpenWrite ? GENERIC_WRITE
                   : (mode & 3) == fmOpenReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (mode & fmShareExclusive) share = 0;
    else if (mode & fmShareDenyWrite) share = FILE_SHARE_READ;
    FHandle = CreateFileW(fileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE)
        throw EFOpenError(Format(L"Cannot open file \"%s\". %s", {fileName, SysErrorMessage(GetLastError())}));
}

TFileStream::~TFileStream() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    auto* p = static_cast<uint8_t*>(buffer);
    int64_t total = 0;
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30)), got = 0;
        if (!ReadFile(FHandle, p, chunk, &got, nullptr) || got == 0) break;
        p += got; total += got; count -= got;
    }
    return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    auto* p = static_cast<const uint8_t*>(buffer);
    int64_t total = 0;
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30)), put = 0;
        if (!WriteFile(FHandle, p, chunk, &put, nullptr))
            throw EStreamError(Format(L"Error writing file \"%s\". %s", {FFileName, SysErrorMessage(GetLastError())}));
        p += put; total += put; count -= put;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER d, r;
    d.QuadPart = offset;
    DWORD how = origin == TSeekOrigin::Beginning ? FILE_BEGIN : origin == TSeekOrigin::Current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(FHandle, d, &r, how)) throw EStreamError(L"Stream seek error");
    return r.QuadPart;
}

void TFileStream::Flush() {
    if (!FlushFileBuffers(FHandle))
        throw EStreamError(Format(L"Error writing file \"%s\". %s", {FFileName, SysErrorMessage(GetLastError())}));
}

// --- TResourceStream

TResourceStream::TResourceStream(HINSTANCE instance, const std::wstring& name, const wchar_t* type) {
    HRSRC res = FindResourceW(instance, name.c_str(), type);
    if (!res) throw EResNotFound(Format(L"Resource %s not found", {name}));
    HGLOBAL h = LoadResource(instance, res);
    FData = h ? static_cast<const uint8_t*>(LockResource(h)) : nullptr;
    FSize = SizeofResource(instance, res);
    if (!FData && FSize) throw EResNotFound(Format(L"Resource %s not found", {name}));
}

int64_t TResourceStream::Read(void* buffer, int64_t count) {
    int64_t n = std::max<int64_t>(0, std::min(count, FSize - FPos));
    if (n) std::memcpy(buffer, FData + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
}

int64_t TResourceStream::Write(const void*, int64_t) {
    throw EStreamError(L"Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin) {
    FPos = ClampSeek(offset, origin, FPos, FSize);
    return FPos;
}

// --- TZDecompressionStream

TZDecompressionStream::TZDecompressionStream(TStream& source) : FSource(source) {
    if (inflateInit(&FZ) != Z_OK) throw EZDecompressionError(L"zlib initialisation failed");
}

TZDecompressionStream::~TZDecompressionStream() {
    // Give back input that belongs to whatever follows the zlib stream in the source.
    if (FZ.avail_in) FSource.Seek(-static_cast<int64_t>(FZ.avail_in), TSeekOrigin::Current);
    inflateEnd(&FZ);
}

int64_t TZDecompressionStream::Read(void* buffer, int64_t count) {
    if (FFinished || count <= 0) return 0;
    FZ.next_out = static_cast<Bytef*>(buffer);
    FZ.avail_out = static_cast<uInt>(std::min<int64_t>(count, 1 << 30));
    while (FZ.avail_out) {
        if (FZ.avail_in == 0) {
            int64_t n = FSource.Read(FBuffer, sizeof FBuffer);
            if (n <= 0) throw EZDecompressionError(Utf8ToWide(zError(Z_BUF_ERROR)));
            FZ.next_in = FBuffer;
            FZ.avail_in = static_cast<uInt>(n);
        }
        int rc = inflate(&FZ, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            FFinished = true;
            if (FZ.avail_in) {
                FSource.Seek(-static_cast<int64_t>(FZ.avail_in), TSeekOrigin::Current);
                FZ.avail_in = 0;
            }
            break;
        }
        if (rc == Z_NEED_DICT) rc = Z_DATA_ERROR;
        if (rc != Z_OK && rc != Z_BUF_ERROR)
            throw EZDecompressionError(Utf8ToWide(zError(rc)));
    }
    int64_t n = static_cast<int64_t>(count) - FZ.avail_out;
    if (count > (1 << 30)) n = (1 << 30) - FZ.avail_out;
    FOut += n;
    return n;
}

int64_t TZDecompressionStream::Write(const void*, int64_t) {
    throw EZDecompressionError(L"Invalid stream operation");
}

int64_t TZDecompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
    if (offset == 0 && origin == TSeekOrigin::Current) return FOut;
    throw EZDecompressionError(L"Invalid stream operation");
}

}  // namespace tk
