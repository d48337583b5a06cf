// Push button.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsButton : public tk::TButton {
public:
    explicit TsButton(tk::TComponent* owner) : tk::TButton(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TButton::WndProc(m);
    }
    void Loaded() override {
        tk::TButton::Loaded();
        FSkinData.Loaded();
    }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 93};
};

}  // namespace sk
