// Live preview from a skin editor: the record of a WM_COPYDATA is taken only when it is
// exactly the record, never read past its given size, its texts cut at their fields' ends;
// the application window applies it once, later, one record at a time.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "skin/sPlatformHooks.h"
#include "skinframework/acSkinPreview.h"
#include "tests/win_framework/manager_support.h"
#include "toolkit/Application.h"

using namespace kvfw;

namespace {

constexpr size_t kRecordSize = sizeof(sk::TacSkinData);

// Bytes placed so that the last one is the last byte before a page that cannot be read: a
// read past the end faults.
class GuardedBytes {
public:
    explicit GuardedBytes(size_t size) : FSize(size) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        FPage = info.dwPageSize;
        FPages = (size + FPage - 1) / FPage + 1;
        FBase = static_cast<uint8_t*>(VirtualAlloc(nullptr, FPages * FPage, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(FBase + (FPages - 1) * FPage, FPage, PAGE_NOACCESS, &old);
    }
    ~GuardedBytes() { VirtualFree(FBase, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    uint8_t* Data() const { return FBase + (FPages - 1) * FPage - FSize; }
    size_t Size() const { return FSize; }

private:
    size_t FSize, FPage = 0, FPages = 0;
    uint8_t* FBase = nullptr;
};

void PutMagic(uint8_t* data, uint32_t magic) { std::memcpy(data, &magic, sizeof magic); }

// A record with the given texts (each must fit its field with its zero).
std::vector<uint8_t> Record(const std::string& name, const std::string& dir, const std::string& options) {
    std::vector<uint8_t> bytes(kRecordSize, 0);
    sk::TacSkinData record{};
    record.Magic = sk::kSkinDataMagic;
    std::memcpy(record.SkinName, name.data(), name.size());
    std::memcpy(record.SkinDir, dir.data(), dir.size());
    std::memcpy(record.Data, options.data(), options.size());
    std::memcpy(bytes.data(), &record, kRecordSize);
    return bytes;
}

LRESULT SendCopy(WPARAM id, const void* data, size_t size) {
    COPYDATASTRUCT copy{0, static_cast<DWORD>(size), const_cast<void*>(data)};
    return SendMessageW(tk::Application->Handle(), WM_COPYDATA, id, reinterpret_cast<LPARAM>(&copy));
}

// Sends from a thread of its own while this thread keeps running its messages.
LRESULT SendCopyFromAnotherThread(WPARAM id, const std::vector<uint8_t>& bytes) {
    std::atomic<bool> done{false};
    LRESULT result = 0;
    HWND app = tk::Application->Handle();
    std::thread sender([&] {
        COPYDATASTRUCT copy{0, static_cast<DWORD>(bytes.size()), const_cast<uint8_t*>(bytes.data())};
        result = SendMessageW(app, WM_COPYDATA, id, reinterpret_cast<LPARAM>(&copy));
        done = true;
    });
    MSG msg;
    // Only sent messages: what the record posts stays queued until the test runs the loop.
    while (!done) {
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(1);
    }
    sender.join();
    return result;
}

// Options text of a preview: a skin without images (the editor's folder has none here) with a
// section the test skin lacks, so that the preview can be told apart.
std::string PreviewOptions() {
    return "[GLOBALINFO]\nVERSION=7.20\n[FORM]\nSTATES=1\nCOLOR=4210752\n"
           "[BUTTON]\nSTATES=3\nCOLOR=2117760\nHOTCOLOR=3187952\n[PREVIEWONLY]\nSTATES=1\nCOLOR=255\n";
}

bool HasPreviewSection(const sk::TsSkinManager& m) { return m.Model().GetSkinIndex(L"PREVIEWONLY") >= 0; }

}  // namespace

struct RecordCase {
    const char* name;
    size_t size;  // bytes given (and readable)
    uint32_t magic;
    bool accepted;
};

TEST(PreviewRecord, OnlyARecordOfExactlyItsSizeAndMagicIsTakenAndNothingPastTheGivenSizeIsRead) {
    const RecordCase cases[] = {
        {"exact", kRecordSize, sk::kSkinDataMagic, true},
        {"one byte short", kRecordSize - 1, sk::kSkinDataMagic, false},
        {"one byte long", kRecordSize + 1, sk::kSkinDataMagic, false},
        {"header only", 4, sk::kSkinDataMagic, false},
        {"wrong magic", kRecordSize, 0xA401, false},
        {"magic of another byte order", kRecordSize, 0x00A40000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GuardedBytes bytes(c.size);
        std::memset(bytes.Data(), 'A', c.size);
        PutMagic(bytes.Data(), c.magic);
        sk::TacPreviewBuffer buffer;
        COPYDATASTRUCT copy{0, static_cast<DWORD>(c.size), bytes.Data()};
        EXPECT_EQ(buffer.Receive(&copy), c.accepted);
        EXPECT_EQ(buffer.Record() != nullptr, c.accepted);
    }
}

TEST(PreviewRecord, AMissingRecordIsRefused) {
    sk::TacPreviewBuffer buffer;
    EXPECT_FALSE(buffer.Receive(nullptr));
    COPYDATASTRUCT empty{0, static_cast<DWORD>(kRecordSize), nullptr};
    EXPECT_FALSE(buffer.Receive(&empty));
    EXPECT_EQ(buffer.Record(), nullptr);
}

TEST(PreviewRecord, FieldsWithoutTheirZeroAreCutAtTheirLastByte) {
    GuardedBytes bytes(kRecordSize);
    std::memset(bytes.Data(), 'A', kRecordSize);
    PutMagic(bytes.Data(), sk::kSkinDataMagic);
    sk::TacPreviewBuffer buffer;
    COPYDATASTRUCT copy{0, static_cast<DWORD>(kRecordSize), bytes.Data()};
    ASSERT_TRUE(buffer.Receive(&copy));
    const sk::TacSkinData& r = *buffer.Record();
    EXPECT_EQ(sk::SkinDataText(r.SkinName), std::wstring(127, L'A'));
    EXPECT_EQ(sk::SkinDataText(r.SkinDir), std::wstring(512, L'A'));
    EXPECT_EQ(sk::SkinDataText(r.Data), std::wstring(30000, L'A'));
}

TEST(PreviewRecord, TextsAreSingleByteTextOfTheSystemCodePage) {
    sk::InstallPlatformHooks();  // as the engine's start-up does
    const std::vector<uint8_t> bytes = Record("Ab\xC4", "C:\\Skins", "[X]\n");
    sk::TacPreviewBuffer buffer;
    COPYDATASTRUCT copy{0, static_cast<DWORD>(bytes.size()), const_cast<uint8_t*>(bytes.data())};
    ASSERT_TRUE(buffer.Receive(&copy));
    wchar_t expected[3] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "Ab\xC4", 3, expected, 3), 3);
    EXPECT_EQ(sk::SkinDataText(buffer.Record()->SkinName), std::wstring(expected, 3));
    EXPECT_EQ(sk::SkinDataText(buffer.Record()->SkinDir), L"C:\\Skins");
}

TEST(ManagerPreview, ARecordSentFromAnotherThreadIsAppliedOnceByTheMessageLoop) {
    TErrorCapture errors;
    auto manager = MakeManager();
    TTestForm form;
    auto* control = new TTestWinControl(&form, kButtonKind, {5, 5, 60, 30}, L"", L"Button");
    TJournal journal;
    control->Journal = &journal;
    const auto record = Record(Narrow(kTestSkinName), "C:\\kalvetra-preview-skins", PreviewOptions());

    EXPECT_EQ(SendCopyFromAnotherThread(sk::kPreviewCopyId, record), 1);
    EXPECT_FALSE(HasPreviewSection(*manager)) << "applied later, by the message loop";
    PumpMessages();
    EXPECT_TRUE(HasPreviewSection(*manager));
    EXPECT_EQ(manager->SkinName(), kTestSkinName);
    EXPECT_EQ(manager->Core().SkinDirectory(), L"C:\\kalvetra-preview-skins");
    EXPECT_EQ(CommandsOf(journal, L"Button", {sk::SC_NEWSKIN, sk::SC_REFRESH}),
              (std::vector<WORD>{sk::SC_NEWSKIN, sk::SC_REFRESH}))
        << "announced once, after the update block";
    EXPECT_EQ(manager->PreviewBuffer().Record(), nullptr) << "ready for the next record";

    manager->SetHueOffset(30);
    EXPECT_FALSE(HasPreviewSection(*manager)) << "the preview text served one load";
    EXPECT_TRUE(manager->Active());
    EXPECT_TRUE(errors.Errors.empty());
}

struct RefusedCopy {
    const char* name;
    WPARAM id;
    std::vector<uint8_t> bytes;
};

TEST(ManagerPreview, OtherCopiesAreAnsweredZeroAndChangeNothing) {
    TErrorCapture errors;
    auto magic = [](std::vector<uint8_t> bytes, uint32_t m) {
        PutMagic(bytes.data(), m);
        return bytes;
    };
    const auto good = Record(Narrow(kTestSkinName), "C:\\kalvetra-preview-skins", PreviewOptions());
    const RefusedCopy cases[] = {
        {"another copy id", 6, good},
        {"short record", sk::kPreviewCopyId, std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"long record", sk::kPreviewCopyId, [&] { auto b = good; b.push_back(0); return b; }()},
        {"wrong magic", sk::kPreviewCopyId, magic(good, 0xB400)},
        {"empty", sk::kPreviewCopyId, {}},
    };
    auto manager = MakeManager();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendCopyFromAnotherThread(c.id, c.bytes), 0);
        PumpMessages();
        EXPECT_FALSE(HasPreviewSection(*manager));
        EXPECT_NE(manager->Core().SkinDirectory(), L"C:\\kalvetra-preview-skins");
    }
}

