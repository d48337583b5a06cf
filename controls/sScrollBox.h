// A container painted by its skin section (the folder dialog's holder of the root buttons):
// its face in its cache, the background its children ask for.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/Controls.h"

namespace sk {

class TsScrollBox : public tk::TWinControl {
public:
    explicit TsScrollBox(tk::TComponent* owner);
    TsScrollWndData& SkinData() { return FSkinData; }

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    void PaintBackground(HDC dc, const RECT& r) override;

protected:
    void CreateParams(tk::TCreateParams& params) override;

private:
    // Rebuilds a stale cache: what lies behind the box, then its section's face.
    void PrepareCache();

    TsScrollWndData FSkinData{this, true, 0};
};

}  // namespace sk
