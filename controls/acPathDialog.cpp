#include "controls/acPathDialog.h"

#include "controls/acAlphaImgList.h"
#include "controls/acPathDialogRoots.h"
#include "controls/acShellCtrls.h"
#include "controls/sBitBtn.h"
#include "controls/sLabel.h"
#include "controls/sScrollBox.h"
#include "controls/sToolEdit.h"
#include "forms/sSkinProvider.h"
#include "toolkit/Application.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/PathNames.h"

namespace sk {

namespace {

constexpr int kMaxNewFolders = 9999;  // "New folder1" to "New folder9999"

std::wstring ResourceString(UINT id, const std::wstring& fallback) {
    const wchar_t* text = nullptr;
    const int n = LoadStringW(tk::ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 && text ? std::wstring(text, static_cast<size_t>(n)) : fallback;
}

// The folder a new folder goes into, ending with a separator ("C" gives "C:\").
std::wstring FolderPrefix(std::wstring path) {
    if (!path.empty() && path.back() == L'/') path.back() = L'\\';
    if (path.size() == 1) return path + L":\\";
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path;
}

// A folder the dialog may return or make a folder in. One whose contents cannot be read
// (access refused, in use, its drive without a medium) is no place to install into.
bool Choosable(const std::wstring& path) { return IsDialogFolder(path) && FolderCanBeListed(path); }

void ShowError(const std::wstring& text) {
    if (TPathDialogForm::ErrorBox) TPathDialogForm::ErrorBox(text);
    else if (tk::Application) tk::Application->MessageBox(text, tk::Application->Title(), MB_OK | MB_ICONSTOP);
}

// The program's other windows, disabled while the dialog runs and enabled again after it.
struct TDisabledWindows {
    HWND Except;
    std::vector<HWND> Windows;
    explicit TDisabledWindows(HWND except) : Except(except) {
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
        for (HWND h : Windows) EnableWindow(h, FALSE);
    }
    ~TDisabledWindows() {
        for (HWND h : Windows)
            if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    static BOOL CALLBACK Collect(HWND h, LPARAM self) {
        auto* me = reinterpret_cast<TDisabledWindows*>(self);
        if (h != me->Except && IsWindowVisible(h) && IsWindowEnabled(h)) me->Windows.push_back(h);
        return TRUE;
    }
};

}  // namespace

std::function<void(TPathDialogForm&)> TPathDialogForm::OnShown;
std::function<void(const std::wstring&)> TPathDialogForm::ErrorBox;

bool IsDialogFolder(const std::wstring& path) {
    return !path.empty() && path.size() < MAX_PATH && tk::IsAbsolutePath(path) && DirectoryExistsForDialog(path);
}

bool FolderCanBeListed(const std::wstring& path) {
    std::wstring pattern = path;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    HANDLE found = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (found == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive
    FindClose(found);
    return true;
}

TPathDialogForm::TPathDialogForm(tk::TComponent* owner) : tk::TForm(owner) {
    LoadDescription(L"TPATHDIALOGFORM", tk::TMethodTable{}, [this] { BindFields(); });
    SetCaptions();
    SetMinClientSize(ClientWidth(), ClientHeight());
    sShellTreeView1->SetAnchors(tk::akLeft | tk::akTop | tk::akRight | tk::akBottom);
    sScrollBox1->SetAnchors(tk::akLeft | tk::akTop | tk::akBottom);
    sBitBtn1->SetAnchors(tk::akRight | tk::akBottom);
    sBitBtn2->SetAnchors(tk::akRight | tk::akBottom);
    sBitBtn3->SetAnchors(tk::akLeft | tk::akBottom);
    sBitBtn1->OnClick = [this](tk::TObject*) { OkClick(); };
    sBitBtn2->OnClick = [this](tk::TObject*) { CancelClick(); };
    sBitBtn3->OnClick = [this](tk::TObject*) { CreateClick(); };
    sShellTreeView1->OnChange = [this](tk::TTreeNode*) { SelectionChanged(); };
    sShellTreeView1->OnEdited = [this](tk::TTreeNode* node, std::wstring& text, bool& accept) {
        accept = sShellTreeView1->RenameItem(node, text);
        if (accept) text = sShellTreeView1->FolderOf(node)->DisplayName();
        SelectionChanged();
    };
    sShellTreeView1->OnError = [](const std::wstring& message) { ShowError(message); };
}

TPathDialogForm::~TPathDialogForm() = default;

void TPathDialogForm::BindFields() {
    sLabel1 = tk::BindComponent<TsLabel>(*this, L"sLabel1");
    sShellTreeView1 = tk::BindComponent<TsShellTreeView>(*this, L"sShellTreeView1");
    sBitBtn1 = tk::BindComponent<TsBitBtn>(*this, L"sBitBtn1");
    sBitBtn2 = tk::BindComponent<TsBitBtn>(*this, L"sBitBtn2");
    sBitBtn3 = tk::BindComponent<TsBitBtn>(*this, L"sBitBtn3");
    sScrollBox1 = tk::BindComponent<TsScrollBox>(*this, L"sScrollBox1");
    sSkinProvider1 = tk::BindComponent<TsSkinProvider>(*this, L"sSkinProvider1");
    ImageList1 = tk::BindComponent<TsAlphaImageList>(*this, L"ImageList1");
}

void TPathDialogForm::SetCaptions() {
    SetCaption(ResourceString(kPathDialogCaptionId, Caption()));
    sLabel1->SetCaption(ResourceString(kPathDialogRootId, sLabel1->Caption()));
    sBitBtn1->SetCaption(ResourceString(kPathDialogOkId, sBitBtn1->Caption()));
    sBitBtn2->SetCaption(ResourceString(kPathDialogCancelId, sBitBtn2->Caption()));
    sBitBtn3->SetCaption(ResourceString(kPathDialogCreateId, sBitBtn3->Caption()));
}

void TPathDialogForm::ShowRootButtons() {
    if (!RootButtons.empty()) return;
    HandleNeeded();
    const int shift = sScrollBox1->Width() + 4;
    const RECT tree = sShellTreeView1->BoundsRect();
    const RECT ok = sBitBtn1->BoundsRect(), cancel = sBitBtn2->BoundsRect();
    // The anchored controls follow the growing client; their places are set afterwards.
    SetClientSize(ClientWidth() + shift + GetSystemMetrics(SM_CXSIZEFRAME), ClientHeight());
    SetMinClientSize(ClientWidth(), ClientHeight());
    sShellTreeView1->SetBounds(tree.left + shift, tree.top, tree.right - tree.left, tree.bottom - tree.top);
    sBitBtn1->SetBounds(ok.left + shift, ok.top, ok.right - ok.left, ok.bottom - ok.top);
    sBitBtn2->SetBounds(cancel.left + shift, cancel.top, cancel.right - cancel.left, cancel.bottom - cancel.top);
    sScrollBox1->SetVisible(true);
    sLabel1->SetVisible(true);
    RootButtons = CreateRootButtons(*sScrollBox1, *sShellTreeView1);
}

void TPathDialogForm::SelectionChanged() {
    const bool folder = Choosable(sShellTreeView1->Path());
    sBitBtn1->SetEnabled(folder);
    sBitBtn3->SetEnabled(folder);
}

void TPathDialogForm::OkClick() {
    if (sShellTreeView1->IsEditing()) {
        // OK while renaming only ends the renaming.
        sShellTreeView1->EndEditing(false);
        sShellTreeView1->SetFocus();
        return;
    }
    // The folder may have gone since it was selected: then OK is disabled and the dialog stays.
    SelectionChanged();
    if (!sBitBtn1->Enabled()) return;
    FResult = kDialogOk;
}

void TPathDialogForm::CancelClick() {
    if (sShellTreeView1->IsEditing()) {
        // Escape while renaming gives the old name back; the dialog stays.
        sShellTreeView1->EndEditing(true);
        return;
    }
    FResult = kDialogCancel;
}

bool TPathDialogForm::CreateClick() {
    tk::TTreeNode* parent = sShellTreeView1->Selected();
    const std::wstring folder = sShellTreeView1->Path();
    if (!parent || !Choosable(folder)) return false;
    const std::wstring prefix = FolderPrefix(folder) + L"New folder";
    std::wstring made;
    for (int n = 1; n <= kMaxNewFolders && made.empty(); ++n) {
        const std::wstring name = prefix + std::to_wstring(n);
        if (name.size() >= MAX_PATH) break;
        if (CreateDirectoryW(name.c_str(), nullptr)) {
            made = name;
            break;
        }
        // Any item of that name, folder or file, takes the number; any other failure ends it.
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            ShowError(L"Directory " + name + L" can`t be created!");
            return false;
        }
    }
    if (made.empty()) {
        ShowError(L"Directory " + prefix + L" can`t be created!");
        return false;
    }
    sShellTreeView1->Refresh(parent);
    for (tk::TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling()) {
        TacShellFolder* f = sShellTreeView1->FolderOf(c);
        if (f && _wcsicmp(f->PathName().c_str(), made.c_str()) == 0) {
            sShellTreeView1->SetSelected(c);
            sShellTreeView1->SetFocus();
            c->Expand();
            sShellTreeView1->EditText(c);
            break;
        }
    }
    return true;
}

void TPathDialogForm::WndProc(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            if (!sShellTreeView1->IsEditing()) FResult = kDialogCancel;
            m.Result = 0;
            return;
        case WM_COMMAND:
            // Enter and Escape of the dialog navigation; Enter acts on a focused button.
            if (m.LParam == 0 && LOWORD(m.WParam) == IDOK) {
                HWND focus = GetFocus();
                if (focus == sBitBtn2->Handle()) CancelClick();
                else if (focus == sBitBtn3->Handle()) CreateClick();
                else OkClick();
                return;
            }
            if (m.LParam == 0 && LOWORD(m.WParam) == IDCANCEL) {
                CancelClick();
                return;
            }
            break;
        default: break;
    }
    tk::TForm::WndProc(m);
}

int TPathDialogForm::ShowModal() {
    FResult = 0;
    HWND previous = GetActiveWindow();
    TDisabledWindows disabled(Handle());
    Show();
    if (OnShown) OnShown(*this);
    MSG msg;
    while (FResult == 0) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the program ends: pass it on
            FResult = kDialogCancel;
            break;
        }
        if (!IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    ShowWindow(Handle(), SW_HIDE);
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return FResult;
}

bool ExecutePathDialog(const TPathDialogRequest& request, const std::wstring& start, std::wstring& chosen) {
    TPathDialogForm dialog(nullptr);
    dialog.sBitBtn3->SetVisible(request.AllowCreate);
    if (request.ShowRootBtns) dialog.ShowRootButtons();
    else dialog.sLabel1->SetVisible(false);
    dialog.sShellTreeView1->BoundLabel().SetCaption(request.DialogText);
    dialog.sShellTreeView1->HandleNeeded();
    try {
        dialog.sShellTreeView1->SetRoot(request.Root);
    } catch (const tk::Exception& e) {
        ShowError(e.Message());
        return false;
    }
    if (IsDialogFolder(start)) {
        try {
            dialog.sShellTreeView1->SetPath(start);
        } catch (const tk::Exception&) {
            // A folder the shell cannot find: the dialog opens at the root.
        }
    }
    dialog.SelectionChanged();
    if (dialog.ShowModal() != kDialogOk) return false;
    chosen = dialog.sShellTreeView1->Path();
    return IsDialogFolder(chosen);
}

}  // namespace sk
