// Combo box with an edit part.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsComboBox : public tk::TComboBox {
public:
    explicit TsComboBox(tk::TComponent* owner) : tk::TComboBox(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 3};
    tk::TAlignment FAlignment = tk::TAlignment::taLeftJustify;
    bool FVerticalAlignmentTop = false;
};

}  // namespace sk
