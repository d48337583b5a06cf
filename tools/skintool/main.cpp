// skintool: pack DIR OUT.kvp | unpack IN.kvp DIR | list IN.kvp |
//           model SKIN [--hue N] [--saturation N] [--brightness N] |
//           sheet SKIN OUT.png [--hue N] [--saturation N] [--brightness N] [--state N]
#include <cstdio>
#include <iostream>
#include <string>

#include "ContactSheet.h"
#include "ModelJson.h"
#include "SkinPackFiles.h"
#include "skin/acntUtils.h"

namespace {

int Usage() {
    std::cerr << "usage: skintool pack DIR OUT.kvp\n"
                 "       skintool unpack IN.kvp DIR\n"
                 "       skintool list IN.kvp\n"
                 "       skintool model SKIN [--hue N] [--saturation N] [--brightness N]\n"
                 "       skintool sheet SKIN OUT.png [--hue N] [--saturation N] [--brightness N] [--state N]\n";
    return 2;
}

int ParseAmount(const std::string& text) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::logic_error&) {  // not a number, or out of range
        used = 0;
    }
    if (text.empty() || used != text.size()) throw std::invalid_argument("not a number: " + text);
    return value;
}

struct TOptions {
    skintool::TSkinRequest Request;
    int State = -1;
};

// The options after the positional arguments (from argv[first]); false on bad usage.
bool ParseOptions(int argc, char** argv, int first, bool allowState, TOptions& out) {
    for (int i = first; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return false;
        const int value = ParseAmount(argv[i + 1]);
        if (option == "--hue") out.Request.Adjustment.HueOffset = value;
        else if (option == "--saturation") out.Request.Adjustment.Saturation = value;
        else if (option == "--brightness") out.Request.Adjustment.Brightness = value;
        else if (option == "--state" && allowState) out.State = value;
        else return false;
    }
    return true;
}

int Model(int argc, char** argv) {
    TOptions options;
    options.Request.Skin = argv[2];
    if (!ParseOptions(argc, argv, 3, false, options)) return Usage();
    std::cout << skintool::LoadModelJson(options.Request).dump(1) << "\n";
    return 0;
}

int Sheet(int argc, char** argv) {
    TOptions options;
    options.Request.Skin = argv[2];
    if (argc < 4 || !ParseOptions(argc, argv, 4, true, options)) return Usage();
    if (options.State != -1 && (options.State < 0 || options.State > 2))
        throw std::invalid_argument("--state must be 0, 1 or 2");
    const auto manager = skintool::LoadSkin(options.Request);
    const auto sheet = skintool::BuildContactSheet(manager->Model(), {options.State});
    const std::string title = "contact sheet of " + options.Request.Skin.string() + ", hue " +
                              std::to_string(options.Request.Adjustment.HueOffset) +
                              (options.State < 0 ? "" : ", state " + std::to_string(options.State)) +
                              "; cells by column letter and row number";
    skintool::WriteContactSheet(sheet, argv[3], title);
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
    } else if (command == "sheet") {
        return Sheet(argc, argv);
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
