// What the skinning engine builds on in the toolkit: message numbers, component lifetime and
// free notification, the forms list, the application window and its hooks, replaceable
// window procedures, released and layered forms, timers, worker threads, painting into a
// given DC, redraw helpers and the controls' notifications. Real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>

#include "toolkit/DescriptionReader.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/Redraw.h"
#include "toolkit/Threads.h"

using namespace tk;

namespace {

// Pumps the application until done() holds; gives up after many rounds so that a fault
// fails the test instead of hanging it.
template <class Done> bool PumpUntil(TApplication& app, Done done) {
    for (int round = 0; round < 2000 && !done(); ++round) {
        app.ProcessMessages();
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}

// Installs a recording handler in front of a control's WindowProc; puts the old one back
// when it goes out of scope.
class WindowProcSpy {
public:
    explicit WindowProcSpy(TControl& control) : FControl(control), FSaved(control.WindowProc) {
        control.WindowProc = [this](TMessage& m) {
            FMessages.push_back(m);
            if (Answer && m.Msg == AnswerMsg) {
                m.Result = Answer;
                return;
            }
            FSaved(m);
        };
    }
    ~WindowProcSpy() { Restore(); }
    void Restore() {
        if (FRestored) return;
        FControl.WindowProc = FSaved;
        FRestored = true;
    }
    int Count(UINT msg) const {
        return static_cast<int>(std::count_if(FMessages.begin(), FMessages.end(), [msg](const TMessage& m) { return m.Msg == msg; }));
    }
    std::vector<WPARAM> WParams(UINT msg) const {
        std::vector<WPARAM> out;
        for (const TMessage& m : FMessages)
            if (m.Msg == msg) out.push_back(m.WParam);
        return out;
    }
    void Clear() { FMessages.clear(); }
    UINT AnswerMsg = 0;
    LRESULT Answer = 0;  // returned for AnswerMsg without calling the saved procedure

private:
    TControl& FControl;
    TWndMethod FSaved;
    std::vector<TMessage> FMessages;
    bool FRestored = false;
};

// A form with a plain frame-less client area of a known size.
TForm* PlainForm(TComponent* owner, int width, int height) {
    auto* form = new TForm(owner);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, width, height);
    return form;
}

// A graphic control that fills its box with one colour.
class TSwatch : public TGraphicControl {
public:
    TSwatch(TComponent* owner, COLORREF rgb) : TGraphicControl(owner), FRgb(rgb) {}
    void Paint(TCanvas& canvas) override {
        HBRUSH b = CreateSolidBrush(FRgb);
        RECT r{0, 0, Width(), Height()};
        FillRect(canvas.Handle(), &r, b);
        DeleteObject(b);
    }
private:
    COLORREF FRgb;
};

uint32_t PixelRgb(const TBitmap& bmp, int x, int y) { return bmp.ScanLine(y)[x] & 0xFFFFFF; }
// A COLORREF (0x00BBGGRR) as the DIB stores it (0x00RRGGBB).
uint32_t DibRgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// --- Message numbers

const UINT kEngineMessages[] = {0xA100, 0xB000, 0xBCB3, 0xBCB4};

const std::vector<UINT> kToolkitMessages = {
    CM_ENABLEDCHANGED, CM_FONTCHANGED, CM_TEXTCHANGED, CM_VISIBLECHANGED, CM_SHOWINGCHANGED, CM_MOUSEENTER,
    CM_MOUSELEAVE, CM_ENTER, CM_EXIT, CM_COLORCHANGED, CM_MENUCHANGED, CM_RELEASE, CM_SYNCHRONIZE, CN_COMMAND,
    CN_NOTIFY, CN_CTLCOLOREDIT, CN_CTLCOLORSTATIC, CN_CTLCOLORBTN, CN_CTLCOLORLISTBOX};

TEST(MessageNumbers, EngineMessagesAreNeitherToolkitMessagesNorInItsRanges) {
    for (UINT engine : kEngineMessages) {
        SCOPED_TRACE(engine);
        EXPECT_FALSE(IsToolkitMessage(engine));
        EXPECT_EQ(std::count(kToolkitMessages.begin(), kToolkitMessages.end(), engine), 0);
    }
}

TEST(MessageNumbers, ToolkitMessagesAreDistinctAndBelowRegisteredMessages) {
    std::set<UINT> seen;
    for (UINT msg : kToolkitMessages) {
        SCOPED_TRACE(msg);
        EXPECT_TRUE(IsToolkitMessage(msg));
        EXPECT_GE(msg, static_cast<UINT>(WM_APP));
        EXPECT_LT(msg, 0xC000u);
        EXPECT_TRUE(seen.insert(msg).second) << "used twice";
    }
    EXPECT_EQ(CM_MENUCHANGED, CM_BASE + 0x0B);
}

// A window class of its own whose procedure records the application-range messages it gets.
std::vector<UINT> recordedByClassProc;

LRESULT CALLBACK RecordingClassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_APP) recordedByClassProc.push_back(msg);
    return DefWindowProcW(h, msg, wp, lp);
}

class TRecordingControl : public TWinControl {
public:
    using TWinControl::TWinControl;
protected:
    void CreateParams(TCreateParams& p) override {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = RecordingClassProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TkFrameworkRecording";
            registered = RegisterClassW(&wc) != 0;
        }
        TWinControl::CreateParams(p);
        p.ClassName = L"TkFrameworkRecording";
    }
};

TEST(MessageNumbers, EngineMessagesReachASubclassedWindowsProcedureToolkitOnesDoNot) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 10, 10));
    auto* control = new TRecordingControl(form.get());
    control->SetParent(form.get());
    HWND h = control->Handle();
    recordedByClassProc.clear();
    for (UINT engine : kEngineMessages) SendMessageW(h, engine, 0, 0);
    for (UINT toolkit : kToolkitMessages) SendMessageW(h, toolkit, 0, 0);
    EXPECT_EQ(recordedByClassProc, std::vector<UINT>(std::begin(kEngineMessages), std::end(kEngineMessages)));
}

