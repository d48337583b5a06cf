// formc: compiles a window description (*.kfm) into the binary object stream.
//
//   formc [-I DIR]... [--depfile FILE] SOURCE.kfm OUT.bin
//   formc --dump [--brief] IN.bin
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "kfm.h"

namespace fs = std::filesystem;

namespace {

void usage(std::ostream& o) {
  o << "usage: formc [-I DIR]... [--depfile FILE] SOURCE.kfm OUT.bin\n"
       "       formc --dump [--brief] IN.bin\n"
       "\n"
       "Compiles a window description into the binary object stream (\"KFM1\").\n"
       "  -I DIR          directory searched for `file`/`picture` references (in order,\n"
       "                  before the source's own directory); may be repeated, -IDIR also works\n"
       "  --depfile FILE  write a Makefile-style dependency file (OUT.bin: SOURCE + referenced files)\n"
       "  --dump IN.bin   print a compiled stream as readable text source (it compiles back\n"
       "                  to the same bytes)\n"
       "  --brief         with --dump: show only the first 64 bytes of each binary value\n";
}

std::string escapeDep(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == ' ' || c == '#' || c == '\\') r += '\\';
    if (c == '$') r += '$';
    r += c;
  }
  return r;
}

bool writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
  fs::path target = fs::path(path);
  fs::path tmp = target;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, target, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

int runDump(const std::string& path, std::size_t maxBinary) {
  std::ifstream in(fs::path(path), std::ios::binary);
  if (!in) {
    std::cerr << "formc: error: cannot open '" << path << "'\n";
    return 1;
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    std::cout << kfm::dump(kfm::decode(bytes), maxBinary);
  } catch (const kfm::Error& e) {
    std::cerr << path << ": error: at offset " << e.offset() << ": " << e.message() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  kfm::ParseOptions options;
  std::string depfile;
  bool dump = false;
  bool brief = false;

  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto needArg = [&](const char* opt) -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "formc: error: " << opt << " needs an argument\n";
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "-h" || a == "--help") {
      usage(std::cout);
      return 0;
    } else if (a == "-I") {
      options.includeDirs.push_back(needArg("-I"));
    } else if (a.rfind("-I", 0) == 0) {
      options.includeDirs.push_back(a.substr(2));
    } else if (a == "--depfile") {
      depfile = needArg("--depfile");
    } else if (a == "--brief") {
      brief = true;
    } else if (a == "--dump") {
      dump = true;
    } else if (a.size() > 1 && a[0] == '-') {
      std::cerr << "formc: error: unknown option '" << a << "'\n";
      usage(std::cerr);
      return 2;
    } else {
      positional.push_back(a);
    }
  }

  if (dump) {
    if (positional.size() != 1) {
      usage(std::cerr);
      return 2;
    }
    return runDump(positional[0], brief ? 64 : static_cast<std::size_t>(-1));
  }
  if (positional.size() != 2) {
    usage(std::cerr);
    return 2;
  }
  const std::string& source = positional[0];
  const std::string& output = positional[1];

  std::vector<std::string> deps;
  options.dependencies = &deps;
  std::vector<std::uint8_t> bytes;
  try {
    bytes = kfm::encode(kfm::parseFile(source, options));
  } catch (const kfm::Error& e) {
    std::cerr << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << source << ": error: " << e.what() << '\n';
    return 1;
  }

  if (!writeFileAtomically(output, bytes.data(), bytes.size())) {
    std::cerr << "formc: error: cannot write '" << output << "'\n";
    return 1;
  }
  if (!depfile.empty()) {
    std::string text = escapeDep(output) + ":";
    text += " " + escapeDep(source);
    for (const auto& d : deps) text += " \\\n  " + escapeDep(d);
    text += "\n";
    if (!writeFileAtomically(depfile, text.data(), text.size())) {
      std::cerr << "formc: error: cannot write '" << depfile << "'\n";
      return 1;
    }
  }
  return 0;
}
