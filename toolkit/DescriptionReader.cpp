#include "toolkit/DescriptionReader.h"

#include <cmath>
#include <cstring>

#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

namespace tk {

namespace {
std::map<std::string, TComponentFactory>& Classes() {
    static std::map<std::string, TComponentFactory> classes;
    return classes;
}
constexpr size_t kMaxDepth = 64;
}  // namespace

void TClassRegistry::Register(const std::string& className, TComponentFactory factory) {
    Classes()[className] = std::move(factory);
}

bool TClassRegistry::Has(const std::string& className) { return Classes().count(className) != 0; }

TComponent* TClassRegistry::Create(const std::string& className, TComponent* owner) {
    auto it = Classes().find(className);
    return it == Classes().end() ? nullptr : it->second(owner);
}

TReader::TReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

void TReader::Error(const std::wstring& what) {
    std::wstring where = FContext.empty() ? L"" : L" (" + Utf8ToWide(FContext) + L")";
    throw EReadError(what + where);
}

void TReader::UnknownProperty(const std::string& name) {
    Error(L"Property " + Utf8ToWide(name) + L" does not exist");
}

uint8_t TReader::U8() {
    if (FPos >= FSize) Error(L"Unexpected end of window description");
    return FData[FPos++];
}

int32_t TReader::I32() {
    if (FSize - FPos < 4 || FPos > FSize) Error(L"Unexpected end of window description");
    int32_t v;
    std::memcpy(&v, FData + FPos, 4);
    FPos += 4;
    return v;
}

double TReader::F64() {
    if (FSize - FPos < 8 || FPos > FSize) Error(L"Unexpected end of window description");
    uint64_t bits = 0;
    for (int k = 0; k < 8; ++k) bits |= uint64_t(FData[FPos + k]) << (8 * k);
    FPos += 8;
    double v;
    std::memcpy(&v, &bits, 8);
    if (!std::isfinite(v)) Error(L"Invalid floating-point value in window description");
    return v;
}

int32_t TReader::Count() {
    int32_t n = I32();
    if (n < 0 || static_cast<size_t>(n) > FSize - FPos) Error(L"Invalid count in window description");
    return n;
}

std::string TReader::ShortString() {
    size_t n = U8();
    if (n > FSize - FPos) Error(L"Unexpected end of window description");
    std::string s(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += n;
    return s;
}

std::wstring TReader::WideString() {
    int32_t n = Count();
    if (static_cast<size_t>(n) * 2 > FSize - FPos) Error(L"Unexpected end of window description");
    std::wstring s(static_cast<size_t>(n), L'\0');
    std::memcpy(s.data(), FData + FPos, static_cast<size_t>(n) * 2);
    FPos += static_cast<size_t>(n) * 2;
    return s;
}

TValue TReader::ReadValue() {
    TValue v;
    uint8_t tag = U8();
    v.Kind = static_cast<TValueKind>(tag);
    switch (v.Kind) {
        case TValueKind::Integer: v.Int = I32(); break;
        case TValueKind::Double: v.Real = F64(); break;
        case TValueKind::String: v.Str = WideString(); break;
        case TValueKind::Ident: v.Ident = ShortString(); break;
        case TValueKind::True: case TValueKind::False: break;
        case TValueKind::Binary: {
            int32_t n = Count();
            v.Bytes.assign(FData + FPos, FData + FPos + n);
            FPos += static_cast<size_t>(n);
            break;
        }
        case TValueKind::Set:
            for (int32_t i = 0, n = Count(); i < n; ++i) v.Idents.push_back(ShortString());
            break;
        case TValueKind::List:
            for (int32_t i = 0, n = Count(); i < n; ++i) v.Strings.push_back(WideString());
            break;
        case TValueKind::Collection:
            for (int32_t i = 0, n = Count(); i < n; ++i) v.Items.push_back(ReadProperties());
            break;
        default:
            Error(L"Unknown value type " + std::to_wstring(tag) + L" in window description");
    }
    return v;
}

TPropertyList TReader::ReadProperties() {
    TPropertyList props;
    for (;;) {
        std::string name = ShortString();
        if (name.empty()) break;
        props.emplace_back(name, ReadValue());
    }
    return props;
}

void TReader::ReadRoot(TComponent& root) {
    FRoot = &root;
    FPos = 0;
    if (FSize < 4 || std::memcmp(FData, "KFM1", 4) != 0) Error(L"Invalid window description signature");
    FPos = 4;
    ShortString();  // class name of the root: the caller created it
    root.SetName(Utf8ToWide(ShortString()));
    root.BeginLoading();
    FLoaded.push_back(&root);
    ReadObjectBody(root, dynamic_cast<TWinControl*>(&root));
    for (TComponent* c : FLoaded) c->Loaded();
    FLoaded.clear();
}

void TReader::ReadObjectBody(TComponent& component, TWinControl* parent) {
    if (FLoaded.size() > 4096) Error(L"Too many components in window description");
    std::string owner = WideToUtf8(component.Name());
    for (auto& [name, value] : ReadProperties()) {
        FContext = owner + "." + name;
        component.SetProperty(*this, name, value);
    }
    FContext.clear();
    static thread_local size_t depth = 0;
    if (++depth > kMaxDepth) { depth = 0; Error(L"Window description nested too deeply"); }
    while (U8() == 1) ReadChild(parent);
    --depth;
}

TComponent* TReader::ReadChild(TWinControl* parent) {
    std::string cls = ShortString();
    std::string name = ShortString();
    FContext = name;
    TComponent* c = TClassRegistry::Create(cls, FRoot);
    if (!c) Error(L"Class " + Utf8ToWide(cls) + L" not found");
    c->SetName(Utf8ToWide(name));
    c->BeginLoading();
    FLoaded.push_back(c);
    if (auto* control = dynamic_cast<TControl*>(c); control && parent) control->SetParent(parent);
    auto* win = dynamic_cast<TWinControl*>(c);
    ReadObjectBody(*c, win ? win : parent);
    return c;
}

int32_t TReader::Int(const TValue& v) {
    if (v.Kind != TValueKind::Integer) Error(L"Invalid property value: integer expected");
    return v.Int;
}

double TReader::Double(const TValue& v) {
    if (v.Kind == TValueKind::Double) return v.Real;
    if (v.Kind == TValueKind::Integer) return v.Int;
    Error(L"Invalid property value: number expected");
}

std::wstring TReader::String(const TValue& v) {
    if (v.Kind != TValueKind::String) Error(L"Invalid property value: string expected");
    return v.Str;
}

bool TReader::Bool(const TValue& v) {
    if (v.Kind != TValueKind::True && v.Kind != TValueKind::False) Error(L"Invalid property value: boolean expected");
    return v.Kind == TValueKind::True;
}

std::string TReader::Ident(const TValue& v) {
    if (v.Kind != TValueKind::Ident) Error(L"Invalid property value: identifier expected");
    return v.Ident;
}

int32_t TReader::Color(const TValue& v) {
    if (v.Kind == TValueKind::Integer) return v.Int;
    TColor c;
    if (!IdentToColor(Ident(v), c)) Error(L"Invalid colour " + Utf8ToWide(v.Ident));
    return c;
}

unsigned TReader::FontStyle(const TValue& v) {
    unsigned style = 0;
    for (const auto& s : Set(v)) {
        if (s == "fsBold") style |= fsBold;
        else if (s == "fsItalic") style |= fsItalic;
        else if (s == "fsUnderline") style |= fsUnderline;
        else if (s == "fsStrikeOut") style |= fsStrikeOut;
        else Error(L"Invalid font style " + Utf8ToWide(s));
    }
    return style;
}

int TReader::Charset(const TValue& v) {
    if (v.Kind == TValueKind::Integer) return v.Int;
    std::string s = Ident(v);
    if (s == "DEFAULT_CHARSET") return DEFAULT_CHARSET;
    if (s == "ANSI_CHARSET") return ANSI_CHARSET;
    if (s == "RUSSIAN_CHARSET") return RUSSIAN_CHARSET;
    Error(L"Invalid character set " + Utf8ToWide(s));
}

const std::vector<uint8_t>& TReader::Binary(const TValue& v) {
    if (v.Kind != TValueKind::Binary) Error(L"Invalid property value: binary data expected");
    return v.Bytes;
}

const std::vector<std::string>& TReader::Set(const TValue& v) {
    if (v.Kind != TValueKind::Set) Error(L"Invalid property value: set expected");
    return v.Idents;
}

const std::vector<std::wstring>& TReader::List(const TValue& v) {
    if (v.Kind != TValueKind::List) Error(L"Invalid property value: string list expected");
    return v.Strings;
}

const std::vector<TPropertyList>& TReader::Collection(const TValue& v) {
    if (v.Kind != TValueKind::Collection) Error(L"Invalid property value: collection expected");
    return v.Items;
}

int TReader::Enum(const TValue& v, const std::vector<std::string>& names) {
    std::string s = Ident(v);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == s) return static_cast<int>(i);
    Error(L"Invalid property value " + Utf8ToWide(s));
}

const TMethod& TReader::FindMethod(const TValue& v) {
    std::string name = Ident(v);
    if (FMethods) {
        auto it = FMethods->find(name);
        if (it != FMethods->end()) return it->second;
    }
    Error(L"Method " + Utf8ToWide(name) + L" not found");
}

TNotifyEvent TReader::NotifyEvent(const TValue& v) {
    const TMethod& m = FindMethod(v);
    if (!m.Notify) Error(L"Method " + Utf8ToWide(v.Ident) + L" has the wrong signature");
    return m.Notify;
}

TExecOpenDialogEvent TReader::OpenDialogEvent(const TValue& v) {
    const TMethod& m = FindMethod(v);
    if (!m.OpenDialog) Error(L"Method " + Utf8ToWide(v.Ident) + L" has the wrong signature");
    return m.OpenDialog;
}

}  // namespace tk