// --- Tag from window descriptions

// The binary description format, enough for properties and children.
class DescriptionWriter {
public:
    DescriptionWriter() { FBytes = {'K', 'F', 'M', '1'}; }
    DescriptionWriter& Object(const std::string& cls, const std::string& name) { return Short(cls).Short(name); }
    DescriptionWriter& Int(const std::string& prop, int32_t v) {
        Short(prop).U8(1);
        auto* b = reinterpret_cast<const uint8_t*>(&v);
        FBytes.insert(FBytes.end(), b, b + 4);
        return *this;
    }
    DescriptionWriter& U8(uint8_t v) { FBytes.push_back(v); return *this; }
    DescriptionWriter& EndProps() { return U8(0); }
    DescriptionWriter& Child() { return U8(1); }
    DescriptionWriter& EndChildren() { return U8(0); }
    std::vector<uint8_t>& Bytes() { return FBytes; }
private:
    DescriptionWriter& Short(const std::string& s) {
        FBytes.push_back(static_cast<uint8_t>(s.size()));
        FBytes.insert(FBytes.end(), s.begin(), s.end());
        return *this;
    }
    std::vector<uint8_t> FBytes;
};

class TDescribedForm : public TForm {
public:
    using TForm::TForm;
    void Read(std::vector<uint8_t>& bytes) {
        TReader reader(bytes.data(), bytes.size());
        reader.ReadRoot(*this);
    }
};

TEST(Tag, ReadFromDescriptionsForFormsControlsAndPlainComponents) {
    TApplication app;
    TClassRegistry::Register("TFrameworkPanel", [](TComponent* o) { return new TWinControl(o); });
    TClassRegistry::Register("TFrameworkTimer", [](TComponent* o) { return new TTimer(o); });
    DescriptionWriter w;
    w.Object("TDescribedForm", "Form1").Int("Tag", 12).EndProps();
    w.Child().Object("TFrameworkPanel", "panel").Int("Tag", -7).Int("Width", 30).EndProps().EndChildren();
    w.Child().Object("TFrameworkTimer", "timer").Int("Tag", 2147483647).EndProps().EndChildren();
    w.Child().Object("TFrameworkPanel", "untagged").EndProps().EndChildren();
    w.EndChildren();
    TDescribedForm form(nullptr);
    form.Read(w.Bytes());
    EXPECT_EQ(form.Tag(), 12);
    ASSERT_NE(form.FindComponent(L"panel"), nullptr);
    EXPECT_EQ(form.FindComponent(L"panel")->Tag(), -7);
    EXPECT_EQ(form.FindComponent(L"timer")->Tag(), 2147483647);
    EXPECT_EQ(form.FindComponent(L"untagged")->Tag(), 0);
    form.FindComponent(L"untagged")->SetTag(3);
    EXPECT_EQ(form.FindComponent(L"untagged")->Tag(), 3);
}

// --- Destroying state

// Records, from its destructor, whether it was already marked as being freed.
class TDestroyProbe : public TComponent {
public:
    TDestroyProbe(TComponent* owner, std::vector<std::pair<std::wstring, bool>>& log, const std::wstring& name)
        : TComponent(owner), FLog(log) { SetName(name); }
    ~TDestroyProbe() override { FLog.emplace_back(Name(), Destroying()); }
private:
    std::vector<std::pair<std::wstring, bool>>& FLog;
};

struct DestroyCase {
    const char* how;
    bool useFree;
    bool parentMarkedInItsDestructor;
};

class DestroyingFlag : public ::testing::TestWithParam<DestroyCase> {};

