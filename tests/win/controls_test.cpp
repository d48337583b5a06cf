// Controls the installer relies on: gauge limits, directory edit dialog sequence, memo lines,
// the application's error handler and a close request while a handler pumps messages.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "TestFiles.h"
#include "controls/sGauge.h"
#include "controls/sMemo.h"
#include "controls/acPathDialog.h"
#include "controls/acShellCtrls.h"
#include "controls/sToolEdit.h"
#include "installer/Unit1.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"

using namespace tk;

namespace {

struct PercentCase { int min, max, progress, percent; };

class GaugePercents : public ::testing::TestWithParam<PercentCase> {};

TEST_P(GaugePercents, RoundHalfToEven) {
    const auto& c = GetParam();
    EXPECT_EQ(sk::GaugePercent(c.min, c.max, c.progress), c.percent);
}

INSTANTIATE_TEST_SUITE_P(Cases, GaugePercents, ::testing::Values(
    PercentCase{0, 4, 1, 25}, PercentCase{0, 4, 3, 75}, PercentCase{0, 4, 4, 100}, PercentCase{0, 4, 0, 0},
    PercentCase{5, 5, 5, 0}, PercentCase{0, 8, 1, 12}, PercentCase{0, 8, 3, 38}, PercentCase{0, 200, 1, 0},
    PercentCase{0, 200, 3, 2}, PercentCase{-10, 10, 0, 50}));

TEST(Gauge, SixStepsAgainstMaximumFourStopAtFour) {
    TApplication app;
    sk::TsGauge gauge(nullptr);
    gauge.SetMaxValue(4);
    gauge.SetProgress(0);
    int changes = 0;
    gauge.OnChange = [&](TObject*) { ++changes; };
    std::vector<std::wstring> texts;
    for (int i = 0; i < 6; ++i) {
        gauge.SetProgress(gauge.Progress() + 1);
        texts.push_back(gauge.Text());
    }
    EXPECT_EQ(gauge.Progress(), 4);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"25%", L"50%", L"75%", L"100%", L"100%", L"100%"}));
    gauge.SetProgress(-3);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_THROW(gauge.SetMaxValue(-1), EInvalidOperation);
}

class DirectoryEditTest : public ::testing::Test {
protected:
    TApplication app;
    sk::TsDirectoryEdit edit{nullptr};
    kvtest::TempDir dir;
    std::wstring seenStart, seenName;
    bool seenAction = false;
    void SetUp() override {
        edit.NoChangeDir = true;
        edit.OnAfterDialog = [this](TObject*, std::wstring& name, bool& action) {
            seenName = name;
            seenAction = action;
            kv::ApplyAfterDialogRule(name, action);
        };
    }
    void Answer(bool ok, const std::wstring& path) {
        edit.ExecuteDialog = [=, this](const std::wstring& start, std::wstring& chosen) {
            seenStart = start;
            chosen = path;
            return ok;
        };
    }
};

TEST_F(DirectoryEditTest, AcceptedFolderGoesThroughTheHandlerIntoTheEdit) {
    edit.SetText(dir.Path());
    Answer(true, L"D:\\Apps");
    edit.DoClick();
    EXPECT_EQ(seenStart, dir.Path()) << "an existing folder is where the dialog starts";
    EXPECT_EQ(seenName, L"D:\\Apps");
    EXPECT_TRUE(seenAction);
    EXPECT_EQ(edit.GetText(), L"D:\\Apps\\Kalvetra");
}

TEST_F(DirectoryEditTest, CancelKeepsTheTextAndTellsTheHandler) {
    const std::wstring notYet = dir.File(L"Kalvetra");
    edit.SetText(notYet);
    Answer(false, L"");
    edit.DoClick();
    EXPECT_EQ(seenStart, L"") << "a folder that does not exist yet is not the start";
    EXPECT_FALSE(seenAction);
    EXPECT_EQ(seenName, notYet);
    EXPECT_EQ(edit.GetText(), notYet);
}

TEST_F(DirectoryEditTest, BeforeDialogCanCancel) {
    edit.SetText(L"x");
    bool asked = false;
    edit.OnBeforeDialog = [](TObject*, std::wstring&, bool& action) { action = false; };
    edit.ExecuteDialog = [&](const std::wstring&, std::wstring&) { asked = true; return true; };
    edit.DoClick();
    EXPECT_FALSE(asked);
    EXPECT_EQ(edit.GetText(), L"x");
}

