// genpicture: writes the installer's left-hand picture (200 x 500 baseline JPEG).
//
//   genpicture [--quality Q] OUT.jpg
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "picture.h"

int main(int argc, char** argv) {
  int quality = 90;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      std::cout << "usage: genpicture [--quality Q] OUT.jpg\n"
                   "Writes the installer picture: 200 x 500, baseline JPEG, YCbCr, quality 90.\n";
      return 0;
    } else if (a == "--quality" && i + 1 < argc) {
      quality = std::atoi(argv[++i]);
      if (quality < 1 || quality > 100) {
        std::cerr << "genpicture: error: quality must be 1..100\n";
        return 2;
      }
    } else if (!a.empty() && a[0] == '-') {
      std::cerr << "genpicture: error: unknown option '" << a << "'\n";
      return 2;
    } else if (out.empty()) {
      out = a;
    } else {
      std::cerr << "usage: genpicture [--quality Q] OUT.jpg\n";
      return 2;
    }
  }
  if (out.empty()) {
    std::cerr << "usage: genpicture [--quality Q] OUT.jpg\n";
    return 2;
  }
  try {
    auto jpeg = genpicture::encodeJpeg(genpicture::drawPicture(), quality);
    std::string tmp = out + ".tmp";
    {
      std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
      f.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
      f.close();
      if (!f) throw std::runtime_error("cannot write '" + out + "'");
    }
    if (std::rename(tmp.c_str(), out.c_str()) != 0) throw std::runtime_error("cannot write '" + out + "'");
  } catch (const std::exception& e) {
    std::cerr << "genpicture: error: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