TEST_P(DestroyingFlag, OwnedComponentsAreMarkedBeforeTheirDestructorsRun) {
    std::vector<std::pair<std::wstring, bool>> log;
    auto* parent = new TDestroyProbe(nullptr, log, L"parent");
    auto* child = new TDestroyProbe(parent, log, L"child");
    new TDestroyProbe(child, log, L"grandchild");
    EXPECT_FALSE(parent->Destroying());
    if (GetParam().useFree) TComponent::Free(parent);
    else delete parent;
    std::vector<std::pair<std::wstring, bool>> expected = {
        {L"parent", GetParam().parentMarkedInItsDestructor}, {L"child", true}, {L"grandchild", true}};
    EXPECT_EQ(log, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DestroyingFlag, ::testing::Values(
    DestroyCase{"Free", true, true},
    // A plain delete marks in ~TComponent, after the derived destructor already ran.
    DestroyCase{"delete", false, false}), [](const auto& info) { return std::string(info.param.how); });

TEST(Destroying, MarkDestroyingReachesEveryOwnedComponent) {
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    auto* b = new TComponent(a);
    a->MarkDestroying();
    EXPECT_FALSE(root.Destroying());
    EXPECT_TRUE(a->Destroying());
    EXPECT_TRUE(b->Destroying());
}

TEST(Destroying, WindowMessagesDuringDestructionSeeTheFlag) {
    TApplication app;
    auto* form = PlainForm(nullptr, 50, 50);
    auto* child = new TWinControl(form);
    child->SetParent(form);
    child->SetBounds(0, 0, 10, 10);
    form->HandleNeeded();
    ASSERT_TRUE(child->HandleAllocated());
    std::vector<std::pair<std::string, bool>> seen;
    auto watch = [&seen](TControl* c, const char* name) {
        TWndMethod saved = c->WindowProc;
        c->WindowProc = [c, name, saved, &seen](TMessage& m) {
            if (m.Msg == WM_DESTROY) seen.emplace_back(name, c->Destroying());
            saved(m);
        };
    };
    watch(form, "form");
    watch(child, "child");
    delete form;  // a plain delete: the destructors mark first thing
    std::vector<std::pair<std::string, bool>> expected = {{"child", true}, {"form", true}};
    EXPECT_EQ(seen, expected);
}

// --- Free notification

struct NotificationLog {
    std::vector<std::tuple<std::wstring, std::wstring, TOperation>> entries;  // receiver, component, operation
};

class TWatcher : public TComponent {
public:
    TWatcher(TComponent* owner, NotificationLog& log, const std::wstring& name) : TComponent(owner), FLog(log) {
        SetName(name);
    }
    void Notification(TComponent* component, TOperation operation) override {
        // A component being freed is past its own destructor: only its address is usable,
        // so it is named by the watcher's own record of it.
        FLog.entries.emplace_back(Name(), component == Watched ? WatchedName : L"?", operation);
        if (component == Watched) Watched = nullptr;
        TComponent::Notification(component, operation);
    }
    TComponent* Watched = nullptr;
    std::wstring WatchedName;
private:
    NotificationLog& FLog;
};

struct FreeCase {
    const char* name;
    bool linkFromA;  // a->FreeNotification(b), else b->FreeNotification(a)
    bool freeAFirst;
};

class FreeNotification : public ::testing::TestWithParam<FreeCase> {};

TEST_P(FreeNotification, TheSurvivorIsToldOnceAndTheLinkIsGoneAfterwards) {
    NotificationLog log;
    auto* a = new TWatcher(nullptr, log, L"a");
    auto* b = new TWatcher(nullptr, log, L"b");
    a->Watched = b; a->WatchedName = L"b";
    b->Watched = a; b->WatchedName = L"a";
    if (GetParam().linkFromA) a->FreeNotification(b);
    else b->FreeNotification(a);
    a->FreeNotification(b);  // linking twice keeps one link
    TWatcher* first = GetParam().freeAFirst ? a : b;
    TWatcher* second = GetParam().freeAFirst ? b : a;
    std::wstring firstName = first->Name(), secondName = second->Name();
    TComponent::Free(first);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0], std::make_tuple(secondName, firstName, TOperation::opRemove));
    EXPECT_EQ(second->Watched, nullptr);
    // The survivor must not tell the freed one anything.
    delete second;
    EXPECT_EQ(log.entries.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, FreeNotification, ::testing::Values(
    FreeCase{"LinkedFromAFreeA", true, true}, FreeCase{"LinkedFromAFreeB", true, false},
    FreeCase{"LinkedFromBFreeA", false, true}, FreeCase{"LinkedFromBFreeB", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FreeNotificationRemoval, RemovedFromEitherSideNobodyIsTold) {
    for (bool removeFromA : {true, false}) {
        NotificationLog log;
        auto* a = new TWatcher(nullptr, log, L"a");
        auto* b = new TWatcher(nullptr, log, L"b");
        a->FreeNotification(b);
        if (removeFromA) a->RemoveFreeNotification(b);
        else b->RemoveFreeNotification(a);
        delete a;
        delete b;
        EXPECT_TRUE(log.entries.empty()) << removeFromA;
    }
}

TEST(FreeNotificationRemoval, AHandlerFreeingAnotherLinkedComponentIsSafe) {
    NotificationLog log;
    auto* subject = new TWatcher(nullptr, log, L"subject");
    auto* watcher = new TWatcher(nullptr, log, L"watcher");
    auto* other = new TWatcher(nullptr, log, L"other");
    watcher->Watched = subject; watcher->WatchedName = L"subject";
    subject->FreeNotification(watcher);
    subject->FreeNotification(other);
    // When told, watcher frees other, which is still linked to subject.
    class TFreeing : public TComponent {
    public:
        TFreeing(TComponent* victim) : TComponent(nullptr), Victim(victim) {}
        void Notification(TComponent*, TOperation op) override {
            if (op == TOperation::opRemove && Victim) {
                TComponent* v = Victim;
                Victim = nullptr;
                delete v;
            }
        }
        TComponent* Victim;
    };
    auto* freeing = new TFreeing(other);
    subject->FreeNotification(freeing);
    delete subject;
    EXPECT_EQ(freeing->Victim, nullptr);
    delete freeing;
    delete watcher;
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(std::get<0>(log.entries[0]), L"watcher");
}

TEST(OwnerNotification, AnOwnerIsToldOfInsertedAndRemovedComponents) {
    NotificationLog log;
    TWatcher owner(nullptr, log, L"owner");
    auto* child = new TComponent(&owner);
    owner.Watched = child;
    owner.WatchedName = L"child";
    delete child;
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(std::get<2>(log.entries[0]), TOperation::opInsert);
    EXPECT_EQ(log.entries[1], std::make_tuple(std::wstring(L"owner"), std::wstring(L"child"), TOperation::opRemove));
}

// --- The forms list

TEST(Screen, FormsAreListedInCreationOrderAndLeaveWhenFreed) {
    TApplication app;
    ASSERT_NE(Screen, nullptr);
    int before = Screen->FormCount();
    auto* a = new TForm(&app);
    auto* b = new TForm(nullptr);
    auto* c = new TForm(a);
    ASSERT_EQ(Screen->FormCount(), before + 3);
    EXPECT_EQ(Screen->Forms(before), a);
    EXPECT_EQ(Screen->Forms(before + 1), b);
    EXPECT_EQ(Screen->Forms(before + 2), c);
    delete b;
    ASSERT_EQ(Screen->FormCount(), before + 2);
    EXPECT_EQ(Screen->Forms(before), a);
    EXPECT_EQ(Screen->Forms(before + 1), c);
    delete a;  // frees c, which it owns
    EXPECT_EQ(Screen->FormCount(), before);
}

TEST(Screen, ActiveFormIsTheFormOfTheActiveWindow) {
    TApplication app;
    std::unique_ptr<TForm> first(PlainForm(nullptr, 40, 40));
    std::unique_ptr<TForm> second(PlainForm(nullptr, 40, 40));
    first->Show();
    SetActiveWindow(first->Handle());
    EXPECT_EQ(Screen->ActiveForm(), first.get());
    second->ShowNoActivate();
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    EXPECT_EQ(Screen->ActiveForm(), first.get()) << "shown without activation";
    SetActiveWindow(second->Handle());
    EXPECT_EQ(Screen->ActiveForm(), second.get());
    second->Close();
    EXPECT_NE(Screen->ActiveForm(), second.get());
}

// --- The application window and its hooks

TEST(ApplicationWindow, IsAHiddenTopLevelWindowOfItsOwnClass) {
    TApplication app;
    HWND h = app.Handle();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(app.Handle(), h);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    EXPECT_STREQ(cls, L"TApplication");
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_EQ(GetAncestor(h, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindowThreadProcessId(h, nullptr), GetCurrentThreadId());
}

TEST(ApplicationWindow, IsDestroyedWithTheApplication) {
    HWND h;
    {
        TApplication app;
        h = app.Handle();
    }
    EXPECT_FALSE(IsWindow(h));
}

TEST(ApplicationWindow, HooksSeePostedMessagesInOrderUntilOneHandlesIt) {
    TApplication app;
    std::vector<std::string> calls;
    app.HookMainWindow([&](TMessage& m) {
        if (m.Msg == WM_APP + 5) calls.push_back("first " + std::to_string(m.WParam) + "," + std::to_string(m.LParam));
        return false;
    });
    app.HookMainWindow([&](TMessage& m) {
        if (m.Msg != WM_APP + 5) return false;
        calls.push_back("second");
        m.Result = 42;
        return m.WParam == 9;
    });
    app.HookMainWindow([&](TMessage& m) {
        if (m.Msg == WM_APP + 5) calls.push_back("third");
        return false;
    });
    PostMessageW(app.Handle(), WM_APP + 5, 1, 2);
    app.ProcessMessages();
    EXPECT_EQ(calls, (std::vector<std::string>{"first 1,2", "second", "third"}));
    calls.clear();
    EXPECT_EQ(SendMessageW(app.Handle(), WM_APP + 5, 9, 0), 42);
    EXPECT_EQ(calls, (std::vector<std::string>{"first 9,0", "second"}));
}

TEST(ApplicationWindow, UnhandledMessagesGetTheDefaultAnswer) {
    TApplication app;
    int seen = 0;
    app.HookMainWindow([&](TMessage& m) { seen += m.Msg == WM_GETTEXTLENGTH; return false; });
    LRESULT length = SendMessageW(app.Handle(), WM_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(length, static_cast<LRESULT>(app.Title().size()));
}

TEST(ApplicationWindow, AHookMayUnhookItselfOrALaterHookWhileRunning) {
    TApplication app;
    int selfCalls = 0, laterCalls = 0, lastCalls = 0;
    int selfId = 0, laterId = 0;
    selfId = app.HookMainWindow([&](TMessage& m) {
        if (m.Msg != WM_APP + 6) return false;
        ++selfCalls;
        app.UnhookMainWindow(selfId);
        app.UnhookMainWindow(laterId);
        return false;
    });
    laterId = app.HookMainWindow([&](TMessage& m) { laterCalls += m.Msg == WM_APP + 6; return false; });
    app.HookMainWindow([&](TMessage& m) { lastCalls += m.Msg == WM_APP + 6; return false; });
    SendMessageW(app.Handle(), WM_APP + 6, 0, 0);
    SendMessageW(app.Handle(), WM_APP + 6, 0, 0);
    EXPECT_EQ(selfCalls, 1);
    EXPECT_EQ(laterCalls, 0);
    EXPECT_EQ(lastCalls, 2);
}

// --- Replaceable window procedures

TEST(WindowProc, ReplacedAndRestoredOnAWindowedControlWithoutTouchingTheWin32Procedure) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 50, 50));
    auto* child = new TWinControl(form.get());
    child->SetParent(form.get());
    HWND h = child->Handle();
    LONG_PTR win32Proc = GetWindowLongPtrW(h, GWLP_WNDPROC);
    {
        WindowProcSpy spy(*child);
        spy.AnswerMsg = WM_APP + 7;
        spy.Answer = 99;
        EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), win32Proc);
        EXPECT_EQ(SendMessageW(h, WM_APP + 7, 0, 0), 99);
        EXPECT_EQ(child->Perform(WM_APP + 7), 99);
        EXPECT_EQ(spy.Count(WM_APP + 7), 2);
        // Messages it does not answer go on to the saved procedure: the window's text.
        SetWindowTextW(h, L"abc");
        EXPECT_EQ(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), 3);
        spy.Restore();
        EXPECT_EQ(SendMessageW(h, WM_APP + 7, 0, 0), 0);
        EXPECT_EQ(spy.Count(WM_APP + 7), 2);
    }
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), win32Proc);
}

