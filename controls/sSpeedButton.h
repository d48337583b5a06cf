// Speed button (the installer's browse button).
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/ExtCtrls.h"

namespace sk {

class TsSpeedButton : public tk::TSpeedButton {
public:
    explicit TsSpeedButton(tk::TComponent* owner) : tk::TSpeedButton(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 92};
};

}  // namespace sk
