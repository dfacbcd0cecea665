// JPEG decoding: colour and greyscale to RGB, bad files as no picture, the
// pixel cap, and the reduced decode for small targets staying within 1 of the
// full decode.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "icon/picture.h"

namespace tavo {
namespace {

struct Encoding {
  J_COLOR_SPACE space = JCS_RGB;  // JCS_GRAYSCALE (1 sample) and JCS_CMYK (4) too
  bool progressive = false;
  bool fullChroma = false;  // 4:4:4 instead of libjpeg's default 4:2:0
  int quality = 92;
};

int samplesOf(J_COLOR_SPACE s) { return s == JCS_GRAYSCALE ? 1 : s == JCS_CMYK ? 4 : 3; }

Bytes encode(const std::vector<std::uint8_t>& samples, int w, int h, Encoding e = {}) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = samplesOf(e.space);
  c.in_color_space = e.space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, e.quality, TRUE);
  if (e.progressive) jpeg_simple_progression(&c);
  if (e.fullChroma) c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
  jpeg_start_compress(&c, TRUE);
  const std::size_t stride = static_cast<std::size_t>(w) * c.input_components;
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + c.next_scanline * stride);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&c);
  return out;
}

// Smooth gradients plus noise, kept clear of 0 and 255 (see the bound test).
std::vector<std::uint8_t> photo(int w, int h, unsigned seed, int noise = 25) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> jitter(-noise, noise);
  const double fx = (1 + seed % 3) * 6.283 / w, fy = (1 + seed % 2) * 6.283 / h;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
  std::size_t i = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double v[3] = {128 + 90 * std::sin(x * fx + y * fy * 0.3), 128 + 90 * std::cos(y * fy - x * fx * 0.5),
                           40 + 175.0 * (x + y) / (w + h)};
      for (double c : v) rgb[i++] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(c) + jitter(rng), 0, 255));
    }
  return rgb;
}

