#include "tests/win_framework/FrameworkFixture.h"

#include "skin/acSkinPack.h"
#include "tests/host/TestFiles.h"

namespace kvfw {

namespace {

constexpr int kMasterWidth = 32, kMasterHeight = 20;
constexpr uint32_t kMagenta = 0xFF00FF;  // 0x00RRGGBB in the bitmap file

// Frame k of a square border mask: a ring of `ring` colour around a `centre` square, its
// top-left corner pixel magenta so that the corner shows what lies behind the control.
void PaintFrame(std::vector<uint32_t>& px, int left, int top, int size, int width, uint32_t ring, uint32_t centre) {
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool inRing = x < width || y < width || x >= size - width || y >= size - width;
            px[size_t(top + y) * kMasterWidth + size_t(left + x)] = inRing ? ring : centre;
        }
    px[size_t(top) * kMasterWidth + size_t(left)] = kMagenta;
}

std::string MasterBitmap() {
    std::vector<uint32_t> px(size_t(kMasterWidth) * kMasterHeight, 0x000000);
    // BUTTON: three 10 x 10 frames at (0, 0), rings blue, green and red.
    PaintFrame(px, 0, 0, 10, 3, 0x0000C0, 0x101010);
    PaintFrame(px, 10, 0, 10, 3, 0x00C000, 0x202020);
    PaintFrame(px, 20, 0, 10, 3, 0xC00000, 0x303030);
    // EDIT: two 10 x 10 frames at (0, 10) with 2-pixel rings.
    PaintFrame(px, 0, 10, 10, 2, 0x808080, 0x181818);
    PaintFrame(px, 10, 10, 10, 2, 0xF0F0F0, 0x131313);
    return kvtest::Bmp24(kMasterWidth, kMasterHeight, px);
}

sk::TBytes Bytes(const std::string& s) { return sk::TBytes(s.begin(), s.end()); }

}  // namespace

std::string TestSkinOptions() {
    return "[GLOBALINFO]\nVERSION=7.20\nMASTERBITMAP=MASTER.BMP\nCOLOR=4210752\nFONTCOLOR=14474978\n"
           "[FORM]\nSTATES=1\nCOLOR=4210752\nFONTCOLOR=14474978\n"
           "[PANEL]\nSTATES=1\nCOLOR=3153936\n"
           "[PANEL_LOW]\nSTATES=1\nCOLOR=3153936\nGRADIENTPERCENT=100\nGRADIENTDATA=255;16711680;100;0;0\n"
           "[BUTTON]\nSTATES=3\nCOLOR=2117760\nHOTCOLOR=3187952\nFONTCOLOR=14474978\nHOTFONTCOLOR=16777215\n"
           "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n"
           "[CHECKBOX]\nSTATES=1\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\nFONTCOLOR=14474978\n"
           "[EDIT]\nSTATES=2\nCOLOR=1579032\nHOTCOLOR=1250067\nFONTCOLOR=14474460\nHOTFONTCOLOR=16777215\n"
           "BORDERSMASK=^0000^0010^0020^0020^0002^0002^0002^0002^2^0^0^0\n"
           "[SEMI]\nSTATES=1\nCOLOR=32768\nTRANSPARENCY=50\n";
}

std::vector<uint8_t> TestSkinPackage(const std::string& options) {
    return sk::PackSkin({{L"Options.dat", Bytes(options)}, {L"MASTER.BMP", Bytes(MasterBitmap())}});
}

std::unique_ptr<sk::TsSkinManager> MakeManager(tk::TComponent* owner, const std::string& options) {
    auto manager = std::make_unique<sk::TsSkinManager>(owner);
    manager->BeginLoading();
    manager->Core().InternalSkins().push_back({kTestSkinName, TestSkinPackage(options)});
    manager->Core().SetSkinName(kTestSkinName);
    manager->Loaded();
    return manager;
}

TTestForm::TTestForm(int clientWidth, int clientHeight) : tk::TForm(nullptr) {
    SetBounds(40, 40, clientWidth + 16, clientHeight + 40);
    SetClientSize(clientWidth, clientHeight);
    Loaded();
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
}

TTestForm::~TTestForm() = default;

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace kvfw
