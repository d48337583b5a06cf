// The skin options text ("Options.dat"): sections of KEY=value lines, in file order, and the
// readers skins are read with, among them the three that inherit through "PARENTCLASS".
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "skin/acSkinPack.h"

namespace sk {

struct TOptionsSection {
    std::wstring Name;
    std::vector<std::pair<std::wstring, std::wstring>> Keys;  // file order; the first of equal keys wins
    std::unordered_map<std::wstring, size_t> Index;
};

// Parent chains are followed at most this far; longer chains and loops end there.
constexpr int kMaxParentDepth = 32;

class TOptionsFile {
public:
    TOptionsFile() = default;
    // Bytes in the ANSI code page unless they start with a UTF-8 or UTF-16 byte-order mark.
    static TOptionsFile FromBytes(const TBytes& bytes);
    static TOptionsFile FromText(std::wstring_view text);

    const std::vector<TOptionsSection>& Sections() const { return FSections; }
    // This text with the keys of extra replacing or joining its own; sections only extra
    // has are appended.
    TOptionsFile MergedWith(const TOptionsFile& extra) const;
    const TOptionsSection* Section(std::wstring_view name) const;
    bool Empty() const { return FSections.empty(); }

    // Direct readers (no inheritance), as "[GLOBALINFO]" is read.
    std::optional<std::wstring> Value(std::wstring_view section, std::wstring_view key) const;
    std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const;
    int ReadInteger(std::wstring_view section, std::wstring_view key, int def) const;
    bool ReadBool(std::wstring_view section, std::wstring_view key, bool def) const;
    double ReadVersion(std::wstring_view section, std::wstring_view key, double def) const;  // "." decimals

    // Inheriting readers. A value found in an ancestor (not the section itself) is passed
    // through the system-colour resolution; -1 always counts as missing.
    int ReadIntInherited(std::wstring_view section, std::wstring_view key, int def, int maximum = 0x7FFFFFFF) const;
    std::wstring ReadStringInherited(std::wstring_view section, std::wstring_view key, std::wstring_view def) const;
    bool ReadBoolInherited(std::wstring_view section, std::wstring_view key, bool def) const;

private:
    std::wstring Parent(std::wstring_view section) const;  // "" when none (or itself)
    std::vector<TOptionsSection> FSections;
    std::unordered_map<std::wstring, size_t> FIndex;
};

// Text decoding used by FromBytes.
std::wstring DecodeOptionsText(const TBytes& bytes);

}  // namespace sk
