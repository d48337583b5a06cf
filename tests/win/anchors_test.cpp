// Anchored controls follow their form's size, and a form keeps its smallest client size.
#include <gtest/gtest.h>

#include "toolkit/Application.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace {

using namespace tk;

TEST(Anchors, EachCombinationOfSidesOnAResize) {
    TApplication app;
    TForm form(nullptr);
    form.SetBorderStyle(TFormBorderStyle::bsSizeable);
    form.SetBounds(40, 40, 400, 300);
    form.SetClientSize(300, 200);
    struct Row {
        unsigned Anchors;
        RECT After;  // bounds after the client area grew by (40, 30)
    } rows[] = {
        {akLeft | akTop, {10, 20, 60, 45}},
        {akLeft | akTop | akRight, {10, 20, 100, 45}},
        {akRight | akBottom, {50, 50, 100, 75}},
        {akLeft | akTop | akRight | akBottom, {10, 20, 100, 75}},
        {akTop | akBottom, {10, 20, 60, 75}},
    };
    std::vector<TButton*> buttons;
    for (const Row& row : rows) {
        auto* b = new TButton(&form);
        b->SetParent(&form);
        b->SetBounds(10, 20, 50, 25);
        b->SetAnchors(row.Anchors);
        buttons.push_back(b);
    }
    form.ShowNoActivate();
    RECT client;
    GetClientRect(form.Handle(), &client);
    RECT window;
    GetWindowRect(form.Handle(), &window);
    SetWindowPos(form.Handle(), nullptr, 0, 0, window.right - window.left + 40, window.bottom - window.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(i);
        const RECT b = buttons[i]->BoundsRect();
        EXPECT_EQ(b.left, rows[i].After.left);
        EXPECT_EQ(b.top, rows[i].After.top);
        EXPECT_EQ(b.right, rows[i].After.right);
        EXPECT_EQ(b.bottom, rows[i].After.bottom);
    }
    // Shrinking back puts everything where it was.
    SetWindowPos(form.Handle(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (TButton* b : buttons) {
        EXPECT_EQ(b->Left(), 10);
        EXPECT_EQ(b->Width(), 50);
        EXPECT_EQ(b->Height(), 25);
    }
}

TEST(MinClientSize, TheWindowCannotBeSizedBelowIt) {
    TApplication app;
    TForm form(nullptr);
    form.SetBorderStyle(TFormBorderStyle::bsSizeable);
    form.SetBounds(40, 40, 500, 500);
    form.SetClientSize(370, 415);
    form.SetMinClientSize(370, 415);
    form.ShowNoActivate();
    MINMAXINFO info{};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT frame{0, 0, 370, 415};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE)));
    EXPECT_EQ(info.ptMinTrackSize.x, frame.right - frame.left);
    EXPECT_EQ(info.ptMinTrackSize.y, frame.bottom - frame.top);
}

}  // namespace