TEST(WindowProc, ReplacedOnAGraphicControlSeesPerformAndMouseNotifications) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 100, 100));
    auto* swatch = new TSwatch(form.get(), RGB(0, 0, 255));
    swatch->SetParent(form.get());
    swatch->SetBounds(10, 10, 20, 20);
    HWND h = form->Handle();
    WindowProcSpy spy(*swatch);
    spy.AnswerMsg = WM_APP + 8;
    spy.Answer = 5;
    EXPECT_EQ(swatch->Perform(WM_APP + 8), 5);
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(16, 15));
    EXPECT_EQ(spy.Count(CM_MOUSEENTER), 1);
    EXPECT_TRUE(swatch->MouseInside()) << "the saved procedure handled it";
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    EXPECT_EQ(spy.Count(CM_MOUSELEAVE), 1);
    spy.Restore();
    EXPECT_EQ(swatch->Perform(WM_APP + 8), 0);
}

TEST(WindowProc, SeesWindowMouseEnterAndLeaveOfAWindowedControl) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 100, 100));
    WindowProcSpy spy(*form);
    HWND h = form->Handle();
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(spy.Count(CM_MOUSEENTER), 1);
    EXPECT_EQ(spy.Count(CM_MOUSELEAVE), 1);
}

TEST(WindowProc, WmNcDestroyReachesItBeforeTheControlLetsGoOfTheWindow) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 50, 50));
    HWND h = form->Handle();
    bool allocatedDuringNcDestroy = false;
    int ncDestroys = 0;
    TWndMethod saved = form->WindowProc;
    form->WindowProc = [&, saved](TMessage& m) {
        if (m.Msg == WM_NCDESTROY) {
            ++ncDestroys;
            allocatedDuringNcDestroy = form->HandleAllocated();
        }
        saved(m);
    };
    DestroyWindow(h);  // from outside the control
    EXPECT_EQ(ncDestroys, 1);
    EXPECT_TRUE(allocatedDuringNcDestroy);
    EXPECT_FALSE(form->HandleAllocated());
    // The control is whole again: a new window works with the same WindowProc.
    HWND again = form->Handle();
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(TWinControl::FromHandle(again), form.get());
    form->WindowProc = saved;
    form.reset();
    EXPECT_FALSE(IsWindow(again));
}