TEST(DirectoryTest, AnswersForMissingPathsAndFiles) {
    kvtest::TempDir dir;
    kvtest::WriteFileBytes(dir.File(L"file.txt"), "x");
    EXPECT_TRUE(sk::DirectoryExistsForDialog(dir.Path()));
    EXPECT_FALSE(sk::DirectoryExistsForDialog(dir.File(L"file.txt")));
    EXPECT_FALSE(sk::DirectoryExistsForDialog(dir.File(L"missing")));
    EXPECT_FALSE(sk::DirectoryExistsForDialog(dir.File(L"missing\\deeper")));
    EXPECT_EQ(sk::RootFolderId(L"rfDesktop"), 0);
    EXPECT_EQ(sk::RootFolderId(L"RFPROGRAMS"), 2);
    EXPECT_EQ(sk::RootFolderId(L"C:\\"), -1);
}

// A shell item without a file system path (the computer node, the control panel) has an empty
// path, never its display name, so that it cannot be taken for a folder.
TEST(ShellFolderPath, OnlyItemsOfTheFileSystemHaveOne) {
    ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    struct Case { int folder; const wchar_t* path; };
    for (const Case& c : {Case{CSIDL_WINDOWS, windows}, Case{CSIDL_DRIVES, nullptr}, Case{CSIDL_CONTROLS, nullptr}}) {
        LPITEMIDLIST item = nullptr;
        EXPECT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, c.folder, &item)) << c.folder;
        if (!item) continue;
        sk::TacShellFolder folder(nullptr, item);  // owns item
        const std::wstring path = folder.PathName();
        if (c.path) {
            EXPECT_EQ(_wcsicmp(path.c_str(), c.path), 0) << tk::WideToUtf8(path);
        } else {
            EXPECT_EQ(path, L"") << c.folder;
            EXPECT_FALSE(sk::IsDialogFolder(path));
        }
    }
    CoUninitialize();
}

class TestWindow : public TForm {
public:
    using TForm::TForm;
    std::function<void(TMessage&)> OnMessage;
    void WndProc(TMessage& m) override {
        if (OnMessage && m.Msg == WM_APP + 1) {
            OnMessage(m);
            return;
        }
        TForm::WndProc(m);
    }
};

TEST(Application, AnErrorInAHandlerIsShownAndTheLoopGoesOn) {
    TApplication app;
    std::vector<std::wstring> shown;
    app.OnException = [&](const std::wstring& m) { shown.push_back(m); };
    auto* form = app.CreateForm<TestWindow>();
    int calls = 0;
    form->OnMessage = [&](TMessage&) {
        if (++calls == 1) throw EFCreateError(L"Cannot create file \"C:\\x\". Access denied");
    };
    PostMessageW(form->Handle(), WM_APP + 1, 0, 0);
    PostMessageW(form->Handle(), WM_APP + 1, 0, 0);
    app.ProcessMessages();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"Cannot create file \"C:\\x\". Access denied"});
    EXPECT_FALSE(app.Terminated());
}

TEST(Application, ClosingDuringAPumpingHandlerEndsTheLoopAfterTheHandler) {
    TApplication app;
    auto* form = app.CreateForm<TestWindow>();
    form->SetClientSize(100, 100);
    form->Show();
    bool handlerFinished = false, stillAlive = false;
    // Taken once: asking the form for its handle later would create a new window if the
    // close request had destroyed this one.
    const HWND window = form->Handle();
    form->OnMessage = [&](TMessage&) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        for (int i = 0; i < 3; ++i) app.ProcessMessages();  // the install procedure pumps between files
        stillAlive = IsWindow(window) != FALSE;
        handlerFinished = true;
    };
    PostMessageW(window, WM_APP + 1, 0, 0);
    app.Run();
    EXPECT_TRUE(handlerFinished);
    EXPECT_TRUE(stillAlive) << "the window must outlive the handler that is running";
    EXPECT_TRUE(app.Terminated());
}

TEST(Memo, AppendedLinesBecomeTheLastLines) {
    TApplication app;
    auto* form = app.CreateForm<TestWindow>();
    auto* memo = new sk::TsMemo(form);
    memo->SetParent(form);
    memo->Lines().Add(L"Извлечение в C:\\Program Files\\Kalvetra\\bass.dll");
    form->HandleNeeded();
    memo->Lines().Add(L"Извлечение системных файлов");
    ASSERT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Lines().Get(0), L"Извлечение в C:\\Program Files\\Kalvetra\\bass.dll");
    EXPECT_EQ(memo->Lines().Get(1), L"Извлечение системных файлов");
}

}  // namespace

TEST(Timer, FiresThroughTheMessageLoopUntilDisabled) {
    TApplication app;
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 3) timer.SetEnabled(false);
    };
    timer.SetInterval(10);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        app.ProcessMessages();
        Sleep(5);
    }
    EXPECT_EQ(ticks, 3);
}
