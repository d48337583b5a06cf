// What the folder dialog tests share: real key presses, steps run one per timer tick from
// inside the dialog's own message loop, error boxes caught as texts, and path comparison.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/acPathDialog.h"
#include "tests/common/SyntheticInput.h"

namespace kvdlg {

using sk::TPathDialogForm;

inline void Key(WORD vk) { synthetic::key_stroke(vk); }

// Runs steps on the shown dialog, one per timer tick, from inside its message loop.
struct TScript {
    // Defined once in dialog_support.cpp (inline statics trip the i686 linker).
    static std::vector<std::function<void(TPathDialogForm&)>> Steps;
    static TPathDialogForm* Dialog;
    static size_t Next;
    explicit TScript(std::vector<std::function<void(TPathDialogForm&)>> steps) {
        Steps = std::move(steps);
        Next = 0;
        TPathDialogForm::OnShown = [](TPathDialogForm& d) {
            Dialog = &d;
            SetForegroundWindow(d.Handle());
            SetTimer(d.Handle(), 0x7E57, 120, Tick);
        };
    }
    ~TScript() {
        TPathDialogForm::OnShown = nullptr;
        Steps.clear();
    }
    static void CALLBACK Tick(HWND h, UINT, UINT_PTR id, DWORD) {
        if (Next >= Steps.size()) {
            KillTimer(h, id);
            return;
        }
        Steps[Next++](*Dialog);
    }
};

struct TErrors {
    std::vector<std::wstring> Seen;
    TErrors() {
        TPathDialogForm::ErrorBox = [this](const std::wstring& text) { Seen.push_back(text); };
    }
    ~TErrors() { TPathDialogForm::ErrorBox = nullptr; }
};

// Whether a folder of that path exists.
inline bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

}  // namespace kvdlg