TEST(ManagerPreview, ARecordArrivingWhileOneIsWaitingIsRefused) {
    TErrorCapture errors;
    auto manager = MakeManager();
    const auto first = Record(Narrow(kTestSkinName), "C:\\first", PreviewOptions());
    const auto second = Record(Narrow(kTestSkinName), "C:\\second", PreviewOptions());
    EXPECT_EQ(SendCopy(sk::kPreviewCopyId, first.data(), first.size()), 1);
    EXPECT_EQ(SendCopy(sk::kPreviewCopyId, second.data(), second.size()), 0);
    PumpMessages();
    EXPECT_EQ(manager->Core().SkinDirectory(), L"C:\\first");
    EXPECT_EQ(SendCopy(sk::kPreviewCopyId, second.data(), second.size()), 1) << "taken once the first is done";
    PumpMessages();
    EXPECT_EQ(manager->Core().SkinDirectory(), L"C:\\second");
}

TEST(ManagerPreview, ARecordIsReadInPlaceUpToItsEndOnly) {
    TErrorCapture errors;
    auto manager = MakeManager();
    const auto record = Record(Narrow(kTestSkinName), "C:\\guarded", PreviewOptions());
    GuardedBytes shorter(kRecordSize - 1), exact(kRecordSize);
    std::memcpy(shorter.Data(), record.data(), shorter.Size());
    std::memcpy(exact.Data(), record.data(), exact.Size());
    EXPECT_EQ(SendCopy(sk::kPreviewCopyId, shorter.Data(), shorter.Size()), 0);
    EXPECT_EQ(SendCopy(sk::kPreviewCopyId, exact.Data(), exact.Size()), 1);
    PumpMessages();
    EXPECT_TRUE(HasPreviewSection(*manager));
    EXPECT_TRUE(errors.Errors.empty());
}

