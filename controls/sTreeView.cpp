#include "controls/sTreeView.h"

#include "controls/acSBUtils.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

constexpr int kImageGap = 5;  // between a hot-tracked item's image and its text

void FillWith(tk::TCanvas& canvas, const RECT& r, rd::TColor color) {
    HBRUSH brush = CreateSolidBrush(rd::ColorToRGB(color));
    FillRect(canvas.Handle(), &r, brush);
    DeleteObject(brush);
}

}  // namespace

TsTreeView::TsTreeView(tk::TComponent* owner, int coc) : tk::TTreeView(owner), FSkinData(this, false, coc) {}

TsTreeView::~TsTreeView() {
    MarkDestroying();
    // The scroll-window object reads this skin data while the window goes away: it goes first.
    if (HandleAllocated()) DetachEditWnd(Handle());
}

void TsTreeView::UpdateScrollWnd() {
    if (!HandleAllocated() || Destroying()) return;
    if (FSkinData.Skinned(true)) {
        if (!FindScrollWnd(Handle()))
            AttachTreeViewWnd(Handle(), &FSkinData, FSkinData.SkinManager(), FSkinData.SkinSection());
    } else {
        DetachEditWnd(Handle());
    }
}

void TsTreeView::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "HotTrack") HotTrack = reader.Bool(v);
    else if (!FSkinData.ReadProperty(reader, name, v) && !FBoundLabel.ReadProperty(reader, name, v))
        tk::TTreeView::SetProperty(reader, name, v);
}

void TsTreeView::Loaded() {
    tk::TTreeView::Loaded();
    FSkinData.Loaded();
    FBoundLabel.Loaded();
    ApplyColors();
    UpdateScrollWnd();
}

void TsTreeView::InitializeWnd() {
    tk::TTreeView::InitializeWnd();
    ApplyColors();
    if (!IsLoading()) UpdateScrollWnd();
}

