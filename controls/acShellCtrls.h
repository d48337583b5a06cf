// A tree of the shell's namespace: folders under a root (a special folder or a path), read
// from the shell as nodes are expanded, sorted as the shell sorts them, with the shell's icons.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "controls/sTreeView.h"

namespace sk {

// The shell item behind a node: its identifier list from the desktop, and its folder.
class TacShellFolder {
public:
    // Takes ownership of absolute (allocated by the shell's allocator).
    TacShellFolder(TacShellFolder* parent, LPITEMIDLIST absolute);
    ~TacShellFolder();
    TacShellFolder(const TacShellFolder&) = delete;
    TacShellFolder& operator=(const TacShellFolder&) = delete;

    LPCITEMIDLIST AbsoluteID() const { return FAbsolute; }
    // The last identifier of the list, relative to the parent folder.
    LPCITEMIDLIST RelativeID() const;
    TacShellFolder* Parent() const { return FParent; }
    // The item's own folder interface (bound on first use); null for an item that is none.
    IShellFolder* ShellFolder();
    // The file-system path, or empty for an item that has none (the computer, the network...).
    std::wstring PathName() const;
    std::wstring DisplayName() const;
    ULONG Attributes(ULONG asked) const;

private:
    TacShellFolder* FParent;
    LPITEMIDLIST FAbsolute;
    IShellFolder* FFolder = nullptr;
};

enum TShellObjectType { otFolders = 1, otNonFolders = 2, otHidden = 4 };

class TsShellTreeView : public TsTreeView {
public:
    explicit TsShellTreeView(tk::TComponent* owner);
    ~TsShellTreeView() override;

    // A root-folder name ("rfDesktop", "rfMyComputer"...) or a path. A root that cannot be
    // resolved keeps the previous one and reports "Error Setting Path : <root>" through
    // OnError; when the previous one fails too it throws that message.
    const std::wstring& Root() const { return FRoot; }
    void SetRoot(const std::wstring& root);
    int ObjectTypes = otFolders | otHidden;
    bool UseShellImages = true;

    // The selected node's file-system path, or empty.
    std::wstring Path() const;
    // Selects the node of path, expanding the way to it; a path that leads outside the known
    // nodes selects the deepest node on the way. Throws "Error Setting Path" when the shell
    // cannot parse the path.
    void SetPath(const std::wstring& path);
    // Reads a folder node's children again (after a folder was made in it).
    void Refresh(tk::TTreeNode* node);
    TacShellFolder* FolderOf(tk::TTreeNode* node) const;
    // Renames the shell item of a node; false (the node keeps its text) when the shell refuses.
    bool RenameItem(tk::TTreeNode* node, const std::wstring& name);

    std::function<void(const std::wstring&)> OnError;

    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    void Loaded() override;

protected:
    void InitializeWnd() override;

private:
    bool BuildRoot(const std::wstring& root);
    tk::TTreeNode* AddItem(tk::TTreeNode* parent, TacShellFolder* folder);
    void PopulateNode(tk::TTreeNode* node);
    void SortNode(tk::TTreeNode* node);

    std::wstring FRoot = L"rfDesktop";
    bool FRootBuilt = false;
};

}  // namespace sk
