// A tree view over the system's tree control: nodes that carry data, expanding on demand,
// sorting by a comparison of the program's, image lists, label editing.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "toolkit/Controls.h"

namespace tk {

class TTreeView;

// One item of the tree; owned by its tree view, freed when the item is deleted.
class TTreeNode {
public:
    TTreeNode(TTreeView* owner, HTREEITEM item) : FOwner(owner), FItem(item) {}
    HTREEITEM ItemId() const { return FItem; }
    TTreeView* Owner() const { return FOwner; }
    TTreeNode* Parent() const;
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetNextSibling() const;
    int Count() const;  // direct children
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    // The "has children" button, shown even before the children are added.
    bool HasChildren() const;
    void SetHasChildren(bool value);
    bool Expanded() const;
    void Expand();
    void Collapse();
    void SetImages(int image, int selected);
    void SetOverlay(int overlayIndex);  // 1-based overlay image of the image list, 0 for none
    void* Data = nullptr;  // the program's, never freed by the tree

private:
    friend class TTreeView;
    TTreeView* FOwner;
    HTREEITEM FItem;
};

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;

    // Adds a child at the end of parent's children (a top-level node for nullptr).
    TTreeNode* Add(TTreeNode* parent, const std::wstring& text);
    void Delete(TTreeNode* node);
    void DeleteChildren(TTreeNode* node);
    void Clear();
    TTreeNode* TopItem() const;
    TTreeNode* NodeOf(HTREEITEM item) const;
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    // Sorts parent's children; compare(a, b) < 0 puts a first.
    void SortChildren(TTreeNode* parent, const std::function<int(TTreeNode*, TTreeNode*)>& compare);
    void SetImageList(HIMAGELIST images);  // not owned
    HIMAGELIST ImageList() const { return FImages; }
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool v) { FShowRoot = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v) { FHideSelection = v; }

    // Label editing.
    void EditText(TTreeNode* node);
    bool IsEditing() const;
    void EndEditing(bool cancel);

    // expanding: allow = false stops it; edited: the new text, may be changed, or the
    // edit refused by setting accept = false.
    std::function<void(TTreeNode*, bool& allow)> OnExpanding;
    std::function<void(TTreeNode*)> OnChange;
    std::function<void(TTreeNode*, std::wstring& text, bool& accept)> OnEdited;
    std::function<void(TTreeNode*)> OnDeletion;

    void WndProc(TMessage& m) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void InitializeWnd() override;

private:
    void Notify(TMessage& m);
    void ForgetNode(HTREEITEM item);

    std::map<HTREEITEM, std::unique_ptr<TTreeNode>> FNodes;
    HIMAGELIST FImages = nullptr;
    int FIndent = 19;
    bool FShowRoot = true;
    bool FReadOnly = false;
    bool FHideSelection = true;
};

}  // namespace tk