void TsTreeView::OnSkinCommand(tk::TMessage& m) {
    const WORD command = SkinCmdOf(m.WParam);
    if (command == SC_REMOVESKIN && HandleAllocated()) DetachEditWnd(Handle());
    HandleSkinCommand(m, FSkinData);
    ApplyColors();
    if (command == SC_NEWSKIN || command == SC_REFRESH) UpdateScrollWnd();
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TsTreeView::ApplyColors() {
    if (!FSkinData.Skinned()) {
        // The system's colours again.
        if (HandleAllocated()) {
            TreeView_SetBkColor(Handle(), static_cast<COLORREF>(-1));
            TreeView_SetTextColor(Handle(), static_cast<COLORREF>(-1));
        }
        return;
    }
    // Focused or hovered: the section's hot colours, when it has them.
    const TsGenState* props = FSkinData.StateProps(FSkinData.ControlIsHot() ? 1 : 0);
    if (!props) return;
    if (!FSkinData.CustomColor() && Color() != props->Color) SetColor(props->Color);
    if (!FSkinData.CustomFont() && Font().Color != props->FontColor.Color) {
        Font().Color = props->FontColor.Color;
        Font().Changed();
    }
    if (!HandleAllocated()) return;
    // Only on a change: each setting repaints the whole tree.
    const COLORREF back = rd::ColorToRGB(Color()), text = rd::ColorToRGB(Font().Color);
    if (TreeView_GetBkColor(Handle()) != back) TreeView_SetBkColor(Handle(), back);
    if (TreeView_GetTextColor(Handle()) != text) TreeView_SetTextColor(Handle(), text);
}

HTREEITEM TsTreeView::HotItem() const {
    if (!HotTrack) return nullptr;
    HWND h = const_cast<TsTreeView*>(this)->Handle();
    TVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(h, &hit.pt);
    return TreeView_HitTest(h, &hit);
}

bool TsTreeView::ShowsSelection(HTREEITEM item, UINT itemState) const {
    HWND h = const_cast<TsTreeView*>(this)->Handle();
    const bool focused = GetFocus() == h;
    const bool marked = item == TreeView_GetSelection(h) || (HotTrack && item == HotItem());
    if (marked && (focused || !HideSelection())) return true;
    return (itemState & CDIS_SELECTED) != 0 && (focused || !HideSelection());
}

void TsTreeView::PaintItem(const NMTVCUSTOMDRAW& cd) {
    HWND h = Handle();
    auto item = reinterpret_cast<HTREEITEM>(cd.nmcd.dwItemSpec);
    RECT r;
    if (!TreeView_GetItemRect(h, item, &r, TRUE)) return;
    HIMAGELIST images = ImageList();
    int imageWidth = 0, imageHeight = 0;
    if (HotTrack && images && ImageList_GetIconSize(images, &imageWidth, &imageHeight)) r.left -= imageWidth + kImageGap;
    else imageWidth = 0;
    const int w = r.right - r.left, ht = r.bottom - r.top;
    if (w <= 0 || ht <= 0) return;

    const TSkinModel* model = FSkinData.ActiveModel();
    TsSkinManager* manager = FSkinData.SkinManager();
    if (!model || !manager) return;
    const bool focused = GetFocus() == h;
    const bool selectedLook = ShowsSelection(item, cd.nmcd.uItemState);
    const int selection = model->GetSkinIndex(L"SELECTION");
    const bool useSection = selection >= 0;

    TacCacheBitmap bmp(w, ht);
    rd::TBitmap32* view = bmp.View();
    tk::TCanvas& canvas = bmp.Canvas();
    const RECT all{0, 0, w, ht};
    if (selectedLook) {
        if (useSection) {
            FillWith(canvas, all, Color());
            const rd::TCacheInfo plain = rd::BackgroundToCacheInfo(bgFill, nullptr, {0, 0}, Color(), {});
            rd::PaintSectionFace(selection, L"SELECTION", plain, -1, -1, model, view, {0, 0}, {0, 0, w, ht},
                                 focused ? 1 : 0);
        } else {
            FillWith(canvas, all, manager->Core().GetHighLightColor(focused && (cd.nmcd.uItemState & CDIS_FOCUS)));
        }
        if (HotTrack && item != TreeView_GetSelection(h)) {
            const rd::TCacheInfo plain = rd::BackgroundToCacheInfo(bgFill, nullptr, {0, 0}, Color(), {});
            rd::ApplyDisabledLook(view, rd::dkBlended, rd::ColorToRGB(Color()), {0, 0}, plain);
        }
    } else {
        FillWith(canvas, all, Color());
    }
    if (imageWidth > 0) {
        TVITEMW info{};
        info.mask = TVIF_IMAGE;
        info.hItem = item;
        SendMessageW(h, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
        ImageList_Draw(images, info.iImage, canvas.Handle(), 2, (ht - imageHeight) / 2, ILD_TRANSPARENT);
    }

    RECT text{1 + imageWidth + (imageWidth ? kImageGap : 0), 0, w - 1, ht};
    wchar_t buffer[1024] = L"";
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = buffer;
    info.cchTextMax = 1024;
    SendMessageW(h, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    buffer[1023] = 0;
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
    if (selectedLook && useSection) {
        rd::WriteSkinTextOnBitmap32(view, Font().Handle(), buffer, true, rd::ColorToRGB(Font().Color), model,
                                    focused || FSkinData.FMouseAbove, selection, format,
                                    {text.left, text.top, text.right, text.bottom});
    } else {
        canvas.Font.Assign(Font());
        SelectObject(canvas.Handle(), Font().Handle());
        SetBkMode(canvas.Handle(), TRANSPARENT);
        SetTextColor(canvas.Handle(), rd::ColorToRGB(selectedLook ? manager->Core().GetHighLightFontColor(focused)
                                                                   : Font().Color));
        DrawTextW(canvas.Handle(), buffer, -1, &text, format);
    }
    if (focused && !useSection && selectedLook) {
        RECT frame{0, 0, text.right, ht};
        DrawFocusRect(canvas.Handle(), &frame);
    }
    if (!Enabled()) {
        const rd::TCacheInfo plain = rd::BackgroundToCacheInfo(bgFill, nullptr, {0, 0}, Color(), {});
        rd::ApplyDisabledLook(view, rd::dkBlended, rd::ColorToRGB(Color()), {0, 0}, plain);
    }
    BitBlt(cd.nmcd.hdc, r.left, r.top, w, ht, canvas.Handle(), 0, 0, SRCCOPY);
}

bool TsTreeView::CustomDraw(tk::TMessage& m) {
    auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(m.LParam);
    if (cd->nmcd.hdr.code != NM_CUSTOMDRAW) return false;
    LRESULT result = CDRF_DODEFAULT;
    if (OnCustomDrawItem) OnCustomDrawItem(*cd, result);
    if (!FSkinData.Skinned()) {
        m.Result = result;
        return true;
    }
    switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: m.Result = result | CDRF_NOTIFYITEMDRAW; return true;
        case CDDS_ITEMPREPAINT:
            cd->clrTextBk = rd::ColorToRGB(Color());
            cd->clrText = rd::ColorToRGB(Font().Color);
            m.Result = (result & CDRF_SKIPDEFAULT) ? result : (result | CDRF_NOTIFYPOSTPAINT);
            return true;
        case CDDS_ITEMPOSTPAINT:
            PaintItem(*cd);
            m.Result = CDRF_DODEFAULT;
            return true;
        default: m.Result = result; return true;
    }
}

void TsTreeView::WndProc(tk::TMessage& m) {
    if (m.Msg == tk::CN_NOTIFY && CustomDraw(m)) return;
    if (m.Msg == SM_SKINCMD) {
        OnSkinCommand(m);
        return;
    }
    if (HandleCommonMessage(m, FSkinData)) return;
    tk::TTreeView::WndProc(m);
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS || m.Msg == tk::CM_MOUSEENTER || m.Msg == tk::CM_MOUSELEAVE) {
        ApplyColors();
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

}  // namespace sk
