// zpack: compresses one file into exactly one zlib stream (level 9, header 78 DA).
//
//   zpack [--truncate N] IN OUT
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "zpack.h"

static void usage(std::ostream& o) {
  o << "usage: zpack [--truncate N] IN OUT\n"
       "Compresses IN into exactly one zlib stream (best compression, header 78 DA) in OUT.\n"
       "  --truncate N  write only the first N bytes of the stream (makes a broken payload)\n";
}

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  long long truncate = -1;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      usage(std::cout);
      return 0;
    } else if (a == "--truncate") {
      if (i + 1 >= argc) {
        std::cerr << "zpack: error: --truncate needs a byte count\n";
        return 2;
      }
      char* end = nullptr;
      errno = 0;
      truncate = std::strtoll(argv[++i], &end, 10);
      if (errno != 0 || end == argv[i] || *end != '\0' || truncate < 0) {
        std::cerr << "zpack: error: invalid byte count '" << argv[i] << "'\n";
        return 2;
      }
    } else if (a.size() > 1 && a[0] == '-') {
      std::cerr << "zpack: error: unknown option '" << a << "'\n";
      usage(std::cerr);
      return 2;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    usage(std::cerr);
    return 2;
  }
  std::ifstream in(positional[0], std::ios::binary);
  if (!in) {
    std::cerr << "zpack: error: cannot open '" << positional[0] << "': " << std::strerror(errno) << "\n";
    return 1;
  }
  std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << "zpack: error: cannot read '" << positional[0] << "'\n";
    return 1;
  }
  std::vector<std::uint8_t> packed;
  try {
    packed = zpack::compress(data);
  } catch (const std::exception& e) {
    std::cerr << "zpack: error: " << e.what() << "\n";
    return 1;
  }
  std::size_t n = packed.size();
  if (truncate >= 0 && static_cast<unsigned long long>(truncate) < n) n = static_cast<std::size_t>(truncate);
  std::string tmp = positional[1] + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(n));
    out.close();
    if (!out) {
      std::cerr << "zpack: error: cannot write '" << positional[1] << "'\n";
      std::remove(tmp.c_str());
      return 1;
    }
  }
  if (std::rename(tmp.c_str(), positional[1].c_str()) != 0) {
    std::cerr << "zpack: error: cannot write '" << positional[1] << "': " << std::strerror(errno) << "\n";
    std::remove(tmp.c_str());
    return 1;
  }
  return 0;
}
