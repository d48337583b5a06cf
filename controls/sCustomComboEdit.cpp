#include "controls/sCustomComboEdit.h"

#include <algorithm>

#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"

namespace sk {

namespace {

constexpr int kButtonWidth = 22;
// The default glyph strip: normal, hot and pressed images of 16 x 16 side by side.
constexpr int kDefaultGlyphSize = 16;
constexpr int kDefaultGlyphImages = 3;

int ShortcutOf(WPARAM key) {
    int value = static_cast<int>(key & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0) value |= 0x2000;
    if (GetKeyState(VK_CONTROL) < 0) value |= 0x4000;
    if (GetKeyState(VK_MENU) < 0) value |= 0x8000;
    return value;
}

}  // namespace

// ---- TsEditButton ----

TsEditButton::TsEditButton(TsCustomComboEdit* owner) : TsSpeedButton(owner), FEdit(owner) {
    SkinData().FSkinSection = L"SPEEDBUTTON_SMALL";
    SetShowCaption(false);
    SetAnimatEvents(AnimatEventSet(aeMouseEnter) | AnimatEventSet(aeMouseLeave));
    SetBounds(0, 0, kButtonWidth, 17);
}

int TsEditButton::GlyphWidth() const { return FEdit->DefBmpID() >= 0 ? kDefaultGlyphSize : 0; }
int TsEditButton::GlyphHeight() const { return FEdit->DefBmpID() >= 0 ? kDefaultGlyphSize : 0; }

void TsEditButton::SetBlend(int value) {
    if (FBlend == value) return;
    FBlend = std::clamp(value, 0, 100);
    SkinData().BGChanged = true;
}

void TsEditButton::SetGrayed(bool value) {
    if (FGrayed == value) return;
    FGrayed = value;
    SkinData().BGChanged = true;
}

bool TsEditButton::PrepareCache() {
    if (!TsSpeedButton::PrepareCache()) return false;
    if (TacCacheBitmap* cache = SkinData().FCacheBmp.get()) DrawGlyph(cache->View(), CurrentState());
    return true;
}

// The default glyph: three dots, the folder-picking sign, in the section's font colour of the
// state; grayed as a grey and blended toward the face by Blend outside the hot state.
void TsEditButton::DrawGlyph(rd::TBitmap32* cache, int state) {
    if (!cache || GlyphWidth() <= 0) return;
    const TsGenState* props = SkinData().StateProps(state);
    rd::TColor color = props ? rd::ColorToRGB(props->FontColor.Color) : rd::ColorToRGB(tk::clWindowText);
    if (FGrayed && state == 0) {
        const auto c = static_cast<uint32_t>(color);
        const uint32_t grey = (((c & 0xFF) * 30 + ((c >> 8) & 0xFF) * 59 + ((c >> 16) & 0xFF) * 11) / 100) & 0xFF;
        color = static_cast<rd::TColor>(grey | grey << 8 | grey << 16);
    }
    const int blend = state == 0 ? FBlend : 0;
    const int y = Height() / 2 + 2;
    const int x0 = (Width() - 8) / 2 + (state == 2 ? 1 : 0);
    for (int dot = 0; dot < 3; ++dot) {
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                const int px = x0 + dot * 3 + dx, py = y + dy;
                if (px < 0 || py < 0 || px >= cache->Width || py >= cache->Height) continue;
                uint32_t& pixel = cache->Row(py)[px];
                const auto c = static_cast<uint32_t>(color);
                uint32_t out = 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int d = static_cast<int>((pixel >> (16 - shift)) & 0xFF);  // pixel is 0xAARRGGBB
                    const int s = static_cast<int>((c >> shift) & 0xFF);             // colour is 0x00BBGGRR
                    const int v = s + (d - s) * blend / 100;
                    out |= static_cast<uint32_t>(v & 0xFF) << (16 - shift);
                }
                pixel = out;
            }
        }
    }
}

// ---- TsGlyphMode ----

TsEditButton* TsGlyphMode::Btn() const {
    TsEditButton* b = FOwner ? FOwner->Button() : nullptr;
    if (!b || b->Destroying()) return nullptr;
    return b;
}

int TsGlyphMode::Blend() const { return Btn() ? Btn()->Blend() : 0; }
void TsGlyphMode::SetBlend(int value) {
    if (TsEditButton* b = Btn()) b->SetBlend(value);
}
bool TsGlyphMode::Grayed() const { return Btn() ? Btn()->Grayed() : false; }
void TsGlyphMode::SetGrayed(bool value) {
    if (TsEditButton* b = Btn()) b->SetGrayed(value);
}
std::wstring TsGlyphMode::Hint() const { return Btn() ? Btn()->Hint() : std::wstring(); }
void TsGlyphMode::SetHint(const std::wstring& value) {
    if (TsEditButton* b = Btn()) b->SetHint(value);
}

void TsGlyphMode::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    if (TsEditButton* b = Btn()) b->SkinData().BGChanged = true;
}

int TsGlyphMode::ImageCount() const { return kDefaultGlyphImages; }
int TsGlyphMode::Width() const { return kDefaultGlyphSize; }
int TsGlyphMode::Height() const { return kDefaultGlyphSize; }

bool TsGlyphMode::ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name.rfind("GlyphMode.", 0) != 0) return false;
    const std::string key = name.substr(10);
    if (key == "Blend") SetBlend(reader.Int(v));
    else if (key == "Grayed") SetGrayed(reader.Bool(v));
    else if (key == "Hint") SetHint(reader.String(v));
    else if (key == "ImageIndex") FImageIndex = reader.Int(v);
    else if (key == "ImageIndexHot") FImageIndexHot = reader.Int(v);
    else if (key == "ImageIndexPressed") FImageIndexPressed = reader.Int(v);
    else reader.Skip(v);  // image lists of the program's own
    return true;
}

