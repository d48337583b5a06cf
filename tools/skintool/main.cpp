// skintool: pack DIR OUT.kvp | unpack IN.kvp DIR | list IN.kvp |
//           model SKIN [--hue N] [--saturation N] [--brightness N]
#include <cstdio>
#include <iostream>
#include <string>

#include "ModelJson.h"
#include "SkinPackFiles.h"
#include "skin/acntUtils.h"

namespace {

int Usage() {
    std::cerr << "usage: skintool pack DIR OUT.kvp\n"
                 "       skintool unpack IN.kvp DIR\n"
                 "       skintool list IN.kvp\n"
                 "       skintool model SKIN [--hue N] [--saturation N] [--brightness N]\n";
    return 2;
}

int ParseAmount(const std::string& text) {
    size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used != text.size()) throw std::invalid_argument("not a number: " + text);
    return value;
}

int Model(int argc, char** argv) {
    skintool::TModelRequest request;
    request.Skin = argv[2];
    for (int i = 3; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return Usage();
        const int value = ParseAmount(argv[i + 1]);
        if (option == "--hue") request.Adjustment.HueOffset = value;
        else if (option == "--saturation") request.Adjustment.Saturation = value;
        else if (option == "--brightness") request.Adjustment.Brightness = value;
        else return Usage();
    }
    std::cout << skintool::LoadModelJson(request).dump(1) << "\n";
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc == 4) {
        skintool::WriteFileBytes(argv[3], skintool::PackFolder(argv[2]));
    } else if (command == "unpack" && argc == 4) {
        skintool::UnpackToFolder(skintool::ReadFileBytes(argv[2]), argv[3]);
    } else if (command == "list" && argc == 3) {
        for (const auto& e : skintool::ListPackage(skintool::ReadFileBytes(argv[2])))
            std::cout << sk::NarrowForMessage(e.Name) << "\t" << e.Size << "\t" << (e.IsBitmap ? "bitmap" : "-")
                      << "\n";
    } else if (command == "model") {
        return Model(argc, argv);
    } else {
        return Usage();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "skintool: " << e.what() << "\n";
        return 1;
    }
}
