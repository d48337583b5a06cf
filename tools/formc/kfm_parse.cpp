// Text source -> tree: a small hand-written lexer and a recursive-descent parser.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "kfm.h"

namespace kfm {

// ---------------------------------------------------------------------------------------
// Errors and small helpers

static std::string formatError(const std::string& file, int line, const std::string& message) {
  std::ostringstream s;
  if (!file.empty()) {
    s << file;
    if (line > 0) s << ':' << line;
    s << ": ";
  }
  s << "error: " << message;
  return s.str();
}

Error::Error(std::string file, int line, const std::string& message)
    : std::runtime_error(formatError(file, line, message)),
      file_(std::move(file)),
      line_(line),
      message_(message) {}

Error Error::atOffset(std::size_t offset, const std::string& message) {
  Error e("", 0, "at offset " + std::to_string(offset) + ": " + message);
  e.offset_ = offset;
  e.message_ = message;
  return e;
}

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Integer: return "integer";
    case Kind::String: return "string";
    case Kind::Ident: return "identifier";
    case Kind::True: return "true";
    case Kind::False: return "false";
    case Kind::Binary: return "binary";
    case Kind::Set: return "set";
    case Kind::StringList: return "string list";
    case Kind::Collection: return "collection";
    case Kind::Double: return "double";
  }
  return "?";
}

// ---------------------------------------------------------------------------------------
// Tree helpers

bool Item::operator==(const Item& o) const { return properties == o.properties; }

Value Value::makeInteger(std::int32_t v) { Value r; r.kind = Kind::Integer; r.integer = v; return r; }
Value Value::makeDouble(double v) { Value r; r.kind = Kind::Double; r.real = v; return r; }
Value Value::makeString(std::u16string s) { Value r; r.kind = Kind::String; r.string = std::move(s); return r; }
Value Value::makeIdent(std::string s) { Value r; r.kind = Kind::Ident; r.ident = std::move(s); return r; }
Value Value::makeBool(bool b) { Value r; r.kind = b ? Kind::True : Kind::False; return r; }
Value Value::makeBinary(std::vector<std::uint8_t> b) { Value r; r.kind = Kind::Binary; r.bytes = std::move(b); return r; }
Value Value::makeSet(std::vector<std::string> s) { Value r; r.kind = Kind::Set; r.set = std::move(s); return r; }
Value Value::makeStringList(std::vector<std::u16string> l) { Value r; r.kind = Kind::StringList; r.strings = std::move(l); return r; }
Value Value::makeCollection(std::vector<Item> items) { Value r; r.kind = Kind::Collection; r.items = std::move(items); return r; }

bool Value::operator==(const Value& o) const {
  if (kind != o.kind) return false;
  switch (kind) {
    case Kind::Integer: return integer == o.integer;
    case Kind::Double: return std::memcmp(&real, &o.real, sizeof real) == 0;  // bit for bit: -0.0 is kept
    case Kind::String: return string == o.string;
    case Kind::Ident: return ident == o.ident;
    case Kind::True:
    case Kind::False: return true;
    case Kind::Binary: return bytes == o.bytes;
    case Kind::Set: return set == o.set;
    case Kind::StringList: return strings == o.strings;
    case Kind::Collection: return items == o.items;
  }
  return false;
}

bool Object::operator==(const Object& o) const {
  return name == o.name && cls == o.cls && properties == o.properties && children == o.children;
}

const Property* Object::findProperty(std::string_view n) const {
  for (const auto& p : properties)
    if (p.name == n) return &p;
  return nullptr;
}

