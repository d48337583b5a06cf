// genskinres: writes the engine's built-in images into a folder:
//   BLUR5.bmp (blur template of generated outer masks), acSHDA.png and acSHDI.png (form shadows).
//
//   genskinres OUTDIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "EngineArt.h"

namespace {

void WriteAtomically(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    const auto tmp = file.string() + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        f.close();
        if (!f) throw std::runtime_error("cannot write '" + file.string() + "'");
    }
    std::filesystem::rename(tmp, file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: genskinres OUTDIR\n";
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        std::filesystem::create_directories(out);
        using namespace genskinres;
        WriteAtomically(out / "BLUR5.bmp", EncodeGreyBmp(MakeBlurTemplate()));
        WriteAtomically(out / "acSHDA.png", genicon::encodePng(MakeShadowImage(128, false)));
        WriteAtomically(out / "acSHDI.png", genicon::encodePng(MakeShadowImage(77, true)));
    } catch (const std::exception& e) {
        std::cerr << "genskinres: error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
