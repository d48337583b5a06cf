// genicon: writes the application icon "MAINICON" (16, 32, 48 DIB + 256 PNG).
//
//   genicon OUT.ico
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "icon.h"

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
    std::cout << "usage: genicon OUT.ico\n"
                 "Writes the application icon: 16, 32, 48 px (32-bit DIB + AND mask) and 256 px (PNG).\n";
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::cerr << "usage: genicon OUT.ico\n";
    return 2;
  }
  std::string out = argv[1];
  try {
    auto ico = genicon::buildIco();
    std::string tmp = out + ".tmp";
    {
      std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
      f.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
      f.close();
      if (!f) throw std::runtime_error("cannot write '" + out + "'");
    }
    if (std::rename(tmp.c_str(), out.c_str()) != 0) throw std::runtime_error("cannot write '" + out + "'");
  } catch (const std::exception& e) {
    std::cerr << "genicon: error: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
