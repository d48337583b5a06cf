#include "controls/acPathDialogRoots.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "controls/acAlphaImgList.h"
#include "controls/acShellCtrls.h"
#include "controls/sSpeedButton.h"
#include "controls/sToolEdit.h"

namespace sk {

namespace {

// The display name and small icon of a special folder; false when the shell does not know it.
bool SpecialFolderLook(const wchar_t* root, std::wstring& name, tk::TBitmap& icon) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, RootFolderId(root), &list)) || !list) return false;
    SHFILEINFOW info{};
    const bool found = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list), 0, &info, sizeof(info),
                                      SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON) != 0;
    CoTaskMemFree(list);
    if (!found) return false;
    name = info.szDisplayName;
    IconToGlyph(info.hIcon, icon);
    if (info.hIcon) DestroyIcon(info.hIcon);
    return true;
}

TsSpeedButton* MakeRootButton(tk::TWinControl& box, TsShellTreeView& tree, const wchar_t* root, int top) {
    auto* button = new TsSpeedButton(&box);
    button->BeginLoading();
    button->SkinData().SetSkinSection(L"TOOLBUTTON");
    button->SetBounds(0, top, box.Width(), kRootButtonHeight);
    button->SetLayout(TButtonLayout::blGlyphTop);
    button->SetMargin(5);
    std::wstring name;
    if (SpecialFolderLook(root, name, button->Glyph())) button->SetCaption(name);
    else button->SetCaption(root);
    button->SetParent(&box);
    button->Loaded();
    const std::wstring rootName = root;
    button->OnClick = [&tree, rootName](tk::TObject*) { tree.SetRoot(rootName); };
    return button;
}

}  // namespace

std::vector<TsSpeedButton*> CreateRootButtons(tk::TWinControl& box, TsShellTreeView& tree) {
    std::vector<TsSpeedButton*> buttons;
    int top = 0;
    for (const wchar_t* root : kRootButtonRoots) {
        buttons.push_back(MakeRootButton(box, tree, root, top));
        top += kRootButtonHeight;
    }
    return buttons;
}

}  // namespace sk
