// zpack: one zlib stream, best compression, header 78 DA, round trip through zlib.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "zpack.h"

namespace {

std::vector<std::uint8_t> sample(std::size_t n, std::uint32_t seed) {
  std::vector<std::uint8_t> v(n);
  std::uint32_t s = seed;
  for (std::size_t i = 0; i < n; ++i) {
    s = s * 1103515245u + 12345u;
    // Half text-like, half noise: compresses, but not to nothing.
    v[i] = (i / 64) % 2 ? static_cast<std::uint8_t>(s >> 24) : static_cast<std::uint8_t>("Kalvetra "[i % 9]);
  }
  return v;
}

// Inflates with plain zlib calls, independent of zpack::decompress.
std::vector<std::uint8_t> inflateAll(const std::vector<std::uint8_t>& in, int* rcOut = nullptr) {
  z_stream s{};
  EXPECT_EQ(inflateInit(&s), Z_OK);
  std::vector<std::uint8_t> out(1 << 16);
  std::vector<std::uint8_t> result;
  s.next_in = const_cast<Bytef*>(in.data());
  s.avail_in = static_cast<uInt>(in.size());
  int rc;
  do {
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    rc = inflate(&s, Z_NO_FLUSH);
    result.insert(result.end(), out.data(), out.data() + (out.size() - s.avail_out));
  } while (rc == Z_OK);
  if (rcOut) *rcOut = rc;
  EXPECT_EQ(s.avail_in, 0u) << "bytes after the end of the stream";
  inflateEnd(&s);
  return result;
}

struct ZpackCase {
  const char* name;
  std::size_t size;
};

void PrintTo(const ZpackCase& c, std::ostream* os) { *os << c.name; }

class ZpackRoundTrip : public ::testing::TestWithParam<ZpackCase> {};

TEST_P(ZpackRoundTrip, HeaderAndRoundTrip) {
  auto data = sample(GetParam().size, 7);
  auto packed = zpack::compress(data);
  ASSERT_GE(packed.size(), 6u);
  EXPECT_EQ(packed[0], 0x78);
  EXPECT_EQ(packed[1], 0xDA);
  EXPECT_EQ(((packed[0] << 8) | packed[1]) % 31, 0) << "zlib header check bits";
  int rc = 0;
  EXPECT_EQ(inflateAll(packed, &rc), data);
  EXPECT_EQ(rc, Z_STREAM_END);
  EXPECT_EQ(zpack::decompress(packed), data);
  // The trailer is the Adler-32 of the input, big-endian.
  uLong adler = adler32(adler32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size()));
  std::size_t n = packed.size();
  EXPECT_EQ((std::uint32_t(packed[n - 4]) << 24 | std::uint32_t(packed[n - 3]) << 16 |
             std::uint32_t(packed[n - 2]) << 8 | packed[n - 1]),
            adler);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ZpackRoundTrip,
                         ::testing::Values(ZpackCase{"empty", 0}, ZpackCase{"one", 1}, ZpackCase{"small", 100},
                                           ZpackCase{"window", 40000}, ZpackCase{"large", 3000000}));

TEST(Zpack, MatchesZlibBestCompressionSize) {
  auto data = sample(200000, 3);
  auto packed = zpack::compress(data);
  uLongf len = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> ref(len);
  ASSERT_EQ(compress2(ref.data(), &len, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
  // compress2 uses memory level 8; zpack uses 9, which never does worse by much.
  EXPECT_LE(packed.size(), len + len / 100);
}

TEST(Zpack, Deterministic) {
  auto data = sample(50000, 11);
  EXPECT_EQ(zpack::compress(data), zpack::compress(data));
}

TEST(Zpack, DecompressRejectsTruncatedAndTrailing) {
  auto data = sample(10000, 5);
  auto packed = zpack::compress(data);
  auto cut = packed;
  cut.resize(packed.size() / 2);
  EXPECT_THROW(zpack::decompress(cut), std::runtime_error);
  auto extra = packed;
  extra.push_back(0);
  EXPECT_THROW(zpack::decompress(extra), std::runtime_error);
  auto bad = packed;
  bad[1] ^= 0xFF;
  EXPECT_THROW(zpack::decompress(bad), std::runtime_error);
}

}  // namespace