// --- Released forms

class TReleaseProbe : public TForm {
public:
    TReleaseProbe(TComponent* owner, int& freed) : TForm(owner), FFreed(freed) {}
    ~TReleaseProbe() override { ++FFreed; }
private:
    int& FFreed;
};

TEST(Release, FreesOnceWhenTheLoopGetsToItEvenIfReleasedTwice) {
    TApplication app;
    int freed = 0;
    auto* form = new TReleaseProbe(&app, freed);
    int before = app.ComponentCount();
    form->Release();
    form->Release();
    EXPECT_EQ(freed, 0) << "not before the message loop runs";
    app.ProcessMessages();
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(app.ComponentCount(), before - 1);
    app.ProcessMessages();
    EXPECT_EQ(freed, 1);
}

TEST(Release, AFormFreedBeforeTheMessageRunsIsNotFreedAgain) {
    TApplication app;
    int freed = 0;
    auto* owner = new TComponent(nullptr);
    auto* released = new TReleaseProbe(owner, freed);
    auto* alsoReleased = new TReleaseProbe(nullptr, freed);
    released->Release();
    alsoReleased->Release();
    delete owner;  // frees the first released form directly
    EXPECT_EQ(freed, 1);
    app.ProcessMessages();
    EXPECT_EQ(freed, 2);
}

TEST(Release, AFormReleasingItselfFromItsOwnHandlerOutlivesTheHandler) {
    TApplication app;
    int freed = 0, freedInsideHandler = -1;
    auto* form = new TReleaseProbe(nullptr, freed);
    HWND h = form->Handle();
    TWndMethod saved = form->WindowProc;
    form->WindowProc = [&, form, saved](TMessage& m) {
        if (m.Msg == WM_APP + 3) {
            form->Release();
            freedInsideHandler = freed;
            form->SetTag(1);  // still usable
            return;
        }
        saved(m);
    };
    PostMessageW(h, WM_APP + 3, 0, 0);
    app.ProcessMessages();
    EXPECT_EQ(freedInsideHandler, 0);
    EXPECT_EQ(freed, 1);
    EXPECT_FALSE(IsWindow(h));
}

TEST(Release, PendingReleasesAreFreedWithTheApplication) {
    int freed = 0;
    {
        TApplication app;
        (new TReleaseProbe(nullptr, freed))->Release();
    }
    EXPECT_EQ(freed, 1);
}

// --- Forms made in code: styles, taskbar, layered content

struct StyleCase {
    const char* name;
    TFormBorderStyle border;
    bool showInTaskbar;
    DWORD extraExStyle;
    DWORD styleSet, styleClear, exSet, exClear;
    bool ownedByApplication;
};

class CodeFormStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(CodeFormStyles, StylesFollowTheSettings) {
    const StyleCase& c = GetParam();
    TApplication app;
    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(c.border);
    form->SetShowInTaskbar(c.showInTaskbar);
    form->SetExtraExStyle(c.extraExStyle);
    form->SetBounds(10, 10, 60, 40);
    HWND h = form->Handle();
    auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    auto ex = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    EXPECT_EQ(style & c.styleSet, c.styleSet);
    EXPECT_EQ(style & c.styleClear, 0u);
    EXPECT_EQ(ex & c.exSet, c.exSet);
    EXPECT_EQ(ex & c.exClear, 0u);
    EXPECT_EQ(GetWindow(h, GW_OWNER) == app.Handle(), c.ownedByApplication);
}

INSTANTIATE_TEST_SUITE_P(Cases, CodeFormStyles, ::testing::Values(
    StyleCase{"Default", TFormBorderStyle::bsSizeable, true, 0, WS_CAPTION | WS_THICKFRAME, WS_CHILD,
              WS_EX_APPWINDOW, WS_EX_LAYERED, false},
    StyleCase{"GlowWindow", TFormBorderStyle::bsNone, false,
              WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP,
              WS_CAPTION | WS_THICKFRAME, WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
              WS_EX_APPWINDOW, true},
    StyleCase{"OffTheTaskbar", TFormBorderStyle::bsSingle, false, 0, WS_CAPTION, WS_THICKFRAME, 0,
              WS_EX_APPWINDOW, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodeForm, BorderStyleChangedOnAnExistingWindowReachesIt) {
    TApplication app;
    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetBounds(0, 0, 80, 60);
    HWND h = form->Handle();
    ASSERT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    EXPECT_EQ(form->Handle(), h);
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION);
    RECT client, window;
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    EXPECT_EQ(client.right, window.right - window.left) << "the frame was recomputed";
}

TEST(LayeredUpdate, PremultipliedBitmapBecomesTheWindowContent) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 40, 30));
    form->SetShowInTaskbar(false);
    form->SetExtraExStyle(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    HWND h = form->Handle();
    ASSERT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    TBitmap bmp(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) bmp.ScanLine(y)[x] = 0x80402010;  // half alpha, premultiplied
    POINT at{120, 90};
    EXPECT_TRUE(UpdateLayeredFromBitmap(h, &at, SIZE{40, 30}, bmp));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(bmp.ScanLine(7)[9], 0x80402010u) << "the pixels are left as they were";
    EXPECT_TRUE(UpdateLayeredFromBitmap(h, nullptr, SIZE{20, 10}, bmp)) << "a part, in place";
}

