// Edit masks: a pattern of literal characters and input positions that a masked edit's text
// follows, one text character per position.
//   Mask string: "pattern[;saveLiterals[;blank]]" (saveLiterals 0 or 1, default 1; blank '_').
//   Input positions: L letter, A letter or digit, C any character, 0 digit (all required);
//   l, a, c, 9 the same optional; # digit or sign, optional.
//   Directives (no position): > upper case follows, < lower case follows, <> no conversion,
//   ! kept for compatibility (no effect), \ makes the next character a literal.
//   Every other character is a literal the text shows as it stands.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace tk {

enum class TMaskInput { miLiteral, miLetter, miAlphaNumeric, miAny, miDigit, miDigitOrSign };
enum class TMaskCase { mcAsTyped, mcUpper, mcLower };

struct TMaskPosition {
    TMaskInput Input = TMaskInput::miLiteral;
    bool Required = false;
    TMaskCase Case = TMaskCase::mcAsTyped;
    wchar_t Literal = 0;  // the character of a literal position
};

class TEditMask {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    TEditMask() = default;
    explicit TEditMask(const std::wstring& mask);

    bool Empty() const { return FPositions.empty(); }
    size_t Length() const { return FPositions.size(); }
    const TMaskPosition& Position(size_t pos) const { return FPositions[pos]; }
    bool IsInput(size_t pos) const { return pos < FPositions.size() && FPositions[pos].Input != TMaskInput::miLiteral; }
    bool SaveLiterals() const { return FSaveLiterals; }
    wchar_t Blank() const { return FBlank; }

    // The text of an empty edit: literals in place, the blank character elsewhere.
    std::wstring BlankText() const;
    // c as input position pos takes it (case converted); 0 when the position refuses it or is a
    // literal. A surrogate never fits one position.
    wchar_t Accept(size_t pos, wchar_t c) const;
    // The first input position at or after pos; npos when there is none.
    size_t NextInput(size_t pos) const;
    // The last input position before pos; npos when there is none.
    size_t PrevInput(size_t pos) const;
    // Any text laid onto the mask: literals in place, the text's characters taken in order into
    // the input positions (a character equal to the literal at its place is passed over), what
    // a position refuses left blank. Always Length() characters long.
    std::wstring Conform(const std::wstring& text) const;
    // The first required position that is blank (or refuses its character) in a conformed
    // text; npos when every required position is filled.
    size_t MissingRequired(const std::wstring& text) const;
    // The text without blanks, and without literals unless they are saved.
    std::wstring Unmasked(const std::wstring& text) const;
    // Only what was typed: the characters of input positions that are not blank.
    std::wstring Typed(const std::wstring& text) const;

private:
    std::vector<TMaskPosition> FPositions;
    bool FSaveLiterals = true;
    wchar_t FBlank = L'_';
};

}  // namespace tk
