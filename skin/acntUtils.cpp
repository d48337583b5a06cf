#include "skin/acntUtils.h"

#include <algorithm>

#include <cstdint>
#include <stdexcept>

namespace sk {

namespace {

bool IsDelimiter(wchar_t c, std::wstring_view delimiters) { return delimiters.find(c) != std::wstring_view::npos; }

// Calls fn(field) for each field until it returns false.
template <typename Fn>
void ForEachField(std::wstring_view text, std::wstring_view delimiters, Fn fn) {
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsDelimiter(text[i], delimiters)) ++i;
        if (i == text.size()) return;
        size_t start = i;
        while (i < text.size() && !IsDelimiter(text[i], delimiters)) ++i;
        if (!fn(text.substr(start, i - start))) return;
    }
}

std::optional<int> ParseHex(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (wchar_t c : digits) {
        int d;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return std::nullopt;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return static_cast<int>(v);
}

}  // namespace

int CountFields(std::wstring_view text, std::wstring_view delimiters) {
    int n = 0;
    ForEachField(text, delimiters, [&](std::wstring_view) { ++n; return true; });
    return n;
}

std::wstring FieldAt(int index, std::wstring_view text, std::wstring_view delimiters) {
    std::wstring result;
    int n = 0;
    ForEachField(text, delimiters, [&](std::wstring_view f) {
        if (++n < index) return true;
        if (n == index) result.assign(f);
        return false;
    });
    return result;
}

int IntFieldAt(int index, std::wstring_view text, std::wstring_view delimiters) {
    return ParseDecimal(FieldAt(index, text, delimiters)).value_or(0);
}

std::wstring DeleteAllChars(std::wstring_view text, wchar_t c) {
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t ch : text)
        if (ch != c) result += ch;
    return result;
}

std::optional<int> ParseDecimal(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        v = v * 10 + (text[i] - L'0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int>(v);
}

std::optional<int> ParseSkinInt(std::wstring_view text) {
    if (!text.empty() && text[0] == L'$') return ParseHex(text.substr(1));
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) return ParseHex(text.substr(2));
    return ParseDecimal(text);
}

int DecimalOrThrow(std::wstring_view text) {
    if (auto v = ParseDecimal(text)) return *v;
    throw std::invalid_argument("'" + NarrowForMessage(text) + "' is not a valid integer value");
}

std::wstring UpperAscii(std::wstring_view text) {
    std::wstring s(text);
    for (wchar_t& c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    return s;
}

std::wstring TrimBlanks(std::wstring_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] <= L' ') ++b;
    while (e > b && text[e - 1] <= L' ') --e;
    return std::wstring(text.substr(b, e - b));
}

std::string NarrowForMessage(std::wstring_view text) {
    std::string out;
    for (wchar_t wc : text) {
        uint32_t c = static_cast<uint32_t>(wc);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::filesystem::path NativeSkinPath(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    std::wstring p = path;
    std::replace(p.begin(), p.end(), L'\\', L'/');
    const std::string utf8 = NarrowForMessage(p);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

std::wstring PathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.wstring();
#else
    const std::u8string utf8 = path.u8string();
    return MessageText(std::string(utf8.begin(), utf8.end()).c_str());
#endif
}

std::wstring MessageText(const char* utf8) {
    std::wstring out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p;) {
        const int extra = *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : 0;
        uint32_t c = extra ? (*p & (0x3F >> extra)) : *p;
        ++p;
        for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p) c = (c << 6) | (*p & 0x3F);
        if (c >= 0x10000 && sizeof(wchar_t) == 2) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

}  // namespace sk
