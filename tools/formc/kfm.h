// Window descriptions (docs/form-description.md): the text source (*.kfm), the in-memory
// tree, the binary object stream ("KFM1") and a readable dump of it.
//
//   text --parse()--> Object --encode()--> bytes --decode()--> Object --dump()--> text
//
// The dump is itself valid text source, so dump -> parse -> encode reproduces the bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kfm {

// A syntax error (file and line set) or a malformed binary stream (file empty, offset set).
class Error : public std::runtime_error {
 public:
  Error(std::string file, int line, const std::string& message);
  static Error atOffset(std::size_t offset, const std::string& message);

  const std::string& file() const { return file_; }
  int line() const { return line_; }              // 0 when not about a text source
  std::size_t offset() const { return offset_; }  // byte offset for binary-stream errors
  const std::string& message() const { return message_; }

 private:
  std::string file_;
  int line_ = 0;
  std::size_t offset_ = 0;
  std::string message_;
};

// Value tags of the binary stream.
enum class Kind : std::uint8_t {
  Integer = 1,
  String = 2,
  Ident = 3,
  True = 4,
  False = 5,
  Binary = 6,
  Set = 7,
  StringList = 8,
  Collection = 9,
  Double = 10,
};

const char* kindName(Kind kind);

struct Property;

// One item of a collection: its properties, in order.
struct Item {
  std::vector<Property> properties;
  bool operator==(const Item&) const;
};

struct Value {
  Kind kind = Kind::Integer;
  std::int32_t integer = 0;               // Integer
  double real = 0;                        // Double (finite)
  std::u16string string;                  // String
  std::string ident;                      // Ident
  std::vector<std::uint8_t> bytes;        // Binary
  std::vector<std::string> set;           // Set
  std::vector<std::u16string> strings;    // StringList
  std::vector<Item> items;                // Collection

  static Value makeInteger(std::int32_t v);
  static Value makeDouble(double v);
  static Value makeString(std::u16string s);
  static Value makeIdent(std::string s);
  static Value makeBool(bool b);
  static Value makeBinary(std::vector<std::uint8_t> b);
  static Value makeSet(std::vector<std::string> s);
  static Value makeStringList(std::vector<std::u16string> l);
  static Value makeCollection(std::vector<Item> items);

  bool operator==(const Value&) const;
};

struct Property {
  std::string name;  // as written, possibly dotted ("Font.Name")
  Value value;
  int line = 0;      // source line (0 when decoded from binary); not compared
  bool operator==(const Property& o) const { return name == o.name && value == o.value; }
};

struct Object {
  std::string name;   // may be empty ("object TClass" form)
  std::string cls;
  std::vector<Property> properties;
  std::vector<Object> children;
  int line = 0;       // not compared
  bool operator==(const Object&) const;

  // Convenience for tests and tools: first property / child with this name, or nullptr.
  const Property* findProperty(std::string_view name) const;
  const Object* findChild(std::string_view name) const;
};

// Loads the bytes of a `file '...'` / `picture C '...'` reference. Returns false when the
// file cannot be found; `searched` may be filled with a description of the places tried.
using FileLoader = std::function<bool(const std::string& name, std::vector<std::uint8_t>& out,
                                      std::string& searched)>;

struct ParseOptions {
  // Directories searched in order for referenced files (formc -I), then `sourceDir`.
  std::vector<std::string> includeDirs;
  std::string sourceDir;
  // When set, replaces the file-system lookup above (tests use it to stay in memory).
  FileLoader loader;
  // Filled with the paths of every referenced file that was read (for dependency files).
  std::vector<std::string>* dependencies = nullptr;
};

// Parses a UTF-8 text source. `filename` is used in error messages only.
Object parse(std::string_view source, const std::string& filename, const ParseOptions& options = {});

// Reads and parses a file; `options.sourceDir` defaults to the file's directory.
Object parseFile(const std::string& path, ParseOptions options = {});

// Binary object stream ("KFM1" + object).
std::vector<std::uint8_t> encode(const Object& root);
Object decode(const std::uint8_t* data, std::size_t size);
inline Object decode(const std::vector<std::uint8_t>& data) { return decode(data.data(), data.size()); }

// Readable text in the source syntax (UTF-8, two-space indentation, binaries as hex lines).
// With `maxBinaryBytes` set, longer binary values are cut there (marked by a comment); such a
// brief dump is for reading only, it no longer compiles to the same stream.
std::string dump(const Object& root, std::size_t maxBinaryBytes = static_cast<std::size_t>(-1));

// parse + encode.
std::vector<std::uint8_t> compile(std::string_view source, const std::string& filename,
                                  const ParseOptions& options = {});

// The shortest text of a finite double that reads back to the same bits, always with a '.'
// ("1.0", "0.1", "1.5e+300"), so that it is lexed as a double again.
std::string formatDouble(double v);

// UTF-8 <-> UTF-16 helpers (throw std::invalid_argument on malformed input).
std::u16string utf8ToUtf16(std::string_view s);
std::string utf16ToUtf8(std::u16string_view s);

}  // namespace kfm