std::uint8_t red(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
std::uint8_t green(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
std::uint8_t blue(Pixel p) { return static_cast<std::uint8_t>(p); }
Pixel at(const Picture& p, int x, int y) { return p.pixels[static_cast<std::size_t>(y) * p.pixelWidth + x]; }

// Four flat quadrants: red, green, blue, grey.
std::vector<std::uint8_t> quadrants(int w, int h) {
  const std::uint8_t colours[4][3] = {{220, 30, 40}, {20, 200, 60}, {30, 50, 210}, {128, 128, 128}};
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const auto& c = colours[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
      rgb.insert(rgb.end(), c, c + 3);
    }
  return rgb;
}

TEST(DecodeJpeg, ColourToRgbBaselineAndProgressive) {
  const int w = 64, h = 48;
  const std::vector<std::uint8_t> rgb = quadrants(w, h);
  for (bool progressive : {false, true}) {
    const Bytes file = encode(rgb, w, h, {JCS_RGB, progressive, true, 95});
    ASSERT_EQ(recognise(file), PictureFormat::Jpeg);
    const auto p = decodePicture(file);
    ASSERT_TRUE(p) << "progressive " << progressive;
    EXPECT_EQ(p->kind, Picture::Kind::Raster);
    EXPECT_EQ(p->width, w);
    EXPECT_EQ(p->height, h);
    EXPECT_EQ(p->pixelWidth, w);
    EXPECT_EQ(p->pixelHeight, h);
    ASSERT_EQ(p->pixels.size(), static_cast<std::size_t>(w * h));
    // Away from the quadrant edges a flat colour comes back nearly exact.
    for (int y : {4, 12, 36, 44})
      for (int x : {4, 20, 40, 60}) {
        const std::uint8_t* want = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
        const Pixel got = at(*p, x, y);
        EXPECT_EQ(got >> 24, 0xFFu);
        EXPECT_NEAR(red(got), want[0], 4) << x << "," << y;
        EXPECT_NEAR(green(got), want[1], 4) << x << "," << y;
        EXPECT_NEAR(blue(got), want[2], 4) << x << "," << y;
      }
  }
}

TEST(DecodeJpeg, GreyscaleToEqualChannels) {
  const int w = 40, h = 24;
  std::vector<std::uint8_t> grey(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) grey[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(x * 6);
  const auto p = decodePicture(encode(grey, w, h, {JCS_GRAYSCALE, false, false, 98}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, w);
  EXPECT_EQ(p->height, h);
  for (int y = 0; y < h; y += 5)
    for (int x = 0; x < w; x += 3) {
      const Pixel got = at(*p, x, y);
      EXPECT_EQ(red(got), green(got));
      EXPECT_EQ(green(got), blue(got));
      EXPECT_NEAR(red(got), x * 6, 4) << x << "," << y;
    }
}

// Offset of the first byte after the two-byte marker FF m, or npos.
std::size_t afterMarker(const Bytes& b, std::uint8_t m) {
  for (std::size_t i = 2; i + 1 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] == m) return i + 2;
  return std::string::npos;
}

TEST(DecodeJpeg, BadFilesAreNoPicture) {
  const int w = 48, h = 32;
  const Bytes good = encode(photo(w, h, 5), w, h);
  const Bytes goodProgressive = encode(photo(w, h, 5), w, h, {JCS_RGB, true});
  ASSERT_TRUE(decodePicture(good));
  ASSERT_TRUE(decodePicture(goodProgressive));
  const std::size_t sof = afterMarker(good, 0xC0);  // length(2) precision(1) height(2) width(2) components(1)
  const std::size_t sos = afterMarker(good, 0xDA);
  ASSERT_NE(sof, std::string::npos);
  ASSERT_NE(sos, std::string::npos);

  struct Case {
    const char* name;
    Bytes bytes;
  };
  std::vector<Case> cases;
  auto cut = [](const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + static_cast<long>(n)); };
  cases.push_back({"cut in the header", cut(good, sof + 3)});
  cases.push_back({"cut at the start of the scan", cut(good, sos + 12)});
  cases.push_back({"cut halfway", cut(good, good.size() / 2)});
  cases.push_back({"cut before the end marker", cut(good, good.size() - 2)});
  cases.push_back({"progressive cut halfway", cut(goodProgressive, goodProgressive.size() / 2)});
  cases.push_back({"progressive cut before the end marker", cut(goodProgressive, goodProgressive.size() - 2)});
  {
    Bytes b = good;
    b[sof + 2] = 12;  // 12-bit precision
    cases.push_back({"12-bit samples", b});
  }
  {
    Bytes b = good;
    b[sof + 3] = b[sof + 4] = 0;  // height 0
    cases.push_back({"zero height", b});
  }
  {
    Bytes b = good;
    const std::size_t dqt = afterMarker(b, 0xDB);
    b[dqt - 1] = 0x01;  // the quantisation tables become an unknown marker
    cases.push_back({"no quantisation table", b});
  }
  {
    Bytes b(good.begin(), good.begin() + 2);
    std::mt19937 rng(9);
    for (int i = 0; i < 500; ++i) b.push_back(static_cast<std::uint8_t>(rng()));
    cases.push_back({"noise after the start marker", b});
  }
  cases.push_back({"CMYK (four components)",
                   encode(std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4, 100), w, h, {JCS_CMYK})});
  for (const Case& c : cases) {
    ASSERT_EQ(recognise(c.bytes), PictureFormat::Jpeg) << c.name;
    EXPECT_FALSE(decodePicture(c.bytes)) << c.name;
    EXPECT_FALSE(decodePicture(c.bytes, 32, 32)) << c.name << " (with a size hint)";
  }
}

TEST(DecodeJpeg, StrayBytesBeforeAMarkerStillDecode) {
  // libjpeg only warns here; the picture is whole, so it is shown.
  const int w = 32, h = 32;
  Bytes b = encode(photo(w, h, 2), w, h);
  const std::size_t dqt = afterMarker(b, 0xDB) - 2;
  b.insert(b.begin() + static_cast<long>(dqt), {0x12, 0x34, 0x56});
  const auto p = decodePicture(b);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, w);
}

TEST(DecodeJpeg, HugeDimensionsAreRefusedQuickly) {
  const int w = 16, h = 16;
  const Bytes small = encode(photo(w, h, 3), w, h);
  const Bytes smallProgressive = encode(photo(w, h, 3), w, h, {JCS_RGB, true});
  auto withSize = [](Bytes b, int width, int height) {
    const std::size_t sof = std::min(afterMarker(b, 0xC0), afterMarker(b, 0xC2));
    b[sof + 3] = static_cast<std::uint8_t>(height >> 8);
    b[sof + 4] = static_cast<std::uint8_t>(height);
    b[sof + 5] = static_cast<std::uint8_t>(width >> 8);
    b[sof + 6] = static_cast<std::uint8_t>(width);
    return b;
  };
  const auto start = std::chrono::steady_clock::now();
  // Over the pixel cap: refused at the header.
  EXPECT_FALSE(decodePicture(withSize(small, 60000, 60000)));
  EXPECT_FALSE(decodePicture(withSize(smallProgressive, 65535, 65535), 32, 32));
  // Just under the cap but with a few hundred bytes of data: truncated, and
  // found to be so before the picture's memory is filled.
  EXPECT_FALSE(decodePicture(withSize(small, 11000, 11000)));
  EXPECT_FALSE(decodePicture(withSize(smallProgressive, 11000, 11000)));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 2.0);
}

