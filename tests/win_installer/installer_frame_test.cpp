// The installer's real window with the provider the manager's hook gives it on activation:
// the frame's geometry and caption button as the installer shows them, and the hit-test
// answer of every part of its frame.
#include <gtest/gtest.h>

#include <windows.h>

#include "forms/acDials.h"
#include "forms/sSkinProvider.h"
#include "installer/Unit1.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"

namespace {

class InstallerFrame : public testing::Test {
protected:
    static void SetUpTestSuite() {
        sk::RegisterFormSkinning();
        form = new kv::TForm1(nullptr);
        form->Show();
        SetForegroundWindow(form->Handle());
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(10);
        }
    }
    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
        sk::TsSkinManager::SetProviderFactory(nullptr);
    }
    void SetUp() override {
        provider = reinterpret_cast<sk::TsSkinProvider*>(sk::SendSkinCmd(form->Handle(), sk::SC_GETPROVIDER));
        ASSERT_NE(provider, nullptr);
        GetWindowRect(form->Handle(), &window);
    }
    LRESULT HitAt(int x, int y) const {
        return SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    }
    static kv::TForm1* form;
    sk::TsSkinProvider* provider = nullptr;
    RECT window{};
};

kv::TForm1* InstallerFrame::form = nullptr;

TEST_F(InstallerFrame, OneSmallCloseButtonRightAlignedOnTheCaptionCentre) {
    ASSERT_TRUE(provider->FrameSkinned());
    const sk::TFrameGeometry g = provider->Geometry();
    EXPECT_EQ(g.FrameWidth, GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(g.CaptionHeight, GetSystemMetrics(SM_CYCAPTION));
    sk::TCaptionButtons& b = provider->Buttons();
    ASSERT_TRUE(b.Close.Visible());
    EXPECT_FALSE(b.Max.Visible());
    EXPECT_FALSE(b.Min.Visible());
    EXPECT_FALSE(b.Help.Visible());
    const sk::TSkinModel& model = form->sSkinManager1->Model();
    EXPECT_EQ(b.Close.ImageIndex, model.GetMaskIndex(L"GLOBALINFO", L"SICONCLOSE"));
    const int width = window.right - window.left;
    EXPECT_EQ(b.Close.Rect.Right, width - 1 - g.FrameWidth);
    EXPECT_EQ(b.Close.Rect.Width(), 16);  // "SICONCLOSE": 48 pixels, three pictures
    EXPECT_EQ(b.Close.Rect.Top, g.VCenter - 14 / 2);
    EXPECT_EQ(b.Close.Rect.Height(), 14);
}

TEST_F(InstallerFrame, HitTestOfEveryPartOfTheFrame) {
    const sk::TFrameGeometry g = provider->Geometry();
    const rd::TRect close = provider->Buttons().Close.Rect;
    const int width = window.right - window.left, height = window.bottom - window.top;
    struct Row {
        const char* Part;
        int X, Y;
        LRESULT Expected;
    } rows[] = {
        {"close button", (close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2, HTCLOSE},
        {"close button's top-left pixel", close.Left, close.Top, HTCLOSE},
        {"below the close button, where the platform's own button lies", close.Left + 4, close.Bottom + 1, HTCAPTION},
        {"left of the close button", close.Left - 2, g.VCenter, HTCAPTION},
        {"caption middle", width / 2, g.VCenter, HTCAPTION},
        {"title icon", g.IconRect.Left + 8, g.VCenter, HTSYSMENU},
        {"client top-left", g.OffsetX, g.OffsetY, HTCLIENT},
        {"client middle", width / 2, height / 2, HTCLIENT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Part);
        EXPECT_EQ(HitAt(row.X, row.Y), row.Expected);
    }
    // The borders keep the platform's answers, never a button's or the client's.
    for (POINT p : {POINT{1, height / 2}, POINT{width - 2, height / 2}, POINT{width / 2, height - 2}}) {
        const LRESULT code = HitAt(p.x, p.y);
        EXPECT_NE(code, HTCLIENT) << p.x << "," << p.y;
        EXPECT_FALSE(sk::IsButtonHitCode(int(code))) << p.x << "," << p.y;
    }
}

TEST_F(InstallerFrame, SameClientAreaAsWithoutTheSkin) {
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, form->ClientWidth());
    EXPECT_EQ(client.bottom, form->ClientHeight());
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 240);
}

}  // namespace
