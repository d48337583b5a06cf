#include "SkinPackFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "skin/acntUtils.h"
#include "skin/sSkinManagerCore.h"

namespace skintool {

namespace {

const std::wstring kOptions = L"Options.dat";

std::unique_ptr<sk::TacSkinConvertor> Unpack(const sk::TBytes& package) {
    auto c = std::make_unique<sk::TacSkinConvertor>();
    c->LendPackedData(&package);
    sk::UnpackSkinPack(c);
    if (!c) throw sk::ESkinError("not a packed skin (wrong signature)");
    c->DetachPackedData();
    return c;
}

// A file name from a package must not leave the folder it is written into.
void CheckPlainName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"/\\:") != std::wstring::npos)
        throw sk::ESkinError("unsafe file name in package: " + sk::NarrowForMessage(name));
}

}  // namespace

sk::TBytes ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw sk::ESkinError("cannot read " + file.string());
    return sk::TBytes(std::istreambuf_iterator<char>(in), {});
}

// Through a temporary file beside the target and a rename, so a failed write leaves no
// half-written file under the final name.
void WriteFileBytes(const std::filesystem::path& file, const sk::TBytes& bytes) {
    std::filesystem::path temp = file;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            throw sk::ESkinError("cannot write " + file.string());
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw sk::ESkinError("cannot write " + file.string());
    }
}

sk::TBytes PackFolder(const std::filesystem::path& dir) {
    if (!std::filesystem::is_directory(dir)) throw sk::ESkinError("no skin folder: " + dir.string());
    std::vector<sk::TPackEntry> images;
    sk::TBytes options;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        const std::wstring name = sk::PathText(e.path().filename());
        if (name == kOptions)
            options = ReadFileBytes(e.path());
        else
            images.push_back({name, ReadFileBytes(e.path())});
    }
    if (options.empty()) throw sk::ESkinError("no Options.dat in " + dir.string());
    std::sort(images.begin(), images.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    images.insert(images.begin(), {kOptions, std::move(options)});
    return sk::PackSkin(images);
}

std::vector<std::wstring> UnpackToFolder(const sk::TBytes& package, const std::filesystem::path& dir) {
    auto c = Unpack(package);
    for (const auto& f : c->Files) CheckPlainName(f.FileName);  // before anything is written
    std::filesystem::create_directories(dir);
    std::vector<std::wstring> written;
    if (c->Options) {
        WriteFileBytes(dir / kOptions, *c->Options);
        written.push_back(kOptions);
    }
    for (const auto& f : c->Files) {
        WriteFileBytes(dir / sk::NativeSkinPath(f.FileName), f.FileStream);
        written.push_back(f.FileName);
    }
    return written;
}

std::vector<TListEntry> ListPackage(const sk::TBytes& package) {
    auto c = Unpack(package);
    std::vector<TListEntry> list;
    if (c->Options) list.push_back({kOptions, c->Options->size(), false});
    for (const auto& f : c->Files) list.push_back({f.FileName, f.FileStream.size(), f.IsBitmap});
    return list;
}

}  // namespace skintool