// ---- TsCustomComboEdit ----

TsCustomComboEdit::TsCustomComboEdit(tk::TComponent* owner, int coc) : TsMaskEdit(owner, coc) {
    SetBounds(Left(), Top(), Width(), 21);
    FButton = new TsEditButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](tk::TObject*) { DoClick(); };
}

void TsCustomComboEdit::Loaded() {
    TsMaskEdit::Loaded();
    FButton->Loaded();
    FButton->SetVisible(FShowButton);
    PlaceButton();
}

void TsCustomComboEdit::InitializeWnd() {
    TsMaskEdit::InitializeWnd();
    UpdateNativeReadOnly();
    PlaceButton();
}

void TsCustomComboEdit::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FGlyphMode.ReadProperty(reader, name, v)) return;
    if (name == "ShowButton") FShowButton = reader.Bool(v);
    else if (name == "ClickKey") FClickKey = reader.Int(v);
    else if (name == "DirectInput") FDirectInput = reader.Bool(v);
    else if (name == "OnButtonClick") OnButtonClick = reader.NotifyEvent(v);
    else if (name == "AutoSelect" || name == "HideSelection" || name == "PopupAlign" || name == "PopupWidth" ||
             name == "PopupHeight")
        reader.Skip(v);
    else TsMaskEdit::SetProperty(reader, name, v);
}

void TsCustomComboEdit::SetShowButton(bool value) {
    if (FShowButton == value) return;
    FShowButton = value;
    FButton->SetVisible(value);
    PlaceButton();
    Refresh();
}

void TsCustomComboEdit::SetDirectInput(bool value) {
    FDirectInput = value;
    UpdateNativeReadOnly();
}

void TsCustomComboEdit::SetComboReadOnly(bool value) {
    FReadOnly = value;
    UpdateNativeReadOnly();
}

void TsCustomComboEdit::UpdateNativeReadOnly() {
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETREADONLY, (FReadOnly || !FDirectInput) ? TRUE : FALSE, 0);
}

int TsCustomComboEdit::ButtonSpace() const { return FShowButton ? FButton->Width() : 0; }

void TsCustomComboEdit::PlaceButton() {
    if (!HandleAllocated()) return;
    RECT client;
    GetClientRect(Handle(), &client);
    // Right-to-left placement puts the button at the left edge.
    const int left = tk::RightToLeftPlacement(BiDiMode()) ? 0 : client.right - FButton->Width();
    FButton->SetBounds(left, 0, FButton->Width(), client.bottom);
    UpdateFormattingRect();
}

void TsCustomComboEdit::UpdateFormattingRect() {
    RECT client;
    GetClientRect(Handle(), &client);
    const LONG margin = BorderStyle() == tk::TBorderStyle::bsSingle && !Ctl3D() ? 2 : 0;
    if (tk::RightToLeftPlacement(BiDiMode()))
        SetFormattingRect(RECT{ButtonSpace(), 0, client.right - margin, client.bottom});
    else
        SetFormattingRect(RECT{margin, 0, client.right - ButtonSpace(), client.bottom});
}

void TsCustomComboEdit::DoClick() {
    if (!FReadOnly) ButtonClick();
}

void TsCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
}

void TsCustomComboEdit::SelectAll() {
    if (!GetText().empty()) SelectRange(0, -1);
}

void TsCustomComboEdit::PaintExtras(rd::TBitmap32*) {
    if (FPrintingWithoutButton || !FShowButton || !FButton->Visible() || !FButton->PrepareCache()) return;
    TacCacheBitmap* own = FSkinData.FCacheBmp.get();
    TacCacheBitmap* button = FButton->SkinData().FCacheBmp.get();
    if (!own || !button) return;
    const int b = TextMargin() > 0 ? TextMargin() - 1 : 0;
    BitBlt(own->Canvas().Handle(), b + FButton->Left(), b + FButton->Top(), FButton->Width(), FButton->Height(),
           button->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsCustomComboEdit::PaintOverNative(HDC dc) {
    if (!FShowButton || !FButton->Visible()) return;
    RECT client;
    GetClientRect(Handle(), &client);
    PaintGraphicControls(dc, client);
}

bool TsCustomComboEdit::IsClickKey(const tk::TMessage& m) const {
    return (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) && ShortcutOf(m.WParam) == FClickKey;
}

void TsCustomComboEdit::WndProc(tk::TMessage& m) {
    if (IsClickKey(m) && FButton->GlyphWidth() > 0) {
        DoClick();
        m.Result = 0;
        return;
    }
    switch (m.Msg) {
        case WM_PASTE: case WM_CUT:
            if (FReadOnly || !FDirectInput) return;
            break;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
            if (!acSkinChanging) FSkinData.BGChanged = true;
            break;
        case WM_PRINT:
            FPrintingWithoutButton = true;
            TsMaskEdit::WndProc(m);
            FPrintingWithoutButton = false;
            // The next paint builds the face with the button again.
            FSkinData.BGChanged = true;
            return;
        default: break;
    }
    TsMaskEdit::WndProc(m);
    if ((m.Msg == WM_SIZE || m.Msg == WM_WINDOWPOSCHANGED) && HandleAllocated()) PlaceButton();
}

}  // namespace sk
