#include "toolkit/ComCtrls.h"

#include "toolkit/DescriptionReader.h"

namespace tk {

namespace {

void InitTreeClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

constexpr int kTextCapacity = 1024;

bool IsCode(UINT code, UINT wide, UINT ansi) { return code == wide || code == ansi; }

}  // namespace

// ---- TTreeNode ----

TTreeNode* TTreeNode::Parent() const {
    return FOwner->NodeOf(TreeView_GetParent(FOwner->Handle(), FItem));
}

TTreeNode* TTreeNode::GetFirstChild() const {
    return FOwner->NodeOf(TreeView_GetChild(FOwner->Handle(), FItem));
}

TTreeNode* TTreeNode::GetNextSibling() const {
    return FOwner->NodeOf(TreeView_GetNextSibling(FOwner->Handle(), FItem));
}

int TTreeNode::Count() const {
    int n = 0;
    for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling()) ++n;
    return n;
}

std::wstring TTreeNode::Text() const {
    wchar_t buffer[kTextCapacity] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = FItem;
    item.pszText = buffer;
    item.cchTextMax = kTextCapacity;
    SendMessageW(FOwner->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    buffer[kTextCapacity - 1] = 0;
    return buffer;
}

void TTreeNode::SetText(const std::wstring& text) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = FItem;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(FOwner->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::HasChildren() const {
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = FItem;
    SendMessageW(FOwner->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool value) {
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = FItem;
    item.cChildren = value ? 1 : 0;
    SendMessageW(FOwner->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNode::Expanded() const {
    return (TreeView_GetItemState(FOwner->Handle(), FItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand() { TreeView_Expand(FOwner->Handle(), FItem, TVE_EXPAND); }

void TTreeNode::Collapse() { TreeView_Expand(FOwner->Handle(), FItem, TVE_COLLAPSE); }

void TTreeNode::SetImages(int image, int selected) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = FItem;
    item.iImage = image;
    item.iSelectedImage = selected;
    SendMessageW(FOwner->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetOverlay(int overlayIndex) {
    TreeView_SetItemState(FOwner->Handle(), FItem, INDEXTOOVERLAYMASK(static_cast<UINT>(overlayIndex)),
                          TVIS_OVERLAYMASK);
}

// ---- TTreeView ----

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
    InitTreeClasses();
    SetTabStop(true);
    FColor = clWindow;
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
    // The window's own deletion notices must not reach a half-destroyed tree.
    OnDeletion = nullptr;
    OnChange = nullptr;
    if (HandleAllocated()) DestroyHandle();
    FNodes.clear();
}

void TTreeView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = WC_TREEVIEWW;
    p.Style |= TVS_HASBUTTONS | TVS_HASLINES | WS_TABSTOP;
    if (FShowRoot) p.Style |= TVS_LINESATROOT;
    if (!FReadOnly) p.Style |= TVS_EDITLABELS;
    if (!FHideSelection) p.Style |= TVS_SHOWSELALWAYS;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::InitializeWnd() {
    TWinControl::InitializeWnd();
    HWND h = Handle();
    TreeView_SetIndent(h, FIndent);
    if (FImages) TreeView_SetImageList(h, FImages, TVSIL_NORMAL);
}

void TTreeView::SetIndent(int v) {
    FIndent = v;
    if (HandleAllocated()) TreeView_SetIndent(Handle(), v);
}

void TTreeView::SetImageList(HIMAGELIST images) {
    FImages = images;
    if (HandleAllocated()) TreeView_SetImageList(Handle(), images, TVSIL_NORMAL);
}

TTreeNode* TTreeView::Add(TTreeNode* parent, const std::wstring& text) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent ? parent->ItemId() : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    auto node = std::make_unique<TTreeNode>(this, nullptr);
    ins.item.lParam = reinterpret_cast<LPARAM>(node.get());
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!item) return nullptr;
    node->FItem = item;
    TTreeNode* added = node.get();
    FNodes[item] = std::move(node);
    return added;
}

void TTreeView::Delete(TTreeNode* node) {
    if (node) TreeView_DeleteItem(Handle(), node->ItemId());
}

void TTreeView::DeleteChildren(TTreeNode* node) {
    if (!node) return;
    while (TTreeNode* child = node->GetFirstChild()) Delete(child);
}

void TTreeView::Clear() {
    if (HandleAllocated()) TreeView_DeleteAllItems(Handle());
    FNodes.clear();
}

TTreeNode* TTreeView::NodeOf(HTREEITEM item) const {
    if (!item) return nullptr;
    auto found = FNodes.find(item);
    return found == FNodes.end() ? nullptr : found->second.get();
}

TTreeNode* TTreeView::TopItem() const {
    return NodeOf(TreeView_GetRoot(const_cast<TTreeView*>(this)->Handle()));
}

TTreeNode* TTreeView::Selected() const {
    return NodeOf(TreeView_GetSelection(const_cast<TTreeView*>(this)->Handle()));
}

void TTreeView::SetSelected(TTreeNode* node) {
    TreeView_SelectItem(Handle(), node ? node->ItemId() : nullptr);
}

namespace {
int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM compare) {
    const auto& fn = *reinterpret_cast<const std::function<int(TTreeNode*, TTreeNode*)>*>(compare);
    return fn(reinterpret_cast<TTreeNode*>(a), reinterpret_cast<TTreeNode*>(b));
}
}  // namespace

void TTreeView::SortChildren(TTreeNode* parent, const std::function<int(TTreeNode*, TTreeNode*)>& compare) {
    TVSORTCB sort{};
    sort.hParent = parent ? parent->ItemId() : TVI_ROOT;
    sort.lpfnCompare = CompareNodes;
    sort.lParam = reinterpret_cast<LPARAM>(&compare);
    SendMessageW(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TTreeView::EditText(TTreeNode* node) {
    if (!node || FReadOnly) return;
    SetFocus();
    SendMessageW(Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId()));
}

bool TTreeView::IsEditing() const {
    return HandleAllocated() && TreeView_GetEditControl(const_cast<TTreeView*>(this)->Handle()) != nullptr;
}

void TTreeView::EndEditing(bool cancel) {
    if (IsEditing()) TreeView_EndEditLabelNow(Handle(), cancel ? TRUE : FALSE);
}

void TTreeView::ForgetNode(HTREEITEM item) {
    auto found = FNodes.find(item);
    if (found == FNodes.end()) return;
    if (OnDeletion) OnDeletion(found->second.get());
    FNodes.erase(found);
}

void TTreeView::Notify(TMessage& m) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    const UINT code = header->code;
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(m.LParam);
    m.Result = 0;
    if (IsCode(code, TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDINGA)) {
        TTreeNode* node = NodeOf(tv->itemNew.hItem);
        bool allow = true;
        if (node && (tv->action & TVE_EXPAND) && OnExpanding) OnExpanding(node, allow);
        m.Result = allow ? FALSE : TRUE;
    } else if (IsCode(code, TVN_SELCHANGEDW, TVN_SELCHANGEDA)) {
        if (OnChange) OnChange(NodeOf(tv->itemNew.hItem));
    } else if (IsCode(code, TVN_DELETEITEMW, TVN_DELETEITEMA)) {
        ForgetNode(tv->itemOld.hItem);
    } else if (code == TVN_BEGINLABELEDITW || code == TVN_BEGINLABELEDITA) {
        m.Result = FReadOnly ? TRUE : FALSE;
    } else if (code == TVN_ENDLABELEDITW) {
        const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(m.LParam);
        TTreeNode* node = NodeOf(info->item.hItem);
        if (!info->item.pszText || !node) return;  // cancelled
        std::wstring text = info->item.pszText;
        bool accept = true;
        if (OnEdited) OnEdited(node, text, accept);
        if (!accept) return;
        node->SetText(text);
        m.Result = FALSE;  // the text was set here, as the handler may have changed it
    }
}

void TTreeView::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        Notify(m);
        return;
    }
    TWinControl::WndProc(m);
}

void TTreeView::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Indent") FIndent = reader.Int(v);
    else if (name == "ShowRoot") FShowRoot = reader.Bool(v);
    else if (name == "ReadOnly") FReadOnly = reader.Bool(v);
    else if (name == "HideSelection") FHideSelection = reader.Bool(v);
    else TWinControl::SetProperty(reader, name, v);
}

}  // namespace tk