TEST(ManagerPreview, ThePreviewCommandDoesNothingWithoutARecord) {
    TErrorCapture errors;
    auto manager = MakeManager();
    const std::wstring directory = manager->Core().SkinDirectory();
    PostMessageW(tk::Application->Handle(), sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_PREVIEWSKIN), 0);
    PumpMessages();
    EXPECT_EQ(manager->SkinName(), kTestSkinName);
    EXPECT_EQ(manager->Core().SkinDirectory(), directory);
    EXPECT_TRUE(manager->Active());
}

TEST(ManagerPreview, ThePreviewCommandSentFromAnotherThreadIsDropped) {
    TErrorCapture errors;
    auto manager = MakeManager();
    const auto record = Record(Narrow(kTestSkinName), "C:\\kalvetra-preview-skins", PreviewOptions());
    ASSERT_EQ(SendCopy(sk::kPreviewCopyId, record.data(), record.size()), 1);
    std::atomic<bool> done{false};
    HWND app = tk::Application->Handle();
    std::thread sender([&] {
        SendMessageW(app, sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_PREVIEWSKIN), 0);
        done = true;
    });
    MSG msg;
    while (!done) {
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(1);
    }
    sender.join();
    EXPECT_FALSE(HasPreviewSection(*manager)) << "only the command the window posted itself applies it";
    EXPECT_NE(manager->PreviewBuffer().Record(), nullptr);
    PumpMessages();
    EXPECT_TRUE(HasPreviewSection(*manager));
}

TEST(ManagerPreview, APreviewForAnotherSkinNameIsDroppedWhenTheNameChanges) {
    TErrorCapture errors;
    auto manager = MakeManager();
    const std::string options = PreviewOptions();
    manager->Core().SetPreviewOptions(L"Some other skin", std::wstring(options.begin(), options.end()));
    manager->SetSkinName(kTestSkinName);
    EXPECT_FALSE(HasPreviewSection(*manager));
    EXPECT_FALSE(manager->Core().HasPreviewOptions());
}
