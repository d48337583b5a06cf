// skinart OPTIONS.DAT OUTDIR: writes the Velmora2 skin folder.
#include <iostream>

#include "SkinArt.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: skinart OPTIONS.DAT OUTDIR\n";
        return 2;
    }
    try {
        skinart::WriteVelmora2(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "skinart: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
