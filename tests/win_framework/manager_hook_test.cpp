// The default manager's window hook: a form gets one provider from the factory on its first
// activation; the list of hooked forms never frees a provider twice and never frees one
// while it runs; the application window's repaint request.
#include <gtest/gtest.h>

#include <memory>

#include "skinframework/sSkinHooks.h"
#include "tests/win_framework/manager_support.h"
#include "toolkit/Application.h"

using namespace kvfw;

namespace {

class ManagerHook : public testing::Test {
protected:
    ManagerHook() {
        tk::Application->OnException = [this](const std::wstring& m) { errors.push_back(m); };
    }
    ~ManagerHook() override {
        tk::Application->OnException = nullptr;
        EXPECT_TRUE(errors.empty()) << Narrow(errors.empty() ? L"" : errors.front());
    }
    static void Activate(HWND window) {
        SetActiveWindow(window);
        PumpMessages();
    }
    static void Activate(tk::TForm& form) { Activate(form.Handle()); }
    static TTestProvider* ProviderOf(tk::TForm& form) {
        return dynamic_cast<TTestProvider*>(sk::HookedProvider(&form));
    }

    std::vector<std::wstring> errors;  // errors the hook reported instead of showing them
    TProviderLog log;
    std::unique_ptr<sk::TsSkinManager> manager = MakeManager();
    TFactoryScope factory{log};
};

}  // namespace

TEST_F(ManagerHook, EachFormGetsOneProviderOnItsFirstActivation) {
    ASSERT_TRUE(manager->GlobalHookInstalled());
    TJournalForm a(L"A"), b(L"B");
    Activate(a);
    Activate(b);
    Activate(a);
    Activate(b);
    EXPECT_EQ(log.Made, (std::vector<tk::TForm*>{&a, &b}));
    ASSERT_NE(ProviderOf(a), nullptr);
    EXPECT_NE(ProviderOf(a), ProviderOf(b));
    const auto hooked = sk::HookedFormWindows();
    EXPECT_EQ(hooked, (std::vector<HWND>{a.Handle(), b.Handle()}));
}

struct LeftAlone {
    const char* name;
    std::function<void(TJournalForm&, sk::TsSkinManager&)> prepare;
    bool activateApplicationWindow = false;
};

class ManagerHookLeavesAlone : public ManagerHook, public testing::WithParamInterface<LeftAlone> {};

