// Whole-file reads and writes for the checks, and a file held open without sharing.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<unsigned char>;

std::optional<Bytes> read_file(const std::wstring& path);
bool write_file(const std::wstring& path, const Bytes& content);
bool file_exists(const std::wstring& path);
// A file or a directory.
bool path_exists(const std::wstring& path);
bool create_directories(const std::wstring& path);
void remove_tree(const std::wstring& path);
Bytes bytes_of(std::string_view text);

// A file opened for reading and writing with share mode 0: no other process can open it
// while this object lives.
class ExclusiveFile {
 public:
  explicit ExclusiveFile(const std::wstring& path);
  ~ExclusiveFile();
  ExclusiveFile(const ExclusiveFile&) = delete;
  ExclusiveFile& operator=(const ExclusiveFile&) = delete;

  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool write_all(const Bytes& content);
  std::optional<Bytes> read_all();

 private:
  HANDLE handle_;
};
