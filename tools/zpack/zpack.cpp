#include "zpack.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>
#include <string>

namespace zpack {

namespace {
constexpr uInt kChunk = 1u << 20;

std::string zerror(const char* what, int rc, const z_stream& s) {
  return std::string(what) + ": zlib error " + std::to_string(rc) + (s.msg ? std::string(" (") + s.msg + ")" : "");
}
}  // namespace

std::vector<std::uint8_t> compress(const std::uint8_t* data, std::size_t size) {
  z_stream s{};
  int rc = deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY);
  if (rc != Z_OK) throw std::runtime_error(zerror("deflateInit2", rc, s));
  std::vector<std::uint8_t> out;
  std::size_t consumed = 0;
  int flush = Z_NO_FLUSH;
  do {
    if (s.avail_in == 0 && flush == Z_NO_FLUSH) {
      std::size_t n = std::min<std::size_t>(size - consumed, std::numeric_limits<uInt>::max() / 2);
      s.next_in = const_cast<Bytef*>(data + consumed);
      s.avail_in = static_cast<uInt>(n);
      consumed += n;
      if (consumed == size) flush = Z_FINISH;
    }
    std::size_t old = out.size();
    out.resize(old + kChunk);
    s.next_out = out.data() + old;
    s.avail_out = kChunk;
    rc = deflate(&s, flush);
    out.resize(old + (kChunk - s.avail_out));
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
      deflateEnd(&s);
      throw std::runtime_error(zerror("deflate", rc, s));
    }
  } while (rc != Z_STREAM_END);
  deflateEnd(&s);
  return out;
}

std::vector<std::uint8_t> decompress(const std::uint8_t* data, std::size_t size) {
  z_stream s{};
  int rc = inflateInit2(&s, 15);
  if (rc != Z_OK) throw std::runtime_error(zerror("inflateInit2", rc, s));
  std::vector<std::uint8_t> out;
  s.next_in = const_cast<Bytef*>(data);
  s.avail_in = static_cast<uInt>(size);
  if (size > std::numeric_limits<uInt>::max()) {
    inflateEnd(&s);
    throw std::runtime_error("input too large");
  }
  for (;;) {
    std::size_t old = out.size();
    out.resize(old + kChunk);
    s.next_out = out.data() + old;
    s.avail_out = kChunk;
    rc = inflate(&s, Z_NO_FLUSH);
    out.resize(old + (kChunk - s.avail_out));
    if (rc == Z_STREAM_END) break;
    if (rc == Z_OK) continue;
    if (rc == Z_BUF_ERROR && s.avail_in == 0) {
      inflateEnd(&s);
      throw std::runtime_error("zlib stream is truncated");
    }
    std::string m = zerror("inflate", rc, s);
    inflateEnd(&s);
    throw std::runtime_error(m);
  }
  std::size_t rest = s.avail_in;
  inflateEnd(&s);
  if (rest != 0) throw std::runtime_error(std::to_string(rest) + " bytes after the end of the zlib stream");
  return out;
}

}  // namespace zpack