TEST_P(ManagerHookLeavesAlone, NoProviderIsMade) {
    TJournalForm form(L"A");
    GetParam().prepare(form, *manager);
    if (GetParam().activateApplicationWindow) Activate(tk::Application->Handle());
    else Activate(form);
    EXPECT_TRUE(log.Made.empty());
    EXPECT_EQ(sk::HookedProvider(&form), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerHookLeavesAlone,
    testing::Values(
        LeftAlone{"Tag256", [](TJournalForm& f, sk::TsSkinManager&) { f.SetTag(256); }},
        LeftAlone{"TagWithBit256", [](TJournalForm& f, sk::TsSkinManager&) { f.SetTag(256 | 512 | 1); }},
        LeftAlone{"FormWithAProviderOfItsOwn", [](TJournalForm& f, sk::TsSkinManager&) { f.AnswersIsHandled = true; }},
        LeftAlone{"BorderlessPopup",
                  [](TJournalForm& f, sk::TsSkinManager&) { f.SetBorderStyle(tk::TFormBorderStyle::bsNone); }},
        LeftAlone{"StandardFormsNotSkinned",
                  [](TJournalForm&, sk::TsSkinManager& m) { m.Core().SetSkinningRules(sk::srStdDialogs); }},
        LeftAlone{"NoSkinActive", [](TJournalForm&, sk::TsSkinManager& m) { m.SetActive(false); }},
        LeftAlone{"ApplicationWindow", [](TJournalForm&, sk::TsSkinManager&) {}, true},
        LeftAlone{"NoFactory", [](TJournalForm&, sk::TsSkinManager&) { sk::TsSkinManager::SetProviderFactory(nullptr); }}),
    [](const testing::TestParamInfo<LeftAlone>& info) { return std::string(info.param.name); });

struct ProviderGoneFirst {
    const char* name;
    bool freeTheForm;  // else the provider alone is freed
};

TEST_F(ManagerHook, AProviderFreedBeforeTheHookGoesIsNotFreedAgain) {
    for (const auto& c : {ProviderGoneFirst{"with its form", true}, ProviderGoneFirst{"by itself", false}}) {
        SCOPED_TRACE(c.name);
        log = TProviderLog{};
        {
            TJournalForm form(L"A");
            Activate(form);
            ASSERT_EQ(log.Made.size(), 1u);
            if (!c.freeTheForm) tk::TComponent::Free(ProviderOf(form));
        }
        EXPECT_EQ(log.Destroyed, 1);
        manager->UnInstallHook();
        PumpMessages();
        EXPECT_EQ(log.Destroyed, 1);
        EXPECT_TRUE(sk::HookedFormWindows().empty());
        manager->InstallHook();
    }
}

TEST_F(ManagerHook, RemovingTheSkinTellsTheFormBeforeItsProviderIsFreed) {
    TJournalForm form(L"A");
    Activate(form);
    manager->SetActive(false);
    EXPECT_EQ(log.Destroyed, 0) << "freed once the message loop runs, not inside the manager";
    EXPECT_FALSE(manager->GlobalHookInstalled());
    PumpMessages();
    EXPECT_EQ(log.Events, (std::vector<std::wstring>{L"REMOVESKIN A", L"freed A"}));
    EXPECT_EQ(sk::HookedProvider(&form), nullptr);
}

TEST_F(ManagerHook, SwitchingTheSkinOffInsideAProviderDoesNotFreeItWhileItRuns) {
    TJournalForm form(L"A");
    Activate(form);
    TTestProvider* provider = ProviderOf(form);
    ASSERT_NE(provider, nullptr);
    provider->Action = [this] { manager->SetActive(false); };
    SendMessageW(form.Handle(), provider->ActionMessage, 0, 0);
    EXPECT_EQ(log.DestroyedWhileHandling, 0);
    PumpMessages();
    EXPECT_EQ(log.Destroyed, 1);
}

TEST_F(ManagerHook, SwitchingTheSkinOffAndOnKeepsTheProvidersAndTellsThemTheNewSkin) {
    TJournalForm a(L"A"), b(L"B");
    Activate(a);
    tk::TObject* provider = sk::HookedProvider(&a);
    manager->SetActive(false);
    manager->SetActive(true);
    PumpMessages();
    EXPECT_EQ(log.Destroyed, 0);
    EXPECT_EQ(sk::HookedProvider(&a), provider);
    Activate(b);
    Activate(a);
    EXPECT_EQ(log.Made, (std::vector<tk::TForm*>{&a, &b})) << "no second provider for A";
    EXPECT_EQ(log.Events, (std::vector<std::wstring>{L"REMOVESKIN A", L"NEWSKIN A"}));
}

TEST_F(ManagerHook, TheManagerGoingFreesTheProvidersItLetGoOf) {
    TJournalForm form(L"A");
    Activate(form);
    manager.reset();
    EXPECT_EQ(log.Destroyed, 1) << "no message loop will run for this manager";
    PumpMessages();
    EXPECT_EQ(log.Destroyed, 1);
}

TEST_F(ManagerHook, TheRepaintRequestOfTheApplicationWindowRepaintsEveryForm) {
    TJournalForm a(L"A"), b(L"B");
    PumpMessages();
    a.Paints = b.Paints = 0;
    SendMessageW(tk::Application->Handle(), 0xB000, 0, 0);
    EXPECT_GE(a.Paints, 1);
    EXPECT_GE(b.Paints, 1);
}
