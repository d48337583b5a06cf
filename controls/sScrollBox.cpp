#include "controls/sScrollBox.h"

#include "skinframework/sControlPaint.h"

namespace sk {

TsScrollBox::TsScrollBox(tk::TComponent* owner) : tk::TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TsScrollBox::CreateParams(tk::TCreateParams& params) {
    tk::TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TsScrollBox::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (!FSkinData.ReadProperty(reader, name, v)) tk::TWinControl::SetProperty(reader, name, v);
}

void TsScrollBox::Loaded() {
    tk::TWinControl::Loaded();
    FSkinData.Loaded();
}

void TsScrollBox::PrepareCache() {
    if (!FSkinData.BGChanged || !FSkinData.Skinned()) return;
    TacCacheBitmap* cache = FSkinData.InitCacheBmp();
    if (!cache || cache->Empty()) return;
    rd::TCacheInfo behind;
    FSkinData.GetParentCache(behind);
    PaintControlFace(FSkinData, behind, true, cache->View(), rd::TPoint{0, 0}, rd::TRect{0, 0, Width(), Height()}, 0);
    FSkinData.BGChanged = false;
}

void TsScrollBox::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && SkinCmdOf(m.WParam) == SC_PREPARECACHE) PrepareCache();
    if (HandleCommonMessage(m, FSkinData)) return;
    tk::TWinControl::WndProc(m);
}

void TsScrollBox::PaintBackground(HDC dc, const RECT& r) {
    if (!FSkinData.Skinned()) {
        tk::TWinControl::PaintBackground(dc, r);
        return;
    }
    PrepareCache();
    CopyCacheToDC(FSkinData, dc, 0, 0, RECT{0, 0, Width(), Height()});
}

}  // namespace sk
