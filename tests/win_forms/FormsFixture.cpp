#include "tests/win_forms/FormsFixture.h"

#include "skinframework/sVclUtils.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/FrameworkFixture.h"

namespace kvforms {

namespace {

std::string Replace(std::string text, const std::string& what, const std::string& with) {
    const size_t at = text.find(what);
    if (at != std::string::npos) text.replace(at, what.size(), with);
    return text;
}

std::string Section(const char* name, rd::TColor color, rd::TColor hot, rd::TColor font, rd::TColor hotFont) {
    return std::string("[") + name + "]\nSTATES=2\nCOLOR=" + std::to_string(color) + "\nHOTCOLOR=" + std::to_string(hot) +
           "\nFONTCOLOR=" + std::to_string(font) + "\nHOTFONTCOLOR=" + std::to_string(hotFont) + "\n";
}

const wchar_t* SkinName(TFrameSkin kind) {
    switch (kind) {
        case TFrameSkin::NoTitle: return L"Frame test, no title";
        case TFrameSkin::NoButtonMasks: return L"Frame test, no buttons";
        default: return L"Frame test";
    }
}

}  // namespace

std::string FrameSkinOptions(TFrameSkin kind) {
    std::string options = kvfw::TestSkinOptions();
    std::string global = "[GLOBALINFO]\nBIRIGHT=1\n";
    if (kind != TFrameSkin::NoButtonMasks) global += "SICONCLOSE=@0000@0010@0020@0020@2@0\n";
    if (kind == TFrameSkin::Full) global += "GRIPIMAGE=@0000@0010@0012@0022@1@0\n";
    options = Replace(options, "[GLOBALINFO]\n", global);
    // The frame: the button's first two border frames (key-coloured top-left pixel), a
    // vertical gradient so that children copy their background from the form's cache.
    std::string form = Section("FORM", 4210752, 4210752, 14474978, 14474978) +
                       "GRADIENTPERCENT=100\nGRADIENTDATA=255;16711680;100;0;0\nHOTGRADIENTPERCENT=100\n"
                       "HOTGRADIENTDATA=255;16711680;100;0;0\n"
                       "BORDERSMASK=^0000^0000^0020^0010^0003^0003^0003^0003^2^0^0^0\n";
    if (kind != TFrameSkin::NoTitle)
        form += Section("FORMTITLE", kTitleColor, kTitleHotColor, kTitleFont, kTitleHotFont) + "HGSIZE=2\nHGCOL=255\n";
    return Replace(options, "[FORM]\nSTATES=1\nCOLOR=4210752\nFONTCOLOR=14474978\n", form);
}

sk::TsSkinManager& Manager() {
    static std::unique_ptr<sk::TsSkinManager> manager = [] {
        auto m = kvfw::MakeManager(nullptr, FrameSkinOptions());
        for (TFrameSkin kind : {TFrameSkin::NoTitle, TFrameSkin::NoButtonMasks})
            m->Core().InternalSkins().push_back({SkinName(kind), kvfw::TestSkinPackage(FrameSkinOptions(kind))});
        return m;
    }();
    return *manager;
}

void UseSkin(TFrameSkin kind) {
    if (kind == TFrameSkin::Full) Manager().SetSkinName(kvfw::kTestSkinName);
    else Manager().SetSkinName(SkinName(kind));
    PumpFor(50);
}

TFrameForm::TFrameForm(int tag, bool activate) : tk::TForm(nullptr) {
    Manager();
    SetTag(tag);
    SetBorderStyle(tk::TFormBorderStyle::bsDialog);
    SetCaption(L"Frame test");
    SetBounds(60, 60, 320, 240);
    SetClientSize(300, 200);
    Loaded();
    if (activate) {
        Show();
        SetForegroundWindow(Handle());
    } else {
        ShowNoActivate();
    }
    PumpFor(100);
}

sk::TsSkinProvider* ProviderOf(HWND window) {
    return reinterpret_cast<sk::TsSkinProvider*>(sk::SendSkinCmd(window, sk::SC_GETPROVIDER));
}

void PumpFor(int ms) {
    const DWORD start = GetTickCount();
    do {
        kvfw::PumpMessages();
        Sleep(5);
    } while (GetTickCount() - start < DWORD(ms));
}

void MoveTo(int x, int y) {
    synthetic::move_cursor({x, y});
    PumpFor(60);
}

void Button(bool down, bool right) {
    synthetic::mouse(right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                           : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP));
    PumpFor(80);
}

rd::TColor ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return rd::TColor(c);
}

rd::TColor CachePixel(sk::TsSkinProvider& provider, int x, int y) {
    sk::TacCacheBitmap* cache = provider.SkinData().FCacheBmp.get();
    const uint32_t p = cache->ScanLine(y)[x];
    return rd::TColor(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

}  // namespace kvforms
