#include "skin/OptionsFile.h"

#include <algorithm>
#include <charconv>

#include "render/sSysColors.h"
#include "skin/acCodePage.h"
#include "skin/acntUtils.h"

namespace sk {

namespace {

const std::wstring kMissing = L"?";

void AppendCodePoint(std::wstring& out, uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

std::wstring DecodeUtf8(const uint8_t* p, size_t n) {
    std::wstring out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        const uint8_t b = p[i];
        const int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > n) {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        uint32_t cp = len == 1 ? b : b & (0x7F >> len);
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            ok = ok && (p[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        AppendCodePoint(out, ok ? cp : 0xFFFD);
        i += ok ? len : 1;
    }
    return out;
}

std::wstring DecodeUtf16(const uint8_t* p, size_t n, bool bigEndian) {
    std::wstring out;
    out.reserve(n / 2);
    auto unit = [&](size_t i) -> uint32_t {
        return bigEndian ? (uint32_t(p[i]) << 8 | p[i + 1]) : (uint32_t(p[i + 1]) << 8 | p[i]);
    };
    for (size_t i = 0; i + 1 < n; i += 2) {
        uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < n) {
            const uint32_t lo = unit(i + 2);
            if (lo >= 0xDC00 && lo < 0xE000) {
                AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendCodePoint(out, u);
    }
    return out;
}

}  // namespace

std::wstring DecodeOptionsText(const TBytes& bytes) {
    const uint8_t* p = bytes.data();
    const size_t n = bytes.size();
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return DecodeUtf8(p + 3, n - 3);
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) return DecodeUtf16(p + 2, n - 2, false);
    if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) return DecodeUtf16(p + 2, n - 2, true);
    return AnsiToWide(std::string_view(reinterpret_cast<const char*>(p), n));
}

TOptionsFile TOptionsFile::FromBytes(const TBytes& bytes) { return FromText(DecodeOptionsText(bytes)); }

TOptionsFile TOptionsFile::FromText(std::wstring_view text) {
    TOptionsFile file;
    TOptionsSection* current = nullptr;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (end < text.size() && text[end] == L'\r' && pos < text.size() && text[pos] == L'\n') ++pos;
        if (line.empty() || line[0] == L';') continue;
        if (line.front() == L'[' && line.back() == L']' && line.size() >= 2) {
            const std::wstring name = TrimBlanks(std::wstring_view(line).substr(1, line.size() - 2));
            auto [it, added] = file.FIndex.try_emplace(name, file.FSections.size());
            if (added) file.FSections.push_back({name, {}, {}});
            current = &file.FSections[it->second];  // a repeated header continues its section
            continue;
        }
        const size_t eq = line.find(L'=');
        if (!current || eq == std::wstring::npos) continue;
        std::wstring key = TrimBlanks(std::wstring_view(line).substr(0, eq));
        std::wstring value = TrimBlanks(std::wstring_view(line).substr(eq + 1));
        if (current->Index.try_emplace(key, current->Keys.size()).second)
            current->Keys.emplace_back(std::move(key), std::move(value));
    }
    return file;
}

TOptionsFile TOptionsFile::MergedWith(const TOptionsFile& extra) const {
    TOptionsFile merged = *this;
    for (const auto& section : extra.FSections) {
        auto [it, added] = merged.FIndex.try_emplace(section.Name, merged.FSections.size());
        if (added) merged.FSections.push_back({section.Name, {}, {}});
        TOptionsSection& target = merged.FSections[it->second];
        for (const auto& [key, value] : section.Keys) {
            auto [k, newKey] = target.Index.try_emplace(key, target.Keys.size());
            if (newKey) target.Keys.emplace_back(key, value);
            else target.Keys[k->second].second = value;
        }
    }
    return merged;
}

const TOptionsSection* TOptionsFile::Section(std::wstring_view name) const {
    auto it = FIndex.find(std::wstring(name));
    return it == FIndex.end() ? nullptr : &FSections[it->second];
}

std::optional<std::wstring> TOptionsFile::Value(std::wstring_view section, std::wstring_view key) const {
    const TOptionsSection* s = Section(section);
    if (!s) return std::nullopt;
    auto it = s->Index.find(std::wstring(key));
    if (it == s->Index.end()) return std::nullopt;
    return s->Keys[it->second].second;
}

std::wstring TOptionsFile::ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const {
    auto v = Value(section, key);
    return v ? *v : std::wstring(def);
}

int TOptionsFile::ReadInteger(std::wstring_view section, std::wstring_view key, int def) const {
    auto v = Value(section, key);
    if (!v) return def;
    return ParseSkinInt(*v).value_or(def);
}

bool TOptionsFile::ReadBool(std::wstring_view section, std::wstring_view key, bool def) const {
    auto v = Value(section, key);
    if (!v) return def;
    return *v == L"TRUE" || *v == L"1";
}

double TOptionsFile::ReadVersion(std::wstring_view section, std::wstring_view key, double def) const {
    auto v = Value(section, key);
    if (!v) return def;
    const std::string narrow = NarrowForMessage(*v);
    double result = def;
    auto [ptr, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), result);
    return ec == std::errc() && ptr == narrow.data() + narrow.size() ? result : def;
}

std::wstring TOptionsFile::Parent(std::wstring_view section) const {
    std::wstring parent = ReadString(section, L"PARENTCLASS", kMissing);
    return parent == kMissing || parent == section ? std::wstring() : parent;
}

int TOptionsFile::ReadIntInherited(std::wstring_view section, std::wstring_view key, int def, int maximum) const {
    int value = ReadInteger(section, key, -1);
    if (value == -1) {
        std::wstring s(section);
        for (int depth = 0; value == -1 && depth < kMaxParentDepth; ++depth) {
            s = Parent(s);
            if (s.empty()) break;
            value = ReadInteger(s, key, -1);
        }
        if (value != -1) value = rd::ColorToRGB(value);
    }
    if (value == -1) value = def;
    return std::min(value, maximum);
}

std::wstring TOptionsFile::ReadStringInherited(std::wstring_view section, std::wstring_view key,
                                               std::wstring_view def) const {
    std::wstring value = ReadString(section, key, kMissing);
    std::wstring s(section);
    for (int depth = 0; value == kMissing && depth < kMaxParentDepth; ++depth) {
        s = Parent(s);
        if (s.empty()) break;
        value = ReadString(s, key, kMissing);
    }
    return value == kMissing ? std::wstring(def) : value;
}

bool TOptionsFile::ReadBoolInherited(std::wstring_view section, std::wstring_view key, bool def) const {
    const std::wstring value = ReadStringInherited(section, key, kMissing);
    if (value == kMissing) return def;
    return value == L"TRUE" || value == L"1";
}

}  // namespace sk