TEST(LayeredUpdate, SizesOutsideTheBitmapAreRefused) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 40, 30));
    form->SetExtraExStyle(WS_EX_LAYERED);
    HWND h = form->Handle();
    TBitmap bmp(40, 30);
    for (SIZE s : {SIZE{41, 30}, SIZE{40, 31}, SIZE{0, 30}, SIZE{40, -1}})
        EXPECT_FALSE(UpdateLayeredFromBitmap(h, nullptr, s, bmp)) << s.cx << "x" << s.cy;
}

// --- Timers freed by their own handler

struct TimerFreeCase {
    const char* name;
    bool owned;
    bool useFree;
};

class TimerFreedInHandler : public ::testing::TestWithParam<TimerFreeCase> {};

TEST_P(TimerFreedInHandler, FiresOnceAndNothingTouchesItAfterwards) {
    TApplication app;
    TComponent owner(nullptr);
    auto* timer = new TTimer(GetParam().owned ? &owner : nullptr);
    int ticks = 0;
    std::wstring captured(200, L'x');  // the handler's own state goes with the timer
    timer->OnTimer = [&ticks, captured, useFree = GetParam().useFree](TObject* sender) {
        ++ticks;
        auto* self = static_cast<TTimer*>(sender);
        if (useFree) TComponent::Free(self);
        else delete self;
        EXPECT_EQ(captured.size(), 200u);  // the copy that runs is still whole
    };
    timer->SetInterval(1);
    EXPECT_TRUE(PumpUntil(app, [&] { return ticks > 0; }));
    for (int i = 0; i < 20; ++i) {
        app.ProcessMessages();
        Sleep(2);
    }
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimerFreedInHandler, ::testing::Values(
    TimerFreeCase{"UnownedDelete", false, false}, TimerFreeCase{"OwnedFree", true, true},
    TimerFreeCase{"OwnedDelete", true, false}), [](const auto& info) { return std::string(info.param.name); });

// --- Worker threads

class TLambdaThread : public TThread {
public:
    TLambdaThread(bool suspended, std::function<void(TLambdaThread&)> body) : TThread(suspended), FBody(std::move(body)) {}
    ~TLambdaThread() override {
        Terminate();
        WaitFor();
    }
protected:
    void Execute() override { FBody(*this); }
private:
    std::function<void(TLambdaThread&)> FBody;
};

TEST(Thread, SynchronizeRunsOnTheUserInterfaceThreadWhileWaitForWaits) {
    TApplication app;
    std::atomic<DWORD> ranOn{0}, workerId{0};
    std::atomic<int> afterSync{0};
    TLambdaThread t(true, [&](TLambdaThread& self) {
        workerId = GetCurrentThreadId();
        for (int i = 0; i < 3; ++i) self.Synchronize([&] { ranOn = GetCurrentThreadId(); });
        afterSync = 1;
    });
    t.Start();
    t.WaitFor();  // the worker blocks in Synchronize until this thread runs the call
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(afterSync.load(), 1);
    EXPECT_EQ(ranOn.load(), GetCurrentThreadId());
    EXPECT_EQ(MainThreadId(), GetCurrentThreadId());
    EXPECT_NE(workerId.load(), GetCurrentThreadId());
}

TEST(Thread, TheMessageLoopRunsSynchronizedCalls) {
    TApplication app;
    app.Initialize();
    std::atomic<int> runs{0};
    std::atomic<bool> inLoopThread{false};
    TLambdaThread t(true, [&](TLambdaThread& self) {
        self.Synchronize([&] {
            inLoopThread = GetCurrentThreadId() == MainThreadId();
            ++runs;
        });
    });
    t.Start();
    EXPECT_TRUE(PumpUntil(app, [&] { return runs.load() == 1; }));
    t.WaitFor();
    EXPECT_TRUE(inLoopThread.load());
}

TEST(Thread, SynchronizeDuringTerminationReturnsWithoutRunning) {
    TApplication app;
    app.Terminate();
    std::atomic<bool> ran{false}, returned{false};
    TLambdaThread t(true, [&](TLambdaThread& self) {
        self.Synchronize([&] { ran = true; });
        returned = true;
    });
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(returned.load());
    EXPECT_FALSE(ran.load());
    app.ProcessMessages();
    EXPECT_FALSE(ran.load());
}

TEST(Thread, ASynchronizedErrorIsRaisedAgainInTheWorker) {
    TApplication app;
    std::wstring caught;
    TLambdaThread t(true, [&](TLambdaThread& self) {
        try {
            self.Synchronize([] { throw EInvalidOperation(L"no room"); });
        } catch (const Exception& e) {
            caught = e.Message();
        }
    });
    t.Start();
    t.WaitFor();
    EXPECT_EQ(caught, L"no room");
}

TEST(Thread, NotSuspendedStartsOnTheNextPassOfTheQueue) {
    TApplication app;
    std::atomic<int> executed{0};
    TLambdaThread t(false, [&](TLambdaThread&) { ++executed; });
    EXPECT_EQ(t.ThreadId(), 0u) << "not from inside the constructor";
    CheckSynchronize();
    EXPECT_NE(t.ThreadId(), 0u);
    t.WaitFor();
    EXPECT_EQ(executed.load(), 1);
}

