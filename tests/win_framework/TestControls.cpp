#include "tests/win_framework/TestControls.h"

#include "skinframework/sControlPaint.h"

namespace kvfw {

namespace {

// Rebuilds a stale cache: what lies behind the control, then the section's face in the
// control's state over the whole cache.
template <class Control> void PaintFaceIntoCache(Control& c) {
    sk::TsCommonData& sd = c.SkinData;
    if (!sd.BGChanged || !sd.Skinned()) return;
    sk::TacCacheBitmap* cache = sd.InitCacheBmp();
    if (!cache || cache->Empty()) return;
    // The answer already places the parent's pixels at the control's position.
    rd::TCacheInfo behind;
    sd.GetParentCache(behind);
    const int state = sd.ControlIsHot() ? 1 : 0;
    sk::PaintControlFace(sd, behind, true, cache->View(), rd::TPoint{0, 0},
                         rd::TRect{0, 0, c.Width(), c.Height()}, state);
    sd.BGChanged = false;
    ++c.CacheBuilds;
}

// Sets a control up as reading it from a window description would: properties while loading,
// then Loaded, which binds the skin data.
template <class Control>
void LoadOn(Control& c, tk::TWinControl* parent, RECT bounds, const std::wstring& section, const std::wstring& name) {
    c.SetName(name);
    c.BeginLoading();
    c.SkinData.SetSkinSection(section);
    c.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    c.SetParent(parent);
    c.Loaded();
    c.SkinData.Loaded();
}

template <class Control> void Record(Control& c, const tk::TMessage& m) {
    if (m.Msg != sk::SM_SKINCMD) return;
    const WORD cmd = sk::SkinCmdOf(m.WParam);
    c.Commands.push_back(cmd);
    if (c.Journal) c.Journal->emplace_back(c.Name(), cmd);
}

}  // namespace

TTestWinControl::TTestWinControl(tk::TWinControl* parent, int coc, RECT bounds, const std::wstring& section,
                                 const std::wstring& name)
    : tk::TWinControl(parent), SkinData(this, true, coc) {
    LoadOn(*this, parent, bounds, section, name);
}

void TTestWinControl::CreateParams(tk::TCreateParams& params) {
    tk::TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TTestWinControl::PrepareCache() { PaintFaceIntoCache(*this); }

void TTestWinControl::WndProc(tk::TMessage& m) {
    Record(*this, m);
    if (m.Msg == sk::SM_SKINCMD && sk::SkinCmdOf(m.WParam) == sk::SC_PREPARECACHE) PrepareCache();
    if (sk::HandleCommonMessage(m, SkinData)) return;
    tk::TWinControl::WndProc(m);
}

void TTestWinControl::PaintBackground(HDC dc, const RECT& r) {
    if (!SkinData.Skinned()) {
        tk::TWinControl::PaintBackground(dc, r);
        return;
    }
    PrepareCache();
    sk::CopyCacheToDC(SkinData, dc, 0, 0, RECT{0, 0, Width(), Height()});
}

TTestGraphicControl::TTestGraphicControl(tk::TWinControl* parent, int coc, RECT bounds,
                                         const std::wstring& section, const std::wstring& name)
    : tk::TGraphicControl(parent), SkinData(this, true, coc) {
    LoadOn(*this, parent, bounds, section, name);
}

void TTestGraphicControl::PrepareCache() { PaintFaceIntoCache(*this); }

void TTestGraphicControl::WndProc(tk::TMessage& m) {
    Record(*this, m);
    if (m.Msg == sk::SM_SKINCMD && sk::SkinCmdOf(m.WParam) == sk::SC_PREPARECACHE) PrepareCache();
    if (sk::HandleCommonMessage(m, SkinData)) return;
    tk::TGraphicControl::WndProc(m);
}

void TTestGraphicControl::Paint(tk::TCanvas& canvas) {
    if (!SkinData.Skinned()) return;
    PrepareCache();
    sk::CopyCacheToDC(SkinData, canvas.Handle(), 0, 0, RECT{0, 0, Width(), Height()});
}

uint32_t CachePixel(sk::TsCommonData& skinData, int x, int y) {
    sk::TacCacheBitmap* cache = skinData.FCacheBmp.get();
    if (!cache || x < 0 || y < 0 || x >= cache->Width() || y >= cache->Height()) return 0xFFFFFFFF;
    return cache->ScanLine(y)[x] & 0x00FFFFFF;
}

uint32_t ScreenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace kvfw
