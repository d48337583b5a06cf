// Combo box with an edit part.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsComboBox : public tk::TComboBox {
public:
    explicit TsComboBox(tk::TComponent* owner) : tk::TComboBox(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TComboBox::WndProc(m);
    }
    void Loaded() override {
        tk::TComboBox::Loaded();
        FSkinData.Loaded();
    }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 3};
    tk::TAlignment FAlignment = tk::TAlignment::taLeftJustify;
    bool FVerticalAlignmentTop = false;
};

}  // namespace sk
