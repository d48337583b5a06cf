// Memory, file and resource streams; zlib inflation; payload extraction to files.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "installer/UtilityPasZlib.h"
#include "toolkit/Streams.h"

using namespace tk;
using kvtest::Deflate;

namespace {

TMemoryStream StreamOf(const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

std::string Contents(const TMemoryStream& s) {
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(const_cast<TMemoryStream&>(s).Size()));
}

std::string Sample(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>("Kalvetra payload "[i % 17] + (i / 977) % 7);
    return s;
}

}  // namespace

TEST(MemoryStream, ReadsWritesAndSeeksLikeAFile) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    s.Seek(-2, TSeekOrigin::End);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 2);
    EXPECT_STREQ(buf, "ef");
    EXPECT_EQ(s.Read(buf, 8), 0);
    s.SetPosition(1);
    s.WriteBuffer("XY", 2);
    EXPECT_EQ(Contents(s), "aXYdef");
    EXPECT_THROW(s.Seek(-1, TSeekOrigin::Beginning), EStreamError);
    s.Seek(-1, TSeekOrigin::End);
    EXPECT_THROW(s.ReadBuffer(buf, 2), EReadError) << "reading past the end";
}

TEST(MemoryStream, GrowsGeometrically) {
    TMemoryStream s;
    char chunk[4096] = {};
    int reallocations = 0;
    int64_t capacity = 0;
    for (int i = 0; i < 5000; ++i) {  // 20 MB in 4 KB writes
        s.WriteBuffer(chunk, sizeof chunk);
        if (s.Capacity() != capacity) {
            ++reallocations;
            capacity = s.Capacity();
        }
    }
    EXPECT_EQ(s.Size(), 5000 * 4096);
    EXPECT_LT(reallocations, 40);
}

TEST(ZlibInflate, RoundTripsAndStopsAtTheStreamEnd) {
    std::string text = Sample(100000);
    auto packed = Deflate(text);
    ASSERT_EQ(packed[0], 0x78);
    ASSERT_EQ(packed[1], 0xDA);
    packed.push_back('!');  // a byte that belongs to whatever follows the stream
    packed.push_back('?');
    TMemoryStream src = StreamOf(packed), dst;
    kv::DecompressStream(src, dst);
    EXPECT_EQ(Contents(dst), text);
    EXPECT_EQ(src.Position(), static_cast<int64_t>(packed.size()) - 2);
}

TEST(ZlibInflate, AppendsToTheDestination) {
    auto packed = Deflate("tail");
    TMemoryStream src = StreamOf(packed), dst;
    dst.WriteBuffer("head-", 5);
    kv::DecompressStream(src, dst);
    EXPECT_EQ(Contents(dst), "head-tail");
}

struct BrokenStream {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* message;
};

class ZlibInflateErrors : public ::testing::TestWithParam<BrokenStream> {};

TEST_P(ZlibInflateErrors, RaiseZlibsMessage) {
    auto packed = Deflate(Sample(50000));
    GetParam().damage(packed);
    TMemoryStream src = StreamOf(packed), dst;
    try {
        kv::DecompressStream(src, dst);
        FAIL() << GetParam().what << ": no error";
    } catch (const EZDecompressionError& e) {
        EXPECT_EQ(e.Message(), Utf8ToWide(GetParam().message)) << GetParam().what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZlibInflateErrors,
    ::testing::Values(
        BrokenStream{"truncated in the middle", [](auto& p) { p.resize(p.size() / 2); }, "buffer error"},
        BrokenStream{"trailer cut off", [](auto& p) { p.resize(p.size() - 3); }, "buffer error"},
        BrokenStream{"empty", [](auto& p) { p.clear(); }, "buffer error"},
        BrokenStream{"bad header", [](auto& p) { p[0] = 0x12; }, "data error"},
        BrokenStream{"corrupt deflate data", [](auto& p) { for (size_t i = 10; i < 40; ++i) p[i] ^= 0x5A; }, "data error"},
        BrokenStream{"wrong checksum", [](auto& p) { p[p.size() - 1] ^= 1; }, "data error"}));

TEST(ExtractResourceToFile, WritesTheDecompressedContent) {
    kvtest::TempDir dir;
    std::string text = Sample(300000);
    TMemoryStream res = StreamOf(Deflate(text));
    res.Seek(0, TSeekOrigin::End);  // the whole resource is extracted, wherever it was read to
    kv::ExtractResourceToFile(res, dir.File(L"out.bin"));
    auto bytes = kvtest::ReadFileBytes(dir.File(L"out.bin"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
    EXPECT_FALSE(kvtest::FileExists(dir.File(L"out.bin.partial")));
}

TEST(ExtractResourceToFile, ReplacesAnExistingFile) {
    kvtest::TempDir dir;
    kvtest::WriteFileBytes(dir.File(L"out.bin"), std::string(1000, 'o'));
    TMemoryStream res = StreamOf(Deflate("new content"));
    kv::ExtractResourceToFile(res, dir.File(L"out.bin"));
    auto bytes = kvtest::ReadFileBytes(dir.File(L"out.bin"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new content");
}

TEST(ExtractResourceToFile, KeepsTheOldFileWhenThePayloadIsBroken) {
    kvtest::TempDir dir;
    kvtest::WriteFileBytes(dir.File(L"out.bin"), "old content");
    auto packed = Deflate(Sample(20000));
    packed.resize(packed.size() / 2);
    TMemoryStream res = StreamOf(packed);
    EXPECT_THROW(kv::ExtractResourceToFile(res, dir.File(L"out.bin")), EZDecompressionError);
    auto bytes = kvtest::ReadFileBytes(dir.File(L"out.bin"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old content");
    EXPECT_FALSE(kvtest::FileExists(dir.File(L"out.bin.partial")));
}

TEST(ExtractResourceToFile, KeepsAFileThatAnotherProcessHoldsOpen) {
    kvtest::TempDir dir;
    std::wstring target = dir.File(L"held.exe");
    kvtest::WriteFileBytes(target, "old content");
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TMemoryStream res = StreamOf(Deflate("new content"));
    try {
        kv::ExtractResourceToFile(res, target);
        ADD_FAILURE() << "replacing a file held open succeeded";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(L"Cannot create file \"" + target + L"\"."), std::wstring::npos) << e.what();
    }
    CloseHandle(held);
    auto bytes = kvtest::ReadFileBytes(target);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old content");
    EXPECT_FALSE(kvtest::FileExists(target + L".partial"));
}

TEST(ExtractResourceToFile, ReportsADirectoryThatDoesNotExist) {
    kvtest::TempDir dir;
    TMemoryStream res = StreamOf(Deflate("x"));
    EXPECT_THROW(kv::ExtractResourceToFile(res, dir.File(L"missing\\out.bin")), EFCreateError);
}

TEST(ResourceStream, MissingResourceNamesIt) {
    try {
        TResourceStream r(GetModuleHandleW(nullptr), L"basswasapi", RT_RCDATA);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource basswasapi not found");
    }
}

TEST(FileStream, OpenErrorsCarryThePath) {
    try {
        TFileStream f(L"C:\\no\\such\\file.txt", fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(L"C:\\no\\such\\file.txt"), std::wstring::npos);
    }
}