TEST(DecodeJpeg, NoHintOrASmallPictureDecodesFullSize) {
  const int w = 400, h = 300;
  const Bytes file = encode(photo(w, h, 4), w, h);
  for (auto [hw, hh] : {std::pair{0, 0}, {32, 0}, {32, 32}, {40, 30}}) {
    const auto p = decodePicture(file, hw, hh);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pixelWidth, w) << hw << "x" << hh;
    EXPECT_EQ(p->pixelHeight, h) << hw << "x" << hh;
    EXPECT_EQ(p->pixelSpan, 0);
  }
}

// Largest per-channel difference between two drawings of w x h.
int largestDifference(const Picture& a, const Picture& b, int w, int h) {
  Bitmap da(w, h), db(w, h);
  drawPicture(da, a, 0, 0, w, h);
  drawPicture(db, b, 0, 0, w, h);
  int worst = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Pixel p = da.row(y)[x], q = db.row(y)[x];
      worst = std::max({worst, std::abs(red(p) - red(q)), std::abs(green(p) - green(q)), std::abs(blue(p) - blue(q))});
    }
  return worst;
}

TEST(DecodeJpeg, ReducedDecodeStaysWithinOneOfTheFullDecode) {
  const Encoding baseline{}, progressive{JCS_RGB, true}, fullChroma{JCS_RGB, false, true, 85};
  struct Case {
    int w, h, hintW, hintH;
    int span;  // the reduction expected: each size sits at the edge of its step
    std::vector<Encoding> encodings;
  };
  const Case cases[] = {
      {3200, 3200, 16, 16, 8, {baseline}},
      {1600, 1608, 16, 16, 4, {progressive, fullChroma}},
      {1610, 1600, 32, 32, 2, {baseline, progressive}},
      {800, 801, 16, 16, 2, {baseline, progressive, fullChroma}},
      {2000, 1200, 40, 24, 2, {baseline}},
  };
  unsigned seed = 20;
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> rgb = photo(c.w, c.h, seed++);
    for (const Encoding& e : c.encodings) {
      const Bytes file = encode(rgb, c.w, c.h, e);
      const auto full = decodePicture(file);
      const auto reduced = decodePicture(file, c.hintW, c.hintH);
      ASSERT_TRUE(full);
      ASSERT_TRUE(reduced);
      const std::string name = std::to_string(c.w) + "x" + std::to_string(c.h) + (e.progressive ? " progressive" : "") +
                               (e.fullChroma ? " 4:4:4" : "");
      EXPECT_EQ(reduced->width, c.w) << name;
      EXPECT_EQ(reduced->height, c.h) << name;
      ASSERT_EQ(reduced->pixelSpan, c.span) << name;
      EXPECT_EQ(reduced->pixelWidth, (c.w + c.span - 1) / c.span) << name;
      // Every rectangle no larger than the hint, square or not.
      const std::pair<int, int> targets[] = {{c.hintW, c.hintH},         {c.hintW / 2, c.hintH / 2},
                                             {c.hintW - 1, c.hintH - 3}, {c.hintW, c.hintH * 5 / 8},
                                             {c.hintW * 3 / 4, c.hintH}, {1, 1}};
      for (auto [tw, th] : targets)
        EXPECT_LE(largestDifference(*full, *reduced, tw, th), 1) << name << " drawn " << tw << "x" << th;
    }
  }
}

// A real photo (quality 60, 4:2:0, a bright sky): synthetic noise hides how
// far the reduced transforms drift near 0 and 255, this one does not.
TEST(DecodeJpeg, ReducedDecodeOfARealPhotoStaysWithinOneOfTheFullDecode) {
  std::ifstream in(std::string(TAVO_CORPUS_DIR) + "/pillow/Tests/images/junk_jpeg_header.jpg", std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto full = decodePicture(file);
  ASSERT_TRUE(full);
  ASSERT_EQ(full->width, 1024);
  int reducedHints = 0;
  for (int hint : {2, 4, 8, 16, 32}) {
    const auto reduced = decodePicture(file, hint, hint);
    ASSERT_TRUE(reduced);
    reducedHints += reduced->pixelSpan > 0;
    for (int t = 1; t <= hint; t *= 2)
      EXPECT_LE(largestDifference(*full, *reduced, t, t), 1) << "hint " << hint << " drawn " << t << "x" << t;
  }
  EXPECT_GE(reducedHints, 3);  // the small hints do take the reduced path
}

}  // namespace
}  // namespace tavo
