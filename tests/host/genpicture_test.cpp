// genpicture: the installer picture decodes with libjpeg as a 200 x 500 baseline YCbCr JPEG.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "picture.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

struct Decoded {
  bool ok = false;
  std::string error;
  int width = 0, height = 0, components = 0;
  J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
  bool progressive = true;
  int sampH = 0, sampV = 0;
  std::vector<std::uint8_t> rgb;
};

struct Err {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr c) {
  auto* e = reinterpret_cast<Err*>(c->err);
  (*c->err->format_message)(c, e->message);
  std::longjmp(e->jump, 1);
}

void decode(const std::vector<std::uint8_t>& jpeg, Decoded& d) {
  jpeg_decompress_struct cinfo{};
  Err err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  if (setjmp(err.jump)) {
    d.error = err.message;
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  d.width = static_cast<int>(cinfo.image_width);
  d.height = static_cast<int>(cinfo.image_height);
  d.components = cinfo.num_components;
  d.colorSpace = cinfo.jpeg_color_space;
  d.progressive = cinfo.progressive_mode != 0;
  d.sampH = cinfo.comp_info[0].h_samp_factor;
  d.sampV = cinfo.comp_info[0].v_samp_factor;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  d.rgb.resize(static_cast<std::size_t>(d.width) * d.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = d.rgb.data() + static_cast<std::size_t>(cinfo.output_scanline) * d.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  d.ok = true;
}

// Finds the frame marker (SOFn) that the scan uses.
int frameMarker(const std::vector<std::uint8_t>& j) {
  std::size_t i = 2;
  while (i + 4 <= j.size()) {
    if (j[i] != 0xFF) return -1;
    int m = j[i + 1];
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) return m;
    std::size_t len = (static_cast<std::size_t>(j[i + 2]) << 8) | j[i + 3];
    i += 2 + len;
  }
  return -1;
}

const std::vector<std::uint8_t>& picture() {
  static const std::vector<std::uint8_t> jpeg = genpicture::encodeJpeg(genpicture::drawPicture(), 90);
  return jpeg;
}

TEST(GenPicture, DrawsTheRightSize) {
  auto img = genpicture::drawPicture();
  EXPECT_EQ(img.width, 200);
  EXPECT_EQ(img.height, 500);
  EXPECT_EQ(img.pixels.size(), 200u * 500u * 3u);
}

TEST(GenPicture, IsDeterministic) {
  EXPECT_EQ(genpicture::drawPicture().pixels, genpicture::drawPicture().pixels);
  EXPECT_EQ(genpicture::encodeJpeg(genpicture::drawPicture(), 90), picture());
}

TEST(GenPicture, DecodesAsBaselineYCbCr200x500) {
  const auto& jpeg = picture();
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
  EXPECT_EQ(frameMarker(jpeg), 0xC0) << "SOF0: baseline sequential DCT";
  Decoded d;
  decode(jpeg, d);
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.width, 200);
  EXPECT_EQ(d.height, 500);
  EXPECT_EQ(d.components, 3);
  EXPECT_EQ(d.colorSpace, JCS_YCbCr);
  EXPECT_FALSE(d.progressive);
}

TEST(GenPicture, LooksLikeTheArtwork) {
  Decoded d;
  decode(picture(), d);
  ASSERT_TRUE(d.ok) << d.error;
  // Dark-ish overall, blue dominating red, with bright highlights (the glow and the emblem).
  double sum[3] = {0, 0, 0};
  int bright = 0;
  for (std::size_t i = 0; i < d.rgb.size(); i += 3) {
    for (int k = 0; k < 3; ++k) sum[k] += d.rgb[i + k];
    if (d.rgb[i] > 200 && d.rgb[i + 1] > 200 && d.rgb[i + 2] > 200) ++bright;
  }
  double n = d.rgb.size() / 3.0;
  double luma = (0.299 * sum[0] + 0.587 * sum[1] + 0.114 * sum[2]) / n;
  EXPECT_GT(luma, 15.0);
  EXPECT_LT(luma, 110.0);
  EXPECT_GT(sum[2], sum[0] * 1.5);
  EXPECT_GT(bright, 200);
}

TEST(GenPicture, QualityChangesSize) {
  auto img = genpicture::drawPicture();
  EXPECT_LT(genpicture::encodeJpeg(img, 50).size(), genpicture::encodeJpeg(img, 90).size());
  EXPECT_THROW(genpicture::encodeJpeg(genpicture::RgbImage{}, 90), std::invalid_argument);
}

}  // namespace
