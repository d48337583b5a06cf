#include "controls/acShellCtrls.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "controls/acAlphaImgList.h"
#include "controls/sToolEdit.h"
#include "toolkit/DescriptionReader.h"

namespace sk {

namespace {

// The desktop folder, the root of every identifier list.
IShellFolder* Desktop() {
    static IShellFolder* desktop = [] {
        IShellFolder* d = nullptr;
        return SUCCEEDED(SHGetDesktopFolder(&d)) ? d : nullptr;
    }();
    return desktop;
}

std::wstring StrRetText(STRRET& ret, LPCITEMIDLIST item) {
    wchar_t buffer[MAX_PATH * 2] = L"";
    if (FAILED(StrRetToBufW(&ret, item, buffer, ARRAYSIZE(buffer)))) return L"";
    return buffer;
}

// The identifier list of a root: a root-folder name's special folder, or a parsed path.
LPITEMIDLIST ResolveRoot(const std::wstring& root) {
    LPITEMIDLIST list = nullptr;
    const int id = RootFolderId(root);
    if (id >= 0) return SUCCEEDED(SHGetSpecialFolderLocation(nullptr, id, &list)) ? list : nullptr;
    std::wstring path = root;
    if (!path.empty() && path.back() == L'/') path.back() = L'\\';
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    wchar_t expanded[MAX_PATH * 2] = L"";
    const DWORD n = ExpandEnvironmentStringsW(path.c_str(), expanded, ARRAYSIZE(expanded));
    if (n > 0 && n <= ARRAYSIZE(expanded)) path = expanded;
    if (!Desktop() ||
        FAILED(Desktop()->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(path.c_str()), nullptr, &list, nullptr)))
        return nullptr;
    return list;
}

int IconIndex(LPCITEMIDLIST item, UINT extra) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof(info),
                        SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra))
        return -1;
    return info.iIcon;
}

constexpr int kSharedOverlay = 1;  // the system image list's first overlay: the shared hand

}  // namespace

// ---- TacShellFolder ----

TacShellFolder::TacShellFolder(TacShellFolder* parent, LPITEMIDLIST absolute) : FParent(parent), FAbsolute(absolute) {}

TacShellFolder::~TacShellFolder() {
    if (FFolder) FFolder->Release();
    CoTaskMemFree(FAbsolute);
}

LPCITEMIDLIST TacShellFolder::RelativeID() const { return ILFindLastID(FAbsolute); }

IShellFolder* TacShellFolder::ShellFolder() {
    if (FFolder || !Desktop()) return FFolder;
    if (!FAbsolute || FAbsolute->mkid.cb == 0) {
        FFolder = Desktop();
        FFolder->AddRef();
    } else {
        Desktop()->BindToObject(FAbsolute, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&FFolder));
    }
    return FFolder;
}

std::wstring TacShellFolder::PathName() const {
    // Only items of the file system have a path; virtual folders have none rather than
    // their display name, which would be taken for a relative path.
    wchar_t buffer[MAX_PATH] = L"";
    if (!FAbsolute || !SHGetPathFromIDListW(FAbsolute, buffer)) return L"";
    return buffer;
}

std::wstring TacShellFolder::DisplayName() const {
    if (!Desktop()) return L"";
    STRRET ret{};
    if (FAILED(Desktop()->GetDisplayNameOf(FAbsolute, SHGDN_NORMAL, &ret))) return L"";
    return StrRetText(ret, FAbsolute);
}

ULONG TacShellFolder::Attributes(ULONG asked) const {
    ULONG attributes = asked;
    LPCITEMIDLIST item = FAbsolute;
    if (!Desktop() || FAILED(Desktop()->GetAttributesOf(1, &item, &attributes))) return 0;
    return attributes & asked;
}

// ---- TsShellTreeView ----

TsShellTreeView::TsShellTreeView(tk::TComponent* owner) : TsTreeView(owner, 96) {
    OnExpanding = [this](tk::TTreeNode* node, bool& allow) {
        if (allow && !node->GetFirstChild() && node->HasChildren()) PopulateNode(node);
    };
    OnDeletion = [](tk::TTreeNode* node) {
        delete static_cast<TacShellFolder*>(node->Data);
        node->Data = nullptr;
    };
}

