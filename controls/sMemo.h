// Multi-line edit (the installer's log).
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsMemo : public tk::TMemo {
public:
    explicit TsMemo(tk::TComponent* owner) : tk::TMemo(owner) {}
    TsCommonData& SkinData() { return FSkinData; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TMemo::WndProc(m);
    }
    void Loaded() override {
        tk::TMemo::Loaded();
        FSkinData.Loaded();
    }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 7};
};

}  // namespace sk