TEST(Thread, NotSuspendedWaitedForBeforeTheQueueRanStartsThenAndRuns) {
    TApplication app;
    std::atomic<int> executed{0};
    TLambdaThread t(false, [&](TLambdaThread&) { ++executed; });
    t.WaitFor();
    EXPECT_EQ(executed.load(), 1);
    CheckSynchronize();
    EXPECT_EQ(executed.load(), 1) << "started once";
}

TEST(Thread, NotSuspendedAndFreedBeforeItStartedNeverRuns) {
    TApplication app;
    std::atomic<int> executed{0};
    { TLambdaThread t(false, [&](TLambdaThread&) { ++executed; }); }
    CheckSynchronize();
    EXPECT_EQ(executed.load(), 0);
}

TEST(Thread, TerminateEndsALoopingWorkerAndPriorityIsApplied) {
    TApplication app;
    std::atomic<int> priority{-100};
    std::atomic<bool> running{false};
    TLambdaThread t(true, [&](TLambdaThread& self) {
        priority = GetThreadPriority(GetCurrentThread());
        running = true;
        while (!self.Terminated()) Sleep(1);
    });
    t.SetPriority(THREAD_PRIORITY_BELOW_NORMAL);
    t.Start();
    while (!running.load()) Sleep(1);
    EXPECT_FALSE(t.Finished());
    t.Terminate();
    t.WaitFor();
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(priority.load(), THREAD_PRIORITY_BELOW_NORMAL);
}

TEST(Thread, AnErrorEscapingExecuteIsKept) {
    TApplication app;
    TLambdaThread t(true, [](TLambdaThread&) { throw EOSError(L"disk gone"); });
    t.Start();
    t.WaitFor();
    EXPECT_EQ(t.FatalError(), L"disk gone");
}

TEST(Thread, WaitForOnANeverStartedThreadReturns) {
    TApplication app;
    TLambdaThread t(true, [](TLambdaThread&) {});
    t.WaitFor();
    EXPECT_FALSE(t.Finished());
}

// --- Painting into a given DC

struct PaintToCase {
    const char* name;
    bool form;  // a form, else a windowed control of the toolkit's class on a form
};

class PaintTo : public ::testing::TestWithParam<PaintToCase> {};

TEST_P(PaintTo, DrawsBackgroundAndGraphicChildrenAtTheOffset) {
    TApplication app;
    std::unique_ptr<TForm> host(PlainForm(nullptr, 120, 100));
    TWinControl* target = host.get();
    if (!GetParam().form) {
        target = new TWinControl(host.get());
        target->SetParent(host.get());
        target->SetBounds(30, 30, 60, 40);
    }
    target->SetBounds(target->Left(), target->Top(), 60, 40);
    target->SetColor(static_cast<TColor>(RGB(255, 0, 0)));
    auto* swatch = new TSwatch(host.get(), RGB(0, 0, 255));
    swatch->SetParent(target);
    swatch->SetBounds(10, 10, 10, 10);
    target->HandleNeeded();

    TBitmap bmp(100, 80);
    HDC dc = bmp.Canvas().Handle();
    RECT all{0, 0, 100, 80};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    target->PaintTo(dc, 5, 7);
    GdiFlush();
    EXPECT_EQ(PixelRgb(bmp, 6, 8), DibRgb(RGB(255, 0, 0))) << "background";
    EXPECT_EQ(PixelRgb(bmp, 5 + 15, 7 + 15), DibRgb(RGB(0, 0, 255))) << "graphic child";
    EXPECT_EQ(PixelRgb(bmp, 5 + 59, 7 + 39), DibRgb(RGB(255, 0, 0))) << "last pixel";
    EXPECT_EQ(PixelRgb(bmp, 2, 2), 0xFFFFFFu) << "before the offset";
    EXPECT_EQ(PixelRgb(bmp, 5 + 61, 7 + 20), 0xFFFFFFu) << "past the control";
    POINT origin{-1, -1};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, PaintTo, ::testing::Values(PaintToCase{"Form", true}, PaintToCase{"Control", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Redraw helpers

TEST(Redraw, LockStopsDrawingAndUnlockDoesNotRepaint) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 50, 50));
    form->ShowNoActivate();
    HWND h = form->Handle();
    app.ProcessMessages();
    LockRedraw(h, true);
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) << "the system's sign of a locked window";
    LockRedraw(h, false);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    RedrawAll(h, false);
    EXPECT_TRUE(GetUpdateRect(h, nullptr, FALSE));
}

// Records the part of the client area each paint covers.
class TClipRecordingForm : public TForm {
public:
    using TForm::TForm;
    std::vector<RECT> Clips;
protected:
    void PaintWindow(HDC dc, const RECT& clip) override {
        Clips.push_back(clip);
        TForm::PaintWindow(dc, clip);
    }
};

TEST(Redraw, FrameOnlyLeavesTheClientAreaValidAndAllRepaintsNow) {
    TApplication app;
    std::unique_ptr<TClipRecordingForm> form(new TClipRecordingForm(nullptr));
    form->SetBounds(0, 0, 160, 120);
    form->ShowNoActivate();
    HWND h = form->Handle();
    app.ProcessMessages();
    WindowProcSpy spy(*form);
    form->Clips.clear();
    RedrawFrame(h);
    UpdateWindow(h);
    EXPECT_GE(spy.Count(WM_NCPAINT), 1);
    for (const RECT& clip : form->Clips) EXPECT_TRUE(IsRectEmpty(&clip)) << "the client area was not repainted";
    spy.Clear();
    form->Clips.clear();
    RedrawAll(h, true);
    EXPECT_GE(spy.Count(WM_NCPAINT), 1);
    ASSERT_EQ(form->Clips.size(), 1u) << "painted at once";
    RECT client;
    GetClientRect(h, &client);
    EXPECT_TRUE(EqualRect(&form->Clips[0], &client));
    spy.Clear();
    ApplyFrameChange(h);
    EXPECT_GE(spy.Count(WM_NCCALCSIZE), 1);
}

