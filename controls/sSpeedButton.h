// Speed button (the installer's browse button).
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/ExtCtrls.h"

namespace sk {

class TsSpeedButton : public tk::TSpeedButton {
public:
    explicit TsSpeedButton(tk::TComponent* owner) : tk::TSpeedButton(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TSpeedButton::WndProc(m);
    }
    void Loaded() override {
        tk::TSpeedButton::Loaded();
        FSkinData.Loaded();
    }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 92};
};

}  // namespace sk
