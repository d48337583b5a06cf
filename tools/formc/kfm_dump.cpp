// Tree -> readable text in the source syntax.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "kfm.h"

namespace kfm {

std::string formatDouble(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back exactly
  std::string text(buf, ec == std::errc() ? end : buf);
  if (text.find('.') == std::string::npos) {
    const std::size_t e = text.find('e');
    text.insert(e == std::string::npos ? text.size() : e, ".0");
  }
  return text;
}

namespace {

void indent(std::ostringstream& o, int level) {
  for (int i = 0; i < level; ++i) o << "  ";
}

// Printable code units go between quotes (as UTF-8); control characters and unpaired
// surrogates are written as #NNN next to the quoted parts.
std::string quote(const std::u16string& s) {
  if (s.empty()) return "''";
  std::string out;
  bool inQuote = false;
  auto open = [&] { if (!inQuote) { out += '\''; inQuote = true; } };
  auto close = [&] { if (inQuote) { out += '\''; inQuote = false; } };
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
    if (pair) {
      open();
      out += utf16ToUtf8(s.substr(i, 2));
      ++i;
    } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) {
      close();
      out += '#' + std::to_string(static_cast<unsigned>(c));
    } else if (c == u'\'') {
      open();
      out += "''";
    } else {
      open();
      out += utf16ToUtf8(std::u16string_view(&s[i], 1));
    }
  }
  close();
  return out;
}

// A binary value laid out as a picture: class name (1-byte length + ASCII), u32 length, bytes.
bool looksLikePicture(const std::vector<std::uint8_t>& b, std::string& cls, std::size_t& len) {
  if (b.empty() || b[0] == 0 || b.size() < 1u + b[0] + 4u) return false;
  std::size_t n = b[0];
  for (std::size_t i = 1; i <= n; ++i) {
    char c = static_cast<char>(b[i]);
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  }
  std::uint32_t l = 0;
  for (int k = 0; k < 4; ++k) l |= static_cast<std::uint32_t>(b[1 + n + k]) << (8 * k);
  if (l != b.size() - 1 - n - 4) return false;
  cls.assign(reinterpret_cast<const char*>(&b[1]), n);
  len = l;
  return true;
}

void writeValue(std::ostringstream& o, const Value& v, int level, std::size_t maxBin);

void writeProperties(std::ostringstream& o, const std::vector<Property>& props, int level, std::size_t maxBin) {
  for (const auto& p : props) {
    indent(o, level);
    o << p.name << " = ";
    writeValue(o, p.value, level, maxBin);
    o << '\n';
  }
}

void writeValue(std::ostringstream& o, const Value& v, int level, std::size_t maxBin) {
  switch (v.kind) {
    case Kind::Integer: o << v.integer; break;
    case Kind::Double: o << formatDouble(v.real); break;
    case Kind::String: o << quote(v.string); break;
    case Kind::Ident: o << v.ident; break;
    case Kind::True: o << "True"; break;
    case Kind::False: o << "False"; break;
    case Kind::Binary: {
      if (v.bytes.empty()) {
        o << "{}";
        break;
      }
      std::string cls;
      std::size_t len = 0;
      if (looksLikePicture(v.bytes, cls, len))
        o << "{  // picture " << cls << ", " << len << " bytes of image data";
      else
        o << "{  // " << v.bytes.size() << " bytes";
      static const char* hex = "0123456789ABCDEF";
      std::size_t shown = std::min(v.bytes.size(), maxBin);
      for (std::size_t i = 0; i < shown; ++i) {
        if (i % 32 == 0) { o << '\n'; indent(o, level + 1); }
        o << hex[v.bytes[i] >> 4] << hex[v.bytes[i] & 15];
      }
      if (shown < v.bytes.size()) {
        o << "  // ... " << (v.bytes.size() - shown) << " more bytes not shown\n";
        indent(o, level + 1);
      }
      o << '}';
      break;
    }
    case Kind::Set: {
      o << '[';
      for (std::size_t i = 0; i < v.set.size(); ++i) o << (i ? ", " : "") << v.set[i];
      o << ']';
      break;
    }
    case Kind::StringList: {
      o << '(';
      for (const auto& s : v.strings) {
        o << '\n';
        indent(o, level + 1);
        o << quote(s);
      }
      o << ')';
      break;
    }
    case Kind::Collection: {
      o << '<';
      for (const auto& item : v.items) {
        o << '\n';
        indent(o, level + 1);
        o << "item\n";
        writeProperties(o, item.properties, level + 2, maxBin);
        indent(o, level + 1);
        o << "end";
      }
      o << '>';
      break;
    }
  }
}

void writeObject(std::ostringstream& o, const Object& obj, int level, std::size_t maxBin) {
  indent(o, level);
  o << "object ";
  if (!obj.name.empty()) o << obj.name << ": ";
  o << obj.cls << '\n';
  writeProperties(o, obj.properties, level + 1, maxBin);
  for (const auto& c : obj.children) writeObject(o, c, level + 1, maxBin);
  indent(o, level);
  o << "end\n";
}

}  // namespace

std::string dump(const Object& root, std::size_t maxBinaryBytes) {
  std::ostringstream o;
  writeObject(o, root, 0, maxBinaryBytes);
  return o.str();
}

}  // namespace kfm