const Object* Object::findChild(std::string_view n) const {
  for (const auto& c : children)
    if (c.name == n) return &c;
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// UTF-8 / UTF-16

// Decodes one code point at s[i]; returns false on malformed input.
static bool decodeUtf8(std::string_view s, std::size_t& i, char32_t& cp) {
  auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) { cp = b0; ++i; return true; }
  int n;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) { n = 1; cp = b0 & 0x1F; min = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { n = 2; cp = b0 & 0x0F; min = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { n = 3; cp = b0 & 0x07; min = 0x10000; }
  else return false;
  if (i + static_cast<std::size_t>(n) >= s.size()) return false;
  for (int k = 1; k <= n; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  i += n + 1;
  return true;
}

static void appendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

static void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::u16string utf8ToUtf16(std::string_view s) {
  std::u16string out;
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t cp;
    if (!decodeUtf8(s, i, cp)) throw std::invalid_argument("invalid UTF-8");
    appendUtf16(out, cp);
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      throw std::invalid_argument("unpaired UTF-16 surrogate");
    }
    appendUtf8(out, c);
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// Lexer

namespace {

enum class Tok {
  End,      // end of input
  Ident,    // possibly dotted word
  Integer,
  Double,   // a decimal number with a '.'
  String,   // one part: adjacent quoted sections and #NNN
  Binary,   // { hex }
  Punct,    // one of : = [ ] ( ) < > , +
};

struct Token {
  Tok type = Tok::End;
  int line = 0;
  std::string text;          // Ident: the word; Punct: the character; String: the source text
  std::int32_t integer = 0;
  double real = 0;
  std::u16string string;
  std::vector<std::uint8_t> bytes;
};

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string quoteForMessage(std::string_view s) {
  std::string r = "'";
  for (char c : s.substr(0, 60)) r += c;
  if (s.size() > 60) r += "...";
  return r + "'";
}

class Lexer {
 public:
  Lexer(std::string_view src, const std::string& file) : src_(src), file_(file) {
    if (src_.size() >= 3 && static_cast<unsigned char>(src_[0]) == 0xEF &&
        static_cast<unsigned char>(src_[1]) == 0xBB && static_cast<unsigned char>(src_[2]) == 0xBF)
      pos_ = 3;  // UTF-8 byte-order mark
  }

  [[noreturn]] void fail(int line, const std::string& msg) const { throw Error(file_, line, msg); }

  Token next() {
    skipSpaceAndComments();
    Token t;
    t.line = line_;
    if (pos_ >= src_.size()) {
      // Report the end of input at the last line that had something on it.
      t.type = Tok::End;
      t.line = lastLine_;
      return t;
    }
    lastLine_ = line_;
    char c = src_[pos_];
    if (isIdentStart(c)) return lexIdent(t);
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' || c == '-') return lexInteger(t);
    if (c == '\'' || c == '#') return lexString(t);
    if (c == '{') return lexBinary(t);
    if (std::string_view(":=[](),<>+").find(c) != std::string_view::npos) {
      t.type = Tok::Punct;
      t.text = std::string(1, c);
      ++pos_;
      return t;
    }
    if (c == '}') fail(line_, "'}' without a matching '{'");
    auto uc = static_cast<unsigned char>(c);
    if (uc < 0x20 || uc >= 0x7F) {
      char buf[48];
      std::snprintf(buf, sizeof buf, "unexpected byte 0x%02X outside a string", uc);
      fail(line_, buf);
    }
    fail(line_, std::string("unexpected character '") + c + "'");
  }

  int line() const { return line_; }

 private:
  void skipSpaceAndComments() {
    while (pos_ < src_.size()) {
      char c = src_[pos_];
      if (c == '\n') { ++line_; ++pos_; }
      else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') ++pos_;
      else if (c == '/' && pos_ + 1 < src_.size() && src_[pos_ + 1] == '/') {
        while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
      } else break;
    }
  }

  Token& lexIdent(Token& t) {
    std::size_t start = pos_;
    for (;;) {
      while (pos_ < src_.size() && isIdentChar(src_[pos_])) ++pos_;
      if (pos_ < src_.size() && src_[pos_] == '.') {
        if (pos_ + 1 < src_.size() && isIdentStart(src_[pos_ + 1])) { ++pos_; continue; }
        fail(line_, "invalid name " + quoteForMessage(src_.substr(start, pos_ + 1 - start)) +
                        ": a '.' must be followed by a name part");
      }
      break;
    }
    t.type = Tok::Ident;
    t.text = std::string(src_.substr(start, pos_ - start));
    return t;
  }

  Token& lexInteger(Token& t) {
    std::size_t start = pos_;
    bool negative = false;
    if (src_[pos_] == '-') {
      negative = true;
      ++pos_;
      if (pos_ >= src_.size() || !(std::isdigit(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '$'))
        fail(line_, "'-' must be followed by a number");
    }
    if (isDecimalWithPoint(pos_)) return lexDouble(t, start);
    std::uint64_t magnitude = 0;
    if (src_[pos_] == '$') {
      ++pos_;
      std::size_t digits = 0;
      while (pos_ < src_.size() && hexValue(src_[pos_]) >= 0) {
        magnitude = magnitude * 16 + static_cast<unsigned>(hexValue(src_[pos_]));
        if (magnitude > 0xFFFFFFFFull) fail(line_, "hexadecimal integer does not fit in 32 bits");
        ++pos_;
        ++digits;
      }
      if (digits == 0) fail(line_, "'$' must be followed by hexadecimal digits");
      checkNumberEnd(start);
      if (negative) {
        if (magnitude > 0x80000000ull) fail(line_, "integer out of range (32-bit)");
        t.integer = static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
      } else {
        t.integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));  // bit pattern
      }
    } else {
      while (pos_ < src_.size() && std::isdigit(static_cast<unsigned char>(src_[pos_]))) {
        magnitude = magnitude * 10 + static_cast<unsigned>(src_[pos_] - '0');
        if (magnitude > 0x80000000ull) fail(line_, "integer out of range (32-bit): " + numberText(start));
        ++pos_;
      }
      checkNumberEnd(start);
      if (!negative && magnitude > 0x7FFFFFFFull)
        fail(line_, "integer out of range (32-bit): " + numberText(start));
      t.integer = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                                     : static_cast<std::int64_t>(magnitude));
    }
    t.type = Tok::Integer;
    t.text = std::string(src_.substr(start, pos_ - start));
    return t;
  }

  bool isDigitAt(std::size_t at) const { return at < src_.size() && std::isdigit(static_cast<unsigned char>(src_[at])); }
  std::size_t skipDigits(std::size_t at) const {
    while (isDigitAt(at)) ++at;
    return at;
  }

  // Decimal digits, a '.' and at least one more digit from `at` on.
  bool isDecimalWithPoint(std::size_t at) const {
    std::size_t e = skipDigits(at);
    return e > at && e < src_.size() && src_[e] == '.' && isDigitAt(e + 1);
  }

  // digits '.' digits, optionally followed by an exponent e[+|-]digits; `start` is at the sign.
  Token& lexDouble(Token& t, std::size_t start) {
    pos_ = skipDigits(skipDigits(pos_) + 1);
    if (pos_ < src_.size() && (src_[pos_] == 'e' || src_[pos_] == 'E')) {
      std::size_t e = pos_ + 1;
      if (e < src_.size() && (src_[e] == '+' || src_[e] == '-')) ++e;
      if (!isDigitAt(e)) fail(line_, "unknown value " + quoteForMessage(numberText(start)) + ": exponent without digits");
      pos_ = skipDigits(e);
    }
    checkNumberEnd(start, "number");
    const char* first = src_.data() + start;
    const char* last = src_.data() + pos_;
    double v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || !std::isfinite(v))
      fail(line_, "number out of range (double): " + std::string(first, last));
    t.type = Tok::Double;
    t.real = v;
    t.text = std::string(first, last);
    return t;
  }

  std::string numberText(std::size_t start) const {
    std::size_t e = pos_;
    while (e < src_.size() && (isIdentChar(src_[e]) || src_[e] == '.' || src_[e] == '$')) ++e;
    return std::string(src_.substr(start, e - start));
  }

  void checkNumberEnd(std::size_t start, const char* kind = "integer") {
    if (pos_ < src_.size() && (isIdentChar(src_[pos_]) || src_[pos_] == '.' || src_[pos_] == '$'))
      fail(line_, "unknown value " + quoteForMessage(numberText(start)) + ": not a valid " + kind);
  }

  Token& lexString(Token& t) {
    std::size_t start = pos_;
    while (pos_ < src_.size() && (src_[pos_] == '\'' || src_[pos_] == '#')) {
      if (src_[pos_] == '#') {
        ++pos_;
        std::size_t digits = 0;
        std::uint32_t v = 0;
        while (pos_ < src_.size() && std::isdigit(static_cast<unsigned char>(src_[pos_]))) {
          v = v * 10 + static_cast<unsigned>(src_[pos_] - '0');
          if (v > 0xFFFF) fail(line_, "character code #" + numberText(pos_ - digits) + " is larger than 65535");
          ++pos_;
          ++digits;
        }
        if (digits == 0) fail(line_, "'#' must be followed by a decimal character code");
        t.string.push_back(static_cast<char16_t>(v));
        continue;
      }
      ++pos_;  // opening quote
      for (;;) {
        if (pos_ >= src_.size() || src_[pos_] == '\n' || src_[pos_] == '\r')
          fail(line_, "unterminated string (a string must end with ' on the same line)");
        char c = src_[pos_];
        if (c == '\'') {
          if (pos_ + 1 < src_.size() && src_[pos_ + 1] == '\'') {
            t.string.push_back(u'\'');
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        char32_t cp;
        if (!decodeUtf8(src_, pos_, cp)) fail(line_, "invalid UTF-8 inside a string");
        appendUtf16(t.string, cp);
      }
    }
    if (pos_ < src_.size() && isIdentChar(src_[pos_]))
      fail(line_, "unexpected text after a string: " + quoteForMessage(numberText(pos_)));
    t.type = Tok::String;
    t.text = std::string(src_.substr(start, pos_ - start));
    return t;
  }

  Token& lexBinary(Token& t) {
    int startLine = line_;
    ++pos_;  // '{'
    int pending = -1;
    for (;;) {
      if (pos_ >= src_.size())
        fail(startLine, "unterminated binary literal: '{' without a closing '}'");
      char c = src_[pos_++];
      if (c == '}') break;
      if (c == '\n') { ++line_; continue; }
      if (c == '/' && pos_ < src_.size() && src_[pos_] == '/') {  // comment inside the literal
        while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') continue;
      int h = hexValue(c);
      if (h < 0) {
        if (c == '{') fail(line_, "'{' inside a binary literal (missing '}' before it?)");
        fail(line_, std::string("invalid character '") + c + "' in binary literal (hex digits expected)");
      }
      if (pending < 0) pending = h;
      else { t.bytes.push_back(static_cast<std::uint8_t>(pending * 16 + h)); pending = -1; }
    }
    if (pending >= 0) fail(line_, "binary literal has an odd number of hex digits");
    t.type = Tok::Binary;
    t.line = startLine;
    return t;
  }

  std::string_view src_;
  const std::string& file_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int lastLine_ = 1;
};

// ---------------------------------------------------------------------------------------
// Parser

std::string describe(const Token& t) {
  switch (t.type) {
    case Tok::End: return "end of file";
    case Tok::Ident: return "'" + t.text + "'";
    case Tok::Integer: return "integer " + t.text;
    case Tok::Double: return "number " + t.text;
    case Tok::String: return "string " + quoteForMessage(t.text);
    case Tok::Binary: return "binary literal";
    case Tok::Punct: return "'" + t.text + "'";
  }
  return "?";
}

class Parser {
 public:
  Parser(std::string_view src, const std::string& file, const ParseOptions& opts)
      : lex_(src, file), file_(file), opts_(opts) {
    advance();
  }

  Object parseRoot() {
    if (tok_.type == Tok::End) fail(tok_.line, "empty source: expected 'object'");
    if (!isKeyword(tok_, "object")) fail(tok_.line, "expected 'object', found " + describe(tok_));
    Object root = parseObject();
    if (tok_.type != Tok::End)
      fail(tok_.line, "unexpected " + describe(tok_) + " after the final 'end' (only one top-level object is allowed)");
    return root;
  }

 private:
  [[noreturn]] void fail(int line, const std::string& msg) const { throw Error(file_, line, msg); }

  void advance() { tok_ = lex_.next(); }

  static bool isKeyword(const Token& t, std::string_view kw) { return t.type == Tok::Ident && iequals(t.text, kw); }
  bool isPunct(char c) const { return tok_.type == Tok::Punct && tok_.text[0] == c; }

  static bool isReserved(const std::string& w) {
    return iequals(w, "object") || iequals(w, "end") || iequals(w, "item");
  }

  void expectPunct(char c, const std::string& context) {
    if (!isPunct(c)) fail(tok_.line, std::string("expected '") + c + "' " + context + ", found " + describe(tok_));
    advance();
  }

  void checkName(const std::string& name, int line, const char* what) const {
    if (name.size() > 255)
      fail(line, std::string(what) + " is longer than 255 bytes (" + std::to_string(name.size()) +
                     " bytes): " + quoteForMessage(name));
  }

  // Plain (undotted) identifier: object names, class names.
  std::string expectPlainName(const char* what) {
    if (tok_.type != Tok::Ident) fail(tok_.line, std::string("expected ") + what + ", found " + describe(tok_));
    if (tok_.text.find('.') != std::string::npos)
      fail(tok_.line, std::string(what) + " must not contain '.': " + quoteForMessage(tok_.text));
    if (isReserved(tok_.text)) fail(tok_.line, std::string("expected ") + what + ", found keyword " + describe(tok_));
    checkName(tok_.text, tok_.line, what);
    std::string s = tok_.text;
    advance();
    return s;
  }

  Object parseObject() {
    Object obj;
    int openLine = tok_.line;
    obj.line = openLine;
    advance();  // 'object'
    std::string first = expectPlainName("an object name or class name");
    if (isPunct(':')) {
      advance();
      obj.name = std::move(first);
      obj.cls = expectPlainName("a class name");
    } else {
      obj.cls = std::move(first);  // "object TClass": unnamed
    }
    std::string label = obj.name.empty() ? obj.cls : obj.name;
    for (;;) {
      if (tok_.type == Tok::End)
        fail(tok_.line, "missing 'end' for object '" + label + "' (opened at line " + std::to_string(openLine) + ")");
      if (isKeyword(tok_, "end")) { advance(); return obj; }
      if (isKeyword(tok_, "object")) { obj.children.push_back(parseObject()); continue; }
      if (tok_.type != Tok::Ident)
        fail(tok_.line, "expected a property name, 'object' or 'end' in object '" + label + "', found " + describe(tok_));
      if (!obj.children.empty())
        fail(tok_.line, "property '" + tok_.text + "' after a child object in '" + label +
                            "': properties must come before child objects");
      if (isReserved(tok_.text)) fail(tok_.line, "unexpected keyword " + describe(tok_) + " in object '" + label + "'");
      obj.properties.push_back(parseProperty());
    }
  }

  Property parseProperty() {
    Property p;
    p.line = tok_.line;
    p.name = tok_.text;
    checkName(p.name, tok_.line, "property name");
    advance();
    expectPunct('=', "after property name '" + p.name + "'");
    p.value = parseValue(p.name);
    return p;
  }

  std::u16string parseStringValue() {
    // tok_ is a String token
    std::u16string s = tok_.string;
    advance();
    while (isPunct('+')) {
      int line = tok_.line;
      advance();
      if (tok_.type != Tok::String) fail(line, "expected a string after '+', found " + describe(tok_));
      s += tok_.string;
      advance();
    }
    return s;
  }

  std::string fileNameFromString(const std::u16string& s, int line) {
    if (s.empty()) fail(line, "empty file name");
    try {
      return utf16ToUtf8(s);
    } catch (const std::invalid_argument&) {
      fail(line, "file name is not valid text");
    }
  }

  std::vector<std::uint8_t> loadFile(const std::string& name, int line) {
    std::vector<std::uint8_t> bytes;
    std::string searched;
    if (opts_.loader) {
      if (!opts_.loader(name, bytes, searched))
        fail(line, "file not found: '" + name + "'" + (searched.empty() ? "" : " (searched " + searched + ")"));
      if (opts_.dependencies) opts_.dependencies->push_back(name);
      return bytes;
    }
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    fs::path np = fs::path(name);
    if (np.is_absolute()) {
      candidates.push_back(np);
    } else {
      for (const auto& d : opts_.includeDirs) candidates.push_back(fs::path(d) / np);
      candidates.push_back(opts_.sourceDir.empty() ? np : fs::path(opts_.sourceDir) / np);
    }
    for (const auto& c : candidates) {
      std::error_code ec;
      if (!fs::is_regular_file(c, ec)) continue;
      std::ifstream in(c, std::ios::binary);
      if (!in) fail(line, "cannot read file '" + c.string() + "'");
      bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      if (in.bad()) fail(line, "cannot read file '" + c.string() + "'");
      if (bytes.size() > 0x7FFFFFF0u) fail(line, "file '" + c.string() + "' is too large");
      if (opts_.dependencies) opts_.dependencies->push_back(c.string());
      return bytes;
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      searched += (i ? ", " : "") + candidates[i].string();
    }
    fail(line, "file not found: '" + name + "' (searched " + searched + ")");
  }

  Value parseValue(const std::string& propName) {
    int line = tok_.line;
    switch (tok_.type) {
      case Tok::Integer: {
        Value v = Value::makeInteger(tok_.integer);
        advance();
        return v;
      }
      case Tok::Double: {
        Value v = Value::makeDouble(tok_.real);
        advance();
        return v;
      }
      case Tok::String: return Value::makeString(parseStringValue());
      case Tok::Binary: {
        Value v = Value::makeBinary(std::move(tok_.bytes));
        advance();
        return v;
      }
      case Tok::Ident: {
        std::string w = tok_.text;
        if (isReserved(w))
          fail(line, "expected a value for property '" + propName + "', found keyword '" + w + "'");
        if (iequals(w, "True")) { advance(); return Value::makeBool(true); }
        if (iequals(w, "False")) { advance(); return Value::makeBool(false); }
        if (iequals(w, "file")) {
          advance();
          if (tok_.type != Tok::String)
            fail(tok_.line, "expected a quoted file name after 'file', found " + describe(tok_));
          int nameLine = tok_.line;
          std::string name = fileNameFromString(parseStringValue(), nameLine);
          return Value::makeBinary(loadFile(name, nameLine));
        }
        if (iequals(w, "picture")) {
          advance();
          if (tok_.type != Tok::Ident || isReserved(tok_.text))
            fail(tok_.line, "expected a picture class name after 'picture', found " + describe(tok_));
          std::string cls = expectPlainName("picture class name");
          if (cls.empty()) fail(line, "empty picture class name");
          if (tok_.type != Tok::String)
            fail(tok_.line, "expected a quoted file name after 'picture " + cls + "', found " + describe(tok_));
          int nameLine = tok_.line;
          std::string name = fileNameFromString(parseStringValue(), nameLine);
          std::vector<std::uint8_t> image = loadFile(name, nameLine);
          std::vector<std::uint8_t> bytes;
          bytes.reserve(1 + cls.size() + 4 + image.size());
          bytes.push_back(static_cast<std::uint8_t>(cls.size()));
          bytes.insert(bytes.end(), cls.begin(), cls.end());
          auto n = static_cast<std::uint32_t>(image.size());
          for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<std::uint8_t>(n >> (8 * k)));
          bytes.insert(bytes.end(), image.begin(), image.end());
          return Value::makeBinary(std::move(bytes));
        }
        checkName(w, line, "identifier");
        advance();
        return Value::makeIdent(std::move(w));
      }
      case Tok::Punct:
        if (isPunct('[')) return parseSet();
        if (isPunct('(')) return parseStringList();
        if (isPunct('<')) return parseCollection();
        break;
      case Tok::End:
        fail(line, "missing value for property '" + propName + "' at end of file");
    }
    fail(line, "unknown value for property '" + propName + "': " + describe(tok_));
  }

  Value parseSet() {
    int open = tok_.line;
    advance();  // '['
    std::vector<std::string> items;
    if (isPunct(']')) { advance(); return Value::makeSet(std::move(items)); }
    for (;;) {
      if (tok_.type == Tok::End) fail(tok_.line, "missing ']' for the set opened at line " + std::to_string(open));
      if (tok_.type != Tok::Ident || isReserved(tok_.text))
        fail(tok_.line, "expected an identifier in set, found " + describe(tok_));
      checkName(tok_.text, tok_.line, "set element");
      items.push_back(tok_.text);
      advance();
      if (isPunct(']')) { advance(); return Value::makeSet(std::move(items)); }
      if (tok_.type == Tok::End) fail(tok_.line, "missing ']' for the set opened at line " + std::to_string(open));
      expectPunct(',', "between set elements");
    }
  }

  Value parseStringList() {
    int open = tok_.line;
    advance();  // '('
    std::vector<std::u16string> items;
    for (;;) {
      if (isPunct(')')) { advance(); return Value::makeStringList(std::move(items)); }
      if (tok_.type == Tok::End)
        fail(tok_.line, "missing ')' for the string list opened at line " + std::to_string(open));
      if (tok_.type != Tok::String)
        fail(tok_.line, "expected a string or ')' in string list, found " + describe(tok_));
      items.push_back(parseStringValue());
    }
  }

  Value parseCollection() {
    int open = tok_.line;
    advance();  // '<'
    std::vector<Item> items;
    for (;;) {
      if (isPunct('>')) { advance(); return Value::makeCollection(std::move(items)); }
      if (tok_.type == Tok::End)
        fail(tok_.line, "missing '>' for the collection opened at line " + std::to_string(open));
      if (!isKeyword(tok_, "item")) fail(tok_.line, "expected 'item' or '>' in collection, found " + describe(tok_));
      int itemLine = tok_.line;
      advance();
      Item item;
      for (;;) {
        if (isKeyword(tok_, "end")) { advance(); break; }
        if (tok_.type == Tok::End)
          fail(tok_.line, "missing 'end' for the collection item opened at line " + std::to_string(itemLine));
        if (tok_.type != Tok::Ident || isReserved(tok_.text))
          fail(tok_.line, "expected a property name or 'end' in collection item, found " + describe(tok_));
        item.properties.push_back(parseProperty());
      }
      items.push_back(std::move(item));
    }
  }

  Lexer lex_;
  const std::string& file_;
  const ParseOptions& opts_;
  Token tok_;
};

}  // namespace

Object parse(std::string_view source, const std::string& filename, const ParseOptions& options) {
  Parser p(source, filename, options);
  return p.parseRoot();
}

Object parseFile(const std::string& path, ParseOptions options) {
  namespace fs = std::filesystem;
  fs::path p = fs::path(path);
  std::ifstream in(p, std::ios::binary);
  if (!in) throw Error(path, 0, "cannot open source file");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Error(path, 0, "cannot read source file");
  if (options.sourceDir.empty()) {
    options.sourceDir = p.parent_path().string();
    if (options.sourceDir.empty()) options.sourceDir = ".";
  }
  return parse(text, path, options);
}

std::vector<std::uint8_t> compile(std::string_view source, const std::string& filename,
                                  const ParseOptions& options) {
  return encode(parse(source, filename, options));
}

}  // namespace kfm
