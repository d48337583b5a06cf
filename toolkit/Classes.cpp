#include "toolkit/Classes.h"

#include <algorithm>

#include "toolkit/DescriptionReader.h"

namespace tk {

namespace {
HINSTANCE resourceInstance = nullptr;
}

HINSTANCE ResourceInstance() { return resourceInstance ? resourceInstance : GetModuleHandleW(nullptr); }
void SetResourceInstance(HINSTANCE instance) { resourceInstance = instance; }

std::wstring Utf8ToWide(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string WideToUtf8(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

Exception::Exception(std::wstring message) : FMessage(std::move(message)), FNarrow(WideToUtf8(FMessage)) {}

std::wstring Format(const std::wstring& pattern, std::initializer_list<std::wstring> args) {
    std::wstring out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        wchar_t c = pattern[i];
        if (c == L'%' && i + 1 < pattern.size()) {
            wchar_t k = pattern[i + 1];
            if (k == L'%') { out += L'%'; ++i; continue; }
            if ((k == L's' || k == L'd') && next != args.end()) { out += *next++; ++i; continue; }
        }
        out += c;
    }
    return out;
}

std::wstring SysErrorMessage(DWORD code) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text = n ? std::wstring(buf, n) : L"System error " + std::to_wstring(code);
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
    if (!owner) return;
    owner->FComponents.push_back(this);
    owner->Notification(this, TOperation::opInsert);
}

TComponent::~TComponent() {
    MarkDestroying();
    NotifyFreeLinks();
    // Free owned components last-created first; each removes itself from our list.
    while (!FComponents.empty()) delete FComponents.back();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free(TComponent* c) {
    if (!c) return;
    c->MarkDestroying();
    delete c;
}

void TComponent::MarkDestroying() {
    FDestroying = true;
    for (TComponent* c : FComponents) c->MarkDestroying();
}

void TComponent::NotifyFreeLinks() {
    // A handler may unlink or free other linked components: take one link at a time.
    while (!FFreeLinks.empty()) {
        TComponent* other = FFreeLinks.back();
        FFreeLinks.pop_back();
        auto& back = other->FFreeLinks;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::opRemove);
    }
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(FFreeLinks.begin(), FFreeLinks.end(), other) != FFreeLinks.end()) return;
    FFreeLinks.push_back(other);
    other->FFreeLinks.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    FFreeLinks.erase(std::remove(FFreeLinks.begin(), FFreeLinks.end(), other), FFreeLinks.end());
    auto& back = other->FFreeLinks;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::RemoveComponent(TComponent* c) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), c), FComponents.end());
    Notification(c, TOperation::opRemove);
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
    for (TComponent* c : FComponents)
        if (_wcsicmp(c->Name().c_str(), name.c_str()) == 0) return c;
    return nullptr;
}

void TComponent::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Tag") FTag = reader.Int(v);
    else reader.UnknownProperty(name);
}

std::wstring TStrings::Text() const {
    std::wstring out;
    for (int i = 0; i < Count(); ++i) out += Get(i) + L"\r\n";
    return out;
}

void TStrings::Assign(const std::vector<std::wstring>& lines) {
    Clear();
    for (const auto& l : lines) Add(l);
}

std::wstring TStringList::Get(int index) const {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(Format(L"List index out of bounds (%d)", {std::to_wstring(index)}));
    return FItems[index];
}

int TStringList::Add(const std::wstring& s) {
    FItems.push_back(s);
    return Count() - 1;
}

int TStringList::IndexOf(const std::wstring& s) const {
    for (int i = 0; i < Count(); ++i)
        if (_wcsicmp(FItems[i].c_str(), s.c_str()) == 0) return i;
    return -1;
}

}  // namespace tk
