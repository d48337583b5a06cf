// Push button.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsButton : public tk::TButton {
public:
    explicit TsButton(tk::TComponent* owner) : tk::TButton(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 93};
};

}  // namespace sk