// --- Logoff flag

TEST(LogonEnding, FollowsTheSessionMessagesOfATopLevelForm) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 20, 20));
    HWND h = form->Handle();
    struct Step { UINT msg; WPARAM wp; bool expected; };
    const Step steps[] = {
        {WM_ENDSESSION, FALSE, false}, {WM_QUERYENDSESSION, 0, true}, {WM_ENDSESSION, TRUE, true},
        {WM_ENDSESSION, FALSE, false}, {WM_QUERYENDSESSION, 0, true}, {WM_ENDSESSION, FALSE, false}};
    for (const Step& s : steps) {
        LRESULT r = SendMessageW(h, s.msg, s.wp, ENDSESSION_LOGOFF);
        EXPECT_EQ(app.LogonEnding(), s.expected) << s.msg << " " << s.wp;
        if (s.msg == WM_QUERYENDSESSION) {
            EXPECT_NE(r, 0) << "the default answer lets the session end";
        }
    }
}

// --- Notifications of controls

struct NotifyCase {
    const char* name;
    bool windowed;
    UINT msg;
    std::function<void(TControl&)> change;
};

class ControlNotifications : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(ControlNotifications, AChangeIsSentThroughWindowProcOnce) {
    const NotifyCase& c = GetParam();
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 80, 80));
    TControl* control = c.windowed ? static_cast<TControl*>(new TWinControl(form.get()))
                                   : static_cast<TControl*>(new TSwatch(form.get(), 0));
    control->SetParent(form.get());
    control->SetBounds(0, 0, 20, 20);
    form->HandleNeeded();
    WindowProcSpy spy(*control);
    c.change(*control);
    EXPECT_EQ(spy.Count(c.msg), 1);
}

const std::function<void(TControl&)> kDisable = [](TControl& c) { c.SetEnabled(false); };
const std::function<void(TControl&)> kHide = [](TControl& c) { c.SetVisible(false); };
const std::function<void(TControl&)> kRename = [](TControl& c) { c.SetText(L"new"); };
const std::function<void(TControl&)> kRefont = [](TControl& c) { c.Font().Height = -20; c.Font().Changed(); };

INSTANTIATE_TEST_SUITE_P(Cases, ControlNotifications, ::testing::Values(
    NotifyCase{"GraphicEnabled", false, CM_ENABLEDCHANGED, kDisable},
    NotifyCase{"WindowedEnabled", true, CM_ENABLEDCHANGED, kDisable},
    NotifyCase{"GraphicVisible", false, CM_VISIBLECHANGED, kHide},
    NotifyCase{"WindowedVisible", true, CM_VISIBLECHANGED, kHide},
    NotifyCase{"GraphicText", false, CM_TEXTCHANGED, kRename},
    NotifyCase{"WindowedText", true, CM_TEXTCHANGED, kRename},
    NotifyCase{"GraphicFont", false, CM_FONTCHANGED, kRefont},
    NotifyCase{"WindowedFont", true, CM_FONTCHANGED, kRefont}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlNotificationsFont, AParentFontChangeReachesChildrenThatFollowIt) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 80, 80));
    auto* follower = new TSwatch(form.get(), 0);
    follower->SetParent(form.get());
    auto* own = new TSwatch(form.get(), 0);
    own->SetParent(form.get());
    own->SetParentFont(false);
    WindowProcSpy followerSpy(*follower), ownSpy(*own);
    form->Font().Height = -30;
    form->Font().Changed();
    EXPECT_EQ(followerSpy.Count(CM_FONTCHANGED), 1);
    EXPECT_EQ(follower->Font().Height, -30);
    EXPECT_EQ(ownSpy.Count(CM_FONTCHANGED), 0);
}

TEST(ControlNotificationsShowing, ShowingChangesReachTheControlAndItsVisibleChildren) {
    TApplication app;
    std::unique_ptr<TForm> form(PlainForm(nullptr, 80, 80));
    auto* panel = new TWinControl(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 40, 40);
    auto* inner = new TSwatch(form.get(), 0);
    inner->SetParent(panel);
    auto* hiddenInner = new TSwatch(form.get(), 0);
    hiddenInner->SetParent(panel);
    hiddenInner->SetVisible(false);
    WindowProcSpy formSpy(*form), panelSpy(*panel), innerSpy(*inner), hiddenSpy(*hiddenInner);

    form->ShowNoActivate();
    EXPECT_EQ(formSpy.WParams(CM_SHOWINGCHANGED), std::vector<WPARAM>{TRUE});
    EXPECT_EQ(panelSpy.WParams(CM_SHOWINGCHANGED), std::vector<WPARAM>{TRUE});
    EXPECT_EQ(innerSpy.WParams(CM_SHOWINGCHANGED), std::vector<WPARAM>{TRUE});
    EXPECT_EQ(hiddenSpy.Count(CM_SHOWINGCHANGED), 0);

    formSpy.Clear(); panelSpy.Clear(); innerSpy.Clear();
    panel->SetVisible(false);
    EXPECT_FALSE(panel->Showing());
    EXPECT_EQ(formSpy.Count(CM_SHOWINGCHANGED), 0);
    EXPECT_EQ(panelSpy.WParams(CM_SHOWINGCHANGED), std::vector<WPARAM>{FALSE});
    EXPECT_EQ(innerSpy.WParams(CM_SHOWINGCHANGED), std::vector<WPARAM>{FALSE});
    EXPECT_EQ(hiddenSpy.Count(CM_SHOWINGCHANGED), 0);

    innerSpy.Clear();
    inner->SetVisible(false);  // its parent is hidden: it was not showing, so no change
    EXPECT_EQ(innerSpy.Count(CM_SHOWINGCHANGED), 0);
}

}  // namespace
