// Scratch files and registry keys for the Windows tests, removed again by their owners.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kvtest {

// A fresh empty directory under %TEMP%, removed with its content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& Path() const { return FPath; }
    std::wstring File(const std::wstring& name) const { return FPath + L"\\" + name; }
private:
    std::wstring FPath;
};

std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// One zlib stream of data at the best compression (header 78 DA).
std::vector<uint8_t> Deflate(const std::string& data);
// A unique name for keys and values the tests create.
std::wstring UniqueName(const std::wstring& prefix);

}  // namespace kvtest
