#include "FileAccess.h"

#include <filesystem>
#include <system_error>

namespace {
std::optional<Bytes> read_handle(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return std::nullopt;
  Bytes content(size_t(size.QuadPart));
  size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    DWORD chunk = DWORD(std::min<size_t>(content.size() - done, 1 << 20));
    if (!ReadFile(file, content.data() + done, chunk, &got, nullptr) || got == 0) return std::nullopt;
    done += got;
  }
  return content;
}

bool write_handle(HANDLE file, const Bytes& content) {
  DWORD written = 0;
  return WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) && written == content.size();
}
}  // namespace

std::optional<Bytes> read_file(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  auto content = read_handle(file);
  CloseHandle(file);
  return content;
}

bool write_file(const std::wstring& path, const Bytes& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = write_handle(file, content);
  CloseHandle(file);
  return ok;
}

bool file_exists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool path_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool create_directories(const std::wstring& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path), error);
  return std::filesystem::is_directory(std::filesystem::path(path), error);
}

void remove_tree(const std::wstring& path) {
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(path), error);
}

Bytes bytes_of(std::string_view text) { return Bytes(text.begin(), text.end()); }

ExclusiveFile::ExclusiveFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)) {}

ExclusiveFile::~ExclusiveFile() {
  if (is_open()) CloseHandle(handle_);
}

bool ExclusiveFile::write_all(const Bytes& content) {
  SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
  return write_handle(handle_, content) && SetEndOfFile(handle_);
}

std::optional<Bytes> ExclusiveFile::read_all() {
  SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
  return read_handle(handle_);
}
