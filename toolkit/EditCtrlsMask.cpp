#include "toolkit/EditCtrlsMask.h"

#include <algorithm>
#include <cwctype>

namespace tk {

namespace {

// The fields of a mask string, split at semicolons that no backslash escapes (escapes kept).
std::vector<std::wstring> SplitFields(const std::wstring& mask) {
    std::vector<std::wstring> fields(1);
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == L'\\' && i + 1 < mask.size()) {
            fields.back() += mask.substr(i, 2);
            ++i;
        } else if (mask[i] == L';') {
            fields.emplace_back();
        } else {
            fields.back() += mask[i];
        }
    }
    return fields;
}

bool InputFor(wchar_t c, TMaskInput& input, bool& required) {
    switch (c) {
        case L'L': input = TMaskInput::miLetter; required = true; return true;
        case L'l': input = TMaskInput::miLetter; required = false; return true;
        case L'A': input = TMaskInput::miAlphaNumeric; required = true; return true;
        case L'a': input = TMaskInput::miAlphaNumeric; required = false; return true;
        case L'C': input = TMaskInput::miAny; required = true; return true;
        case L'c': input = TMaskInput::miAny; required = false; return true;
        case L'0': input = TMaskInput::miDigit; required = true; return true;
        case L'9': input = TMaskInput::miDigit; required = false; return true;
        case L'#': input = TMaskInput::miDigitOrSign; required = false; return true;
        default: return false;
    }
}

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

bool Fits(TMaskInput input, wchar_t c) {
    const bool digit = c >= L'0' && c <= L'9';
    switch (input) {
        case TMaskInput::miLetter: return std::iswalpha(c) != 0;
        case TMaskInput::miAlphaNumeric: return digit || std::iswalpha(c) != 0;
        case TMaskInput::miAny: return c >= L' ';
        case TMaskInput::miDigit: return digit;
        case TMaskInput::miDigitOrSign: return digit || c == L'+' || c == L'-';
        default: return false;
    }
}

}  // namespace

TEditMask::TEditMask(const std::wstring& mask) {
    const std::vector<std::wstring> fields = SplitFields(mask);
    if (fields.size() > 1) FSaveLiterals = fields[1] != L"0";
    if (fields.size() > 2 && !fields[2].empty()) FBlank = fields[2][0];
    const std::wstring& pattern = fields[0];
    TMaskCase currentCase = TMaskCase::mcAsTyped;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        TMaskPosition p;
        p.Case = currentCase;
        if (c == L'\\') {
            if (i + 1 >= pattern.size()) break;  // a trailing backslash escapes nothing
            p.Literal = pattern[++i];
        } else if (c == L'<' && i + 1 < pattern.size() && pattern[i + 1] == L'>') {
            currentCase = TMaskCase::mcAsTyped;
            ++i;
            continue;
        } else if (c == L'<' || c == L'>') {
            currentCase = c == L'<' ? TMaskCase::mcLower : TMaskCase::mcUpper;
            continue;
        } else if (c == L'!') {
            continue;
        } else if (!InputFor(c, p.Input, p.Required)) {
            p.Literal = c;
        }
        FPositions.push_back(p);
    }
}

std::wstring TEditMask::BlankText() const {
    std::wstring text;
    text.reserve(FPositions.size());
    for (const TMaskPosition& p : FPositions) text += p.Input == TMaskInput::miLiteral ? p.Literal : FBlank;
    return text;
}

wchar_t TEditMask::Accept(size_t pos, wchar_t c) const {
    if (!IsInput(pos) || IsSurrogate(c) || !Fits(FPositions[pos].Input, c)) return 0;
    switch (FPositions[pos].Case) {
        case TMaskCase::mcUpper: return static_cast<wchar_t>(std::towupper(c));
        case TMaskCase::mcLower: return static_cast<wchar_t>(std::towlower(c));
        default: return c;
    }
}

size_t TEditMask::NextInput(size_t pos) const {
    for (; pos < FPositions.size(); ++pos)
        if (IsInput(pos)) return pos;
    return npos;
}

size_t TEditMask::PrevInput(size_t pos) const {
    for (size_t i = std::min(pos, FPositions.size()); i > 0; --i)
        if (IsInput(i - 1)) return i - 1;
    return npos;
}

std::wstring TEditMask::Conform(const std::wstring& text) const {
    std::wstring result = BlankText();
    size_t from = 0;
    for (size_t pos = 0; pos < FPositions.size() && from < text.size(); ++pos) {
        if (!IsInput(pos)) {
            if (text[from] == FPositions[pos].Literal) ++from;
            continue;
        }
        const wchar_t c = text[from++];
        if (const wchar_t taken = Accept(pos, c)) result[pos] = taken;
    }
    return result;
}

size_t TEditMask::MissingRequired(const std::wstring& text) const {
    for (size_t pos = 0; pos < FPositions.size(); ++pos) {
        if (!IsInput(pos) || !FPositions[pos].Required) continue;
        if (pos >= text.size() || text[pos] == FBlank || !Accept(pos, text[pos])) return pos;
    }
    return npos;
}

std::wstring TEditMask::Unmasked(const std::wstring& text) const {
    std::wstring result;
    for (size_t pos = 0; pos < text.size() && pos < FPositions.size(); ++pos) {
        if (IsInput(pos) ? text[pos] != FBlank : FSaveLiterals) result += text[pos];
    }
    return result;
}

std::wstring TEditMask::Typed(const std::wstring& text) const {
    std::wstring result;
    for (size_t pos = 0; pos < text.size() && pos < FPositions.size(); ++pos)
        if (IsInput(pos) && text[pos] != FBlank) result += text[pos];
    return result;
}

}  // namespace tk