TsShellTreeView::~TsShellTreeView() { Clear(); }

TacShellFolder* TsShellTreeView::FolderOf(tk::TTreeNode* node) const {
    return node ? static_cast<TacShellFolder*>(node->Data) : nullptr;
}

void TsShellTreeView::InitializeWnd() {
    TsTreeView::InitializeWnd();
    if (UseShellImages) SetImageList(SystemSmallImageList());
    if (!FRootBuilt && !IsLoading()) BuildRoot(FRoot);
}

void TsShellTreeView::Loaded() {
    TsTreeView::Loaded();
    if (HandleAllocated() && !FRootBuilt) BuildRoot(FRoot);
}

void TsShellTreeView::SetRoot(const std::wstring& root) {
    if (FRootBuilt && _wcsicmp(root.c_str(), FRoot.c_str()) == 0) return;
    const std::wstring old = FRoot;
    if (!HandleAllocated() || IsLoading()) {
        FRoot = root;
        return;
    }
    if (BuildRoot(root)) return;
    const std::wstring message = L"Error Setting Path : " + root;
    if (!BuildRoot(old)) throw tk::Exception(message);
    if (OnError) OnError(message);
}

bool TsShellTreeView::BuildRoot(const std::wstring& root) {
    LPITEMIDLIST list = ResolveRoot(root);
    if (!list) return false;
    Clear();
    FRoot = root;
    FRootBuilt = true;
    auto* folder = new TacShellFolder(nullptr, list);
    tk::TTreeNode* node = AddItem(nullptr, folder);
    if (!node) return false;
    if (RootFolderId(root) < 0) {
        // A path root shows its last component.
        std::wstring text = root;
        while (!text.empty() && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
        const size_t slash = text.find_last_of(L"\\/");
        if (slash != std::wstring::npos) text = text.substr(slash + 1);
        if (!text.empty()) node->SetText(text);
    }
    node->Expand();
    SetSelected(node);
    return true;
}

tk::TTreeNode* TsShellTreeView::AddItem(tk::TTreeNode* parent, TacShellFolder* folder) {
    tk::TTreeNode* node = Add(parent, folder->DisplayName());
    if (!node) {
        delete folder;
        return nullptr;
    }
    node->Data = folder;
    const int normal = IconIndex(folder->AbsoluteID(), 0);
    const int open = IconIndex(folder->AbsoluteID(), SHGFI_OPENICON);
    node->SetImages(normal, open >= 0 ? open : normal);
    const ULONG attributes = folder->Attributes(SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_SHARE);
    node->SetHasChildren((attributes & SFGAO_HASSUBFOLDER) != 0);
    if (attributes & SFGAO_SHARE) node->SetOverlay(kSharedOverlay);
    return node;
}

void TsShellTreeView::PopulateNode(tk::TTreeNode* node) {
    TacShellFolder* folder = FolderOf(node);
    IShellFolder* shell = folder ? folder->ShellFolder() : nullptr;
    if (!shell) {
        node->SetHasChildren(false);
        return;
    }
    HCURSOR old = ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // the wait cursor
    SHCONTF flags = 0;
    if (ObjectTypes & otFolders) flags |= SHCONTF_FOLDERS;
    if (ObjectTypes & otNonFolders) flags |= SHCONTF_NONFOLDERS;
    if (ObjectTypes & otHidden) flags |= SHCONTF_INCLUDEHIDDEN;
    IEnumIDList* items = nullptr;
    if (shell->EnumObjects(Handle(), flags, &items) == S_OK && items) {
        LPITEMIDLIST child = nullptr;
        while (items->Next(1, &child, nullptr) == S_OK) {
            LPITEMIDLIST absolute = ILCombine(folder->AbsoluteID(), child);
            CoTaskMemFree(child);
            if (absolute) AddItem(node, new TacShellFolder(folder, absolute));
        }
        items->Release();
    }
    SortNode(node);
    node->SetHasChildren(node->GetFirstChild() != nullptr);
    ::SetCursor(old);
}

void TsShellTreeView::SortNode(tk::TTreeNode* node) {
    IShellFolder* shell = FolderOf(node) ? FolderOf(node)->ShellFolder() : nullptr;
    if (!shell) return;
    SortChildren(node, [shell](tk::TTreeNode* a, tk::TTreeNode* b) {
        auto* fa = static_cast<TacShellFolder*>(a->Data);
        auto* fb = static_cast<TacShellFolder*>(b->Data);
        if (!fa || !fb) return 0;
        const HRESULT r = shell->CompareIDs(0, fa->RelativeID(), fb->RelativeID());
        return FAILED(r) ? 0 : static_cast<short>(HRESULT_CODE(r));
    });
}

std::wstring TsShellTreeView::Path() const {
    TacShellFolder* folder = FolderOf(Selected());
    return folder ? folder->PathName() : L"";
}

void TsShellTreeView::SetPath(const std::wstring& path) {
    std::wstring text = path;
    wchar_t expanded[MAX_PATH * 2] = L"";
    const DWORD n = ExpandEnvironmentStringsW(path.c_str(), expanded, ARRAYSIZE(expanded));
    if (n > 0 && n <= ARRAYSIZE(expanded)) text = expanded;
    LPITEMIDLIST target = nullptr;
    if (!Desktop() ||
        FAILED(Desktop()->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(text.c_str()), nullptr, &target, nullptr)))
        throw tk::Exception(L"Error Setting Path");
    tk::TTreeNode* node = TopItem();
    tk::TTreeNode* deepest = node;
    while (node) {
        TacShellFolder* folder = FolderOf(node);
        if (folder && ILIsEqual(folder->AbsoluteID(), target)) {
            deepest = node;
            break;
        }
        if (!folder || !ILIsParent(folder->AbsoluteID(), target, FALSE)) {
            node = node->GetNextSibling();
            continue;
        }
        deepest = node;
        node->Expand();
        node = node->GetFirstChild();
    }
    CoTaskMemFree(target);
    if (deepest) SetSelected(deepest);
}

