// Packed skins: reading, writing, bad input, extraction names.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

#include "skin/acCodePage.h"
#include "skin/acSkinPack.h"

using namespace sk;

namespace {

TBytes Text(const std::string& s) { return TBytes(s.begin(), s.end()); }

void Int32(TBytes& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

TBytes Deflate(const TBytes& data) {
    uLongf n = compressBound(static_cast<uLong>(data.size()));
    TBytes out(n);
    compress2(out.data(), &n, data.data(), static_cast<uLong>(data.size()), 9);
    out.resize(n);
    return out;
}

// A package built byte by byte: header, then entries of (name bytes, stated size, stream).
struct RawEntry {
    std::string name;
    int32_t size;
    TBytes stream;
};
TBytes Raw(int32_t count, const std::vector<RawEntry>& entries, const char* sig = "Kvpx") {
    TBytes out(sig, sig + 4);
    Int32(out, count);
    for (const auto& e : entries) {
        Int32(out, static_cast<int32_t>(e.name.size()));
        out.insert(out.end(), e.name.begin(), e.name.end());
        Int32(out, e.size);
        out.insert(out.end(), e.stream.begin(), e.stream.end());
    }
    return out;
}

std::unique_ptr<TacSkinConvertor> Unpack(TBytes data) {
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->SetPackedData(std::move(data));
    UnpackSkinPack(conv);
    return conv;
}

std::string UnpackError(TBytes data) {
    try {
        Unpack(std::move(data));
    } catch (const ESkinError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(SkinPack, RoundTripKeepsOrderAndFindsOptionsInAnyCase) {
    UseHostCodePage(THostCodePage::cp1251);
    const TBytes options = Text("[GLOBALINFO]\nVERSION=7.20\n");
    TBytes master(5000);
    for (size_t i = 0; i < master.size(); ++i) master[i] = static_cast<uint8_t>(i * 7);
    const TBytes packed = PackSkin({{L"options.DAT", options},
                                    {L"Huge.bmp", Text("BM-huge")},
                                    {L"Master - \x043A\x043E\x043F\x0438\x044F.bmp", master},
                                    {L"CloseG.png", Text("png")}});
    EXPECT_EQ(packed[8 + 4 + 11 + 4], 0x78);  // zlib header of the first stream
    auto conv = Unpack(packed);
    ASSERT_TRUE(conv);
    EXPECT_EQ(conv->ImageCount, 3);
    ASSERT_TRUE(conv->Options);
    EXPECT_EQ(*conv->Options, options);
    ASSERT_EQ(conv->Files.size(), 3u);
    EXPECT_EQ(conv->Files[0].FileName, L"Huge.bmp");
    EXPECT_TRUE(conv->Files[0].IsBitmap);
    EXPECT_EQ(conv->Files[1].FileName, L"Master - \x043A\x043E\x043F\x0438\x044F.bmp");
    EXPECT_EQ(conv->Files[1].FileStream, master);
    EXPECT_TRUE(conv->Files[1].IsBitmap);
    EXPECT_EQ(conv->Files[2].FileName, L"CloseG.png");
    EXPECT_FALSE(conv->Files[2].IsBitmap);
    // The name is stored in code page 1251: "копия" is EA EE EF E8 FF.
    const std::string stored(reinterpret_cast<const char*>(packed.data()), packed.size());
    EXPECT_NE(stored.find("Master - \xEA\xEE\xEF\xE8\xFF.bmp"), std::string::npos);
}

TEST(SkinPack, EdgeCounts) {
    auto zero = Unpack(Raw(0, {}));
    EXPECT_EQ(zero->ImageCount, -1);
    EXPECT_TRUE(zero->Files.empty());
    EXPECT_FALSE(zero->Options);
    auto negative = Unpack(Raw(-5, {}));
    EXPECT_EQ(negative->ImageCount, -6);
    auto lowest = Unpack(Raw(INT32_MIN, {}));  // found by fuzzing: N - 1 overflowed
    EXPECT_EQ(lowest->ImageCount, INT32_MIN);
    EXPECT_TRUE(lowest->Files.empty());
    auto noOptions = Unpack(PackSkin({{L"A.BMP", Text("x")}}));
    EXPECT_FALSE(noOptions->Options);
    EXPECT_EQ(noOptions->Files.size(), 1u);
    // A later options entry replaces an earlier one.
    auto twice = Unpack(PackSkin({{L"Options.dat", Text("one")}, {L"OPTIONS.DAT", Text("two")}}));
    EXPECT_EQ(*twice->Options, Text("two"));
    EXPECT_EQ(twice->ImageCount, 1);
}

TEST(SkinPack, BadInputRaisesWithMessage) {
    const TBytes good = Deflate(Text("hello world"));
    TBytes corrupt = good;
    corrupt[4] ^= 0xFF;
    TBytes badAdler = good;
    badAdler.back() ^= 1;
    TBytes cut(good.begin(), good.begin() + 6);
    struct Case { const char* what; TBytes data; const char* message; } cases[] = {
        {"empty", {}, "not a packed Tessaro file"},
        {"signature", Raw(0, {}, "KVPX"), "not a packed Tessaro file"},
        {"no count", Text("Kvpx\x01"), "truncated"},
        {"missing entry", Raw(2, {{"a.png", 11, good}}), "truncated"},
        {"negative name length", [] { TBytes b = Raw(1, {}); Int32(b, -1); return b; }(), "truncated"},
        {"absurd name length", [] { TBytes b = Raw(1, {}); Int32(b, 0x7FFFFFFF); b.push_back('a'); return b; }(),
         "truncated"},
        {"no size", [] { TBytes b = Raw(1, {}); Int32(b, 1); b.push_back('a'); return b; }(), "truncated"},
        {"zero size", Raw(1, {{"a.png", 0, good}}), "Invalid ZStream operation!"},
        {"negative size", Raw(1, {{"a.png", -3, good}}), "Invalid ZStream operation!"},
        {"absurd size", Raw(1, {{"a.png", 0x7FFFFFFF, good}}), "exceeds what its data can hold"},
        {"corrupt deflate", Raw(1, {{"a.png", 11, corrupt}}), "zlib: "},
        {"bad adler", Raw(1, {{"a.png", 11, badAdler}}), "incorrect data check"},
        {"shorter than S", Raw(1, {{"a.png", 12, good}}), "fewer bytes"},
        {"longer than S", Raw(1, {{"a.png", 10, good}}), "more bytes"},
        {"stream cut", Raw(1, {{"a.png", 11, cut}}), "truncated"},
        {"no stream", Raw(1, {{"a.png", 11, {}}}), "truncated"},
    };
    for (const auto& c : cases) EXPECT_NE(UnpackError(c.data).find(c.message), std::string::npos) << c.what << ": " << UnpackError(c.data);
}

TEST(SkinPack, WrongSignatureFreesTheConvertor) {
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->SetPackedData(Text("RIFF...."));
    EXPECT_THROW(UnpackSkinPack(conv), ESkinError);
    EXPECT_EQ(conv, nullptr);
}

TEST(SkinPack, StreamsBackToBackAndHugeEntries) {
    // Entries larger than one 128 KiB input block, stored back to back.
    TBytes big(400000);
    uint32_t s = 1;
    for (auto& b : big) b = static_cast<uint8_t>((s = s * 1664525u + 1013904223u) >> 24);
    auto conv = Unpack(PackSkin({{L"a.bmp", big}, {L"b.png", Text("tail")}, {L"c.png", big}}));
    ASSERT_EQ(conv->Files.size(), 3u);
    EXPECT_EQ(conv->Files[0].FileStream, big);
    EXPECT_EQ(conv->Files[1].FileStream, Text("tail"));
    EXPECT_EQ(conv->Files[2].FileStream, big);
}

TEST(SkinPack, LentDataStaysWithItsOwner) {
    const TBytes data = PackSkin({{L"Options.dat", Text("[X]")}});
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->LendPackedData(&data);
    UnpackSkinPack(conv);
    conv->DetachPackedData();
    conv.reset();
    EXPECT_EQ(data, PackSkin({{L"Options.dat", Text("[X]")}}));
}

TEST(SkinPack, LoadSkinPackFile) {
    const std::string dir = KALVETRA_TEST_TMP;
    const std::string path = dir + "/skinpack_test.kvp";
    {
        const TBytes data = PackSkin({{L"Options.dat", Text("[A]")}, {L"M.BMP", Text("bm")}});
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
    }
    std::unique_ptr<TacSkinConvertor> conv;
    LoadSkinPackFile(dir + "/does-not-exist.kvp", conv, true);
    EXPECT_EQ(conv, nullptr);
    LoadSkinPackFile(path, conv, false);
    ASSERT_TRUE(conv);
    EXPECT_TRUE(conv->PackedData());
    EXPECT_EQ(conv->Files.size(), 1u);
    LoadSkinPackFile(path, conv, true);  // an existing convertor is cleared first
    EXPECT_EQ(conv->Files.size(), 1u);
    EXPECT_EQ(conv->PackedData(), nullptr);
}

TEST(SkinPack, WriterRefusesWhatTheFormatCannotHold) {
    UseHostCodePage(THostCodePage::cp1252);
    EXPECT_THROW(PackSkin({{L"\x043A.bmp", Text("x")}}), ESkinError);  // no Cyrillic in 1252
    UseHostCodePage(THostCodePage::cp1251);
    EXPECT_THROW(PackSkin({{L"empty.bmp", {}}}), ESkinError);
}

TEST(SkinPack, ExtractionNames) {
    struct Case { const wchar_t* in; const wchar_t* out; } cases[] = {
        {L"", L""}, {L"C:\\Skins\\", L"C:\\Skins\\"}, {L"C:\\Skins/", L"C:\\Skins\\"},
        {L"D", L"D:\\"}, {L"C:\\Skins", L"C:\\Skins\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeExtractDir(c.in), c.out);
    EXPECT_EQ(ExtractedSkinFileName(L"C:\\S\\", L"Velmora2"), L"C:\\S\\Velmora2 extracted.kvp");
    EXPECT_EQ(DirCreationErrorMessage(L"Q:\\x\\"), L"Directory Q:\\x\\ creation error.");
}
