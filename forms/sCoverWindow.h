// The cover window: a borderless, never-activated window put exactly over a form's frame while
// the form changes its active state, so that whatever the system paints into the frame then is
// never seen. It shows the form's frame picture and has a region of the form's outline minus
// its client area; it is hidden again when the activation painting is done. One window is kept
// per form and reused, as making top-level windows is not cheap everywhere.
#pragma once
#include <windows.h>

#include <functional>

namespace sk {

class TacCoverWindow {
public:
    // paint draws the frame picture in window coordinates of the form.
    TacCoverWindow(HWND form, std::function<void(HDC)> paint);
    ~TacCoverWindow();
    // Puts the window over the form's frame as the form is now, and paints it.
    void Cover();
    void Uncover();
    TacCoverWindow(const TacCoverWindow&) = delete;
    TacCoverWindow& operator=(const TacCoverWindow&) = delete;

    HWND Handle() const { return FWindow; }
    static const wchar_t* ClassName();

private:
    static LRESULT CALLBACK CoverProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    bool MakeWindow();
    void ApplyRegion(int width, int height);

    HWND FForm;
    HWND FWindow = nullptr;
    std::function<void(HDC)> FPaint;
};

}  // namespace sk