void TsShellTreeView::Refresh(tk::TTreeNode* node) {
    if (!node) return;
    DeleteChildren(node);
    node->SetHasChildren(true);
    PopulateNode(node);
    node->Expand();
}

bool TsShellTreeView::RenameItem(tk::TTreeNode* node, const std::wstring& name) {
    TacShellFolder* folder = FolderOf(node);
    TacShellFolder* parent = folder ? folder->Parent() : nullptr;
    IShellFolder* shell = parent ? parent->ShellFolder() : nullptr;
    if (!shell || name.empty()) return false;
    LPITEMIDLIST renamed = nullptr;
    if (FAILED(shell->SetNameOf(Handle(), folder->RelativeID(), name.c_str(), SHGDN_INFOLDER, &renamed)) || !renamed)
        return false;
    LPITEMIDLIST absolute = ILCombine(parent->AbsoluteID(), renamed);
    CoTaskMemFree(renamed);
    if (!absolute) return false;
    node->Data = new TacShellFolder(parent, absolute);
    delete folder;
    return true;
}

void TsShellTreeView::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "Root") FRoot = reader.String(v);
    else if (name == "UseShellImages") UseShellImages = reader.Bool(v);
    else if (name == "AutoRefresh") reader.Bool(v);  // the tree is read again only on request
    else if (name == "ShowExt") {
        // Names are shown as the shell shows them; the tree lists folders, whose names carry
        // no extension to show or hide.
        reader.Enum(v, {"seHide", "seShow", "seSystem"});
    }
    else if (name == "ObjectTypes") {
        ObjectTypes = 0;
        for (const std::string& t : reader.Set(v)) {
            if (t == "otFolders") ObjectTypes |= otFolders;
            else if (t == "otNonFolders") ObjectTypes |= otNonFolders;
            else if (t == "otHidden") ObjectTypes |= otHidden;
        }
    } else TsTreeView::SetProperty(reader, name, v);
}

}  // namespace sk
