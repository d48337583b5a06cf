// zpack: one file -> exactly one zlib stream (best compression, header 78 DA).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zpack {

// Compresses `size` bytes into one complete zlib stream: deflate level 9, window bits 15,
// memory level 9, default strategy. The stream starts with 0x78 0xDA and ends with the
// Adler-32 of the input. Throws std::runtime_error when zlib reports an error.
std::vector<std::uint8_t> compress(const std::uint8_t* data, std::size_t size);
inline std::vector<std::uint8_t> compress(const std::vector<std::uint8_t>& data) {
  return compress(data.data(), data.size());
}

// Inflates one complete zlib stream (for tests and checks). Throws std::runtime_error when
// the stream is damaged or incomplete, or when bytes follow the end of the stream.
std::vector<std::uint8_t> decompress(const std::uint8_t* data, std::size_t size);
inline std::vector<std::uint8_t> decompress(const std::vector<std::uint8_t>& data) {
  return decompress(data.data(), data.size());
}

}  // namespace zpack
