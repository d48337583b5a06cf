// The skin manager of the installer window tells the window and every control with skin data
// about the skin, in order, and switching the skin off and on again binds every control to the
// section it had.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "controls/RegisterControls.h"
#include "installer/Unit1.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinCmd.h"
#include "skinframework/sSkinManager.h"

namespace {

// The installer window's controls with skin data, in the order of the window description.
const wchar_t* const kSkinnedControls[] = {L"sSpeedButton1", L"sGauge1",          L"sButton1",
                                           L"sCheckBox1",    L"sCheckBox2",       L"sDirectoryEdit1",
                                           L"sMemo1",        L"sComboBox1",       L"sCheckBox3"};

// Skin messages as they arrive at the window and its controls: (name, sub-command).
class Journal {
public:
    void Watch(tk::TControl* control) {
        tk::TWndMethod previous = control->WindowProc;
        control->WindowProc = [this, control, previous](tk::TMessage& m) {
            if (m.Msg == sk::SM_SKINCMD) FEntries.emplace_back(control->Name(), sk::SkinCmdOf(m.WParam));
            previous(m);
        };
    }
    // The names that received cmd, in order of arrival.
    std::vector<std::wstring> Receivers(WORD cmd) const {
        std::vector<std::wstring> names;
        for (const auto& [name, c] : FEntries)
            if (c == cmd) names.push_back(name);
        return names;
    }
    void Clear() { FEntries.clear(); }

private:
    std::vector<std::pair<std::wstring, WORD>> FEntries;
};

sk::TsCommonData* SkinDataOf(tk::TControl* control) {
    return reinterpret_cast<sk::TsCommonData*>(control->Perform(sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_GETCOMMONDATA)));
}

struct Binding {
    std::wstring Section;
    int SkinIndex;
    bool operator==(const Binding&) const = default;
};

std::map<std::wstring, Binding> Bindings(kv::TForm1& form) {
    std::map<std::wstring, Binding> result;
    for (const wchar_t* name : kSkinnedControls) {
        auto* control = dynamic_cast<tk::TControl*>(form.FindComponent(name));
        sk::TsCommonData* data = control ? SkinDataOf(control) : nullptr;
        result[name] = data ? Binding{data->SkinSection(), data->SkinIndex} : Binding{L"<no skin data>", -2};
    }
    return result;
}

std::vector<std::wstring> Expected(std::initializer_list<const wchar_t*> first) {
    std::vector<std::wstring> names(first.begin(), first.end());
    names.insert(names.end(), std::begin(kSkinnedControls), std::end(kSkinnedControls));
    return names;
}

// Only the names of the form and of the controls with skin data.
std::vector<std::wstring> Watched(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> kept;
    for (const auto& n : names)
        if (n == L"Form1" || std::find(std::begin(kSkinnedControls), std::end(kSkinnedControls), n) != std::end(kSkinnedControls))
            kept.push_back(n);
    return kept;
}

struct InstallerWindow {
    Journal journal;  // outlives the window, whose controls call into it
    std::unique_ptr<kv::TForm1> form;
    InstallerWindow() {
        sk::RegisterControlClasses();
        form = std::make_unique<kv::TForm1>(nullptr);
        form->HandleNeeded();  // a window without a handle is not sent the skin message
        journal.Watch(form.get());
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<tk::TControl*>(form->Components(i))) journal.Watch(control);
    }
    sk::TsSkinManager& Manager() { return *form->sSkinManager1; }
};

}  // namespace

TEST(InstallerBroadcast, EveryControlIsBoundToItsStoredSectionAtStartUp) {
    InstallerWindow w;
    for (const auto& [name, binding] : Bindings(*w.form)) {
        EXPECT_GE(binding.SkinIndex, 0) << std::string(name.begin(), name.end()) << " is not skinned";
        EXPECT_EQ(binding.SkinIndex, w.Manager().Model().GetSkinIndex(binding.Section));
    }
}

TEST(InstallerBroadcast, ANewSkinReachesTheWindowThenEveryControlInOrder) {
    InstallerWindow w;
    w.Manager().UpdateSkin(false);
    EXPECT_EQ(Watched(w.journal.Receivers(sk::SC_NEWSKIN)), Expected({L"Form1"}));
}

TEST(InstallerBroadcast, SwitchingTheSkinOffAndOnKeepsEverySection) {
    InstallerWindow w;
    const auto before = Bindings(*w.form);

    w.Manager().SetActive(false);
    EXPECT_EQ(Watched(w.journal.Receivers(sk::SC_REMOVESKIN)), Expected({L"Form1"}));
    for (const auto& [name, binding] : Bindings(*w.form))
        EXPECT_EQ(binding.SkinIndex, -1) << std::string(name.begin(), name.end()) << " still skinned";

    w.journal.Clear();
    w.Manager().SetActive(true);
    EXPECT_EQ(Watched(w.journal.Receivers(sk::SC_NEWSKIN)), Expected({L"Form1"}));
    EXPECT_EQ(Bindings(*w.form), before);
}
