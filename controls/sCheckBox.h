// Check box.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsCheckBox : public tk::TCheckBox {
public:
    explicit TsCheckBox(tk::TComponent* owner) : tk::TCheckBox(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TCheckBox::WndProc(m);
    }
    void Loaded() override {
        tk::TCheckBox::Loaded();
        FSkinData.Loaded();
    }
    int ImgChecked() const { return FImgChecked; }
    int ImgUnchecked() const { return FImgUnchecked; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 32};
    int FImgChecked = 0, FImgUnchecked = 0;
};

}  // namespace sk
