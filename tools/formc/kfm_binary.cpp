// Tree <-> binary object stream (docs/form-description.md, "Binary object stream").
#include <cmath>
#include <cstring>
#include <limits>

#include "kfm.h"

namespace kfm {

namespace {

constexpr std::uint8_t kMagic[4] = {'K', 'F', 'M', '1'};

class Writer {
 public:
  std::vector<std::uint8_t> out;

  void u8(std::uint8_t v) { out.push_back(v); }
  void i32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
  }
  void f64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int k = 0; k < 8; ++k) out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
  }
  void count(std::size_t n, const char* what) {
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
      throw std::length_error(std::string(what) + " too large for the binary stream");
    i32(static_cast<std::int32_t>(n));
  }
  void shortstr(const std::string& s, const char* what) {
    if (s.size() > 255) throw std::length_error(std::string(what) + " longer than 255 bytes: " + s.substr(0, 40) + "...");
    for (unsigned char c : s)
      if (c >= 0x80) throw std::invalid_argument(std::string(what) + " is not ASCII: " + s);
    u8(static_cast<std::uint8_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
  }
  void utf16(const std::u16string& s) {
    count(s.size(), "string");
    for (char16_t c : s) {
      out.push_back(static_cast<std::uint8_t>(c & 0xFF));
      out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
  }

  void property(const Property& p) {
    if (p.name.empty()) throw std::invalid_argument("empty property name");
    shortstr(p.name, "property name");
    value(p.value);
  }

  void value(const Value& v) {
    u8(static_cast<std::uint8_t>(v.kind));
    switch (v.kind) {
      case Kind::Integer: i32(v.integer); break;
      case Kind::Double: f64(v.real); break;
      case Kind::String: utf16(v.string); break;
      case Kind::Ident: shortstr(v.ident, "identifier"); break;
      case Kind::True:
      case Kind::False: break;
      case Kind::Binary:
        count(v.bytes.size(), "binary value");
        out.insert(out.end(), v.bytes.begin(), v.bytes.end());
        break;
      case Kind::Set:
        count(v.set.size(), "set");
        for (const auto& s : v.set) shortstr(s, "set element");
        break;
      case Kind::StringList:
        count(v.strings.size(), "string list");
        for (const auto& s : v.strings) utf16(s);
        break;
      case Kind::Collection:
        count(v.items.size(), "collection");
        for (const auto& item : v.items) {
          for (const auto& p : item.properties) property(p);
          u8(0);
        }
        break;
      default: throw std::invalid_argument("unknown value kind");
    }
  }

  void object(const Object& o) {
    shortstr(o.cls, "class name");
    shortstr(o.name, "object name");
    for (const auto& p : o.properties) property(p);
    u8(0);
    for (const auto& c : o.children) {
      u8(1);
      object(c);
    }
    u8(0);
  }
};

class Reader {
 public:
  Reader(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}

  [[noreturn]] void fail(std::size_t at, const std::string& msg) const { throw Error::atOffset(at, msg); }

  std::size_t pos() const { return p_; }
  bool atEnd() const { return p_ == n_; }

  void need(std::size_t bytes, const char* what) const {
    if (bytes > n_ - p_)
      fail(p_, std::string(what) + " runs past the end of the data (needs " + std::to_string(bytes) +
                   " bytes, " + std::to_string(n_ - p_) + " left)");
  }
  std::uint8_t u8(const char* what) {
    need(1, what);
    return d_[p_++];
  }
  std::int32_t i32(const char* what) {
    need(4, what);
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(d_[p_ + k]) << (8 * k);
    p_ += 4;
    return static_cast<std::int32_t>(u);
  }
  // A finite IEEE double, 8 bytes little-endian.
  double f64(const char* what) {
    std::size_t at = p_;
    need(8, what);
    std::uint64_t u = 0;
    for (int k = 0; k < 8; ++k) u |= static_cast<std::uint64_t>(d_[p_ + k]) << (8 * k);
    p_ += 8;
    double v;
    std::memcpy(&v, &u, 8);
    if (!std::isfinite(v)) fail(at, std::string(what) + " is not a finite number");
    return v;
  }
  // A count of elements that each take at least `minSize` bytes.
  std::size_t count(const char* what, std::size_t minSize) {
    std::size_t at = p_;
    std::int32_t c = i32(what);
    if (c < 0) fail(at, std::string("negative ") + what + " " + std::to_string(c));
    auto n = static_cast<std::size_t>(c);
    if (minSize > 0 && n > (n_ - p_) / minSize)
      fail(at, std::string(what) + " " + std::to_string(n) + " runs past the end of the data");
    return n;
  }
  std::string shortstr(const char* what) {
    std::size_t at = p_;
    std::size_t len = u8(what);
    need(len, what);
    std::string s(reinterpret_cast<const char*>(d_ + p_), len);
    for (unsigned char c : s)
      if (c >= 0x80) fail(at, std::string(what) + " contains a non-ASCII byte");
    p_ += len;
    return s;
  }
  std::u16string utf16(const char* what) {
    std::size_t n = count(what, 2);
    std::u16string s(n, u'\0');
    for (std::size_t i = 0; i < n; ++i)
      s[i] = static_cast<char16_t>(d_[p_ + 2 * i] | (d_[p_ + 2 * i + 1] << 8));
    p_ += 2 * n;
    return s;
  }

  std::vector<Property> properties(int depth) {
    std::vector<Property> props;
    for (;;) {
      std::size_t at = p_;
      std::size_t len = u8("property list");
      if (len == 0) return props;
      p_ = at;
      Property p;
      p.name = shortstr("property name");
      p.value = value(depth);
      props.push_back(std::move(p));
    }
  }

  Value value(int depth) {
    std::size_t at = p_;
    std::uint8_t tag = u8("value tag");
    switch (tag) {
      case 1: return Value::makeInteger(i32("integer"));
      case 10: return Value::makeDouble(f64("double"));
      case 2: return Value::makeString(utf16("string length"));
      case 3: return Value::makeIdent(shortstr("identifier"));
      case 4: return Value::makeBool(true);
      case 5: return Value::makeBool(false);
      case 6: {
        std::size_t n = count("binary byte count", 1);
        std::vector<std::uint8_t> b(d_ + p_, d_ + p_ + n);
        p_ += n;
        return Value::makeBinary(std::move(b));
      }
      case 7: {
        std::size_t n = count("set count", 1);
        std::vector<std::string> s;
        s.reserve(n);
        for (std::size_t i = 0; i < n; ++i) s.push_back(shortstr("set element"));
        return Value::makeSet(std::move(s));
      }
      case 8: {
        std::size_t n = count("string list count", 4);
        std::vector<std::u16string> l;
        l.reserve(n);
        for (std::size_t i = 0; i < n; ++i) l.push_back(utf16("string length"));
        return Value::makeStringList(std::move(l));
      }
      case 9: {
        if (depth > 64) fail(at, "collections nested too deeply");
        std::size_t n = count("collection item count", 1);
        std::vector<Item> items;
        items.reserve(n);
        for (std::size_t i = 0; i < n; ++i) items.push_back(Item{properties(depth + 1)});
        return Value::makeCollection(std::move(items));
      }
      default: fail(at, "unknown value tag " + std::to_string(tag));
    }
  }

  Object object(int depth) {
    if (depth > 256) fail(p_, "objects nested too deeply");
    Object o;
    o.cls = shortstr("class name");
    if (o.cls.empty()) fail(p_ - 1, "empty class name");
    o.name = shortstr("object name");
    o.properties = properties(depth);
    for (;;) {
      std::size_t at = p_;
      std::uint8_t marker = u8("child marker");
      if (marker == 0) return o;
      if (marker != 1) fail(at, "expected child marker 0x01 or end marker 0x00, found 0x" + hex(marker));
      o.children.push_back(object(depth + 1));
    }
  }

  static std::string hex(std::uint8_t b) {
    const char* digits = "0123456789ABCDEF";
    return std::string{digits[b >> 4], digits[b & 15]};
  }

 private:
  const std::uint8_t* d_;
  std::size_t n_;
  std::size_t p_ = 0;
};

}  // namespace

std::vector<std::uint8_t> encode(const Object& root) {
  Writer w;
  for (std::uint8_t b : kMagic) w.out.push_back(b);
  w.object(root);
  return std::move(w.out);
}

Object decode(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || std::memcmp(data, kMagic, 4) != 0) throw Error::atOffset(0, "missing \"KFM1\" signature");
  Reader r(data + 4, size - 4);
  try {
    Object o = r.object(0);
    if (!r.atEnd())
      throw Error::atOffset(r.pos(), std::to_string(size - 4 - r.pos()) + " trailing bytes after the root object");
    return o;
  } catch (const Error& e) {
    throw Error::atOffset(e.offset() + 4, e.message());  // offsets relative to the whole stream
  }
}

}  // namespace kfm
