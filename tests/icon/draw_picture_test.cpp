// Drawing pictures onto bitmaps: plain copies, exact area averaging, icons
// through their mask, clipping.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "icon/picture.h"

namespace tavo {
namespace {

constexpr Pixel px(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (Pixel{r} << 16) | (Pixel{g} << 8) | b;
}
std::uint8_t red(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
std::uint8_t green(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
std::uint8_t blue(Pixel p) { return static_cast<std::uint8_t>(p); }

Picture raster(int w, int h, std::vector<Pixel> pixels) {
  Picture p;
  p.width = p.pixelWidth = w;
  p.height = p.pixelHeight = h;
  p.pixels = std::move(pixels);
  return p;
}

Picture noise(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<Pixel> pixels(static_cast<std::size_t>(w) * h);
  for (Pixel& p : pixels) p = 0xFF000000u | (rng() & 0xFFFFFFu);
  return raster(w, h, std::move(pixels));
}

// Brute-force reference: every target pixel against every source pixel, the
// overlap area as an exact integer, the mean rounded half up.
Pixel referenceAverage(const Picture& p, int w, int h, int tx, int ty) {
  auto overlap = [](std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
    return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
  };
  std::uint64_t sum[3] = {}, total = 0;
  for (int sy = 0; sy < p.pixelHeight; ++sy) {
    const std::int64_t oy = overlap(std::int64_t{ty} * p.pixelHeight, std::int64_t{ty + 1} * p.pixelHeight,
                                    std::int64_t{sy} * h, std::int64_t{sy + 1} * h);
    for (int sx = 0; sx < p.pixelWidth; ++sx) {
      const std::int64_t ox = overlap(std::int64_t{tx} * p.pixelWidth, std::int64_t{tx + 1} * p.pixelWidth,
                                      std::int64_t{sx} * w, std::int64_t{sx + 1} * w);
      const std::uint64_t a = static_cast<std::uint64_t>(ox * oy);
      const Pixel s = p.pixels[static_cast<std::size_t>(sy) * p.pixelWidth + sx];
      sum[0] += a * red(s);
      sum[1] += a * green(s);
      sum[2] += a * blue(s);
      total += a;
    }
  }
  return px(static_cast<std::uint8_t>((sum[0] + total / 2) / total),
            static_cast<std::uint8_t>((sum[1] + total / 2) / total),
            static_cast<std::uint8_t>((sum[2] + total / 2) / total));
}

TEST(DrawPicture, AveragingSmallCasesExact) {
  struct Case {
    const char* name;
    Picture picture;
    int w, h;
    std::vector<Pixel> expected;  // the w x h result, rows top-down
  };
  const Case cases[] = {
      // (0+1+1+1)/4 = 0.75 -> 1; (0+0+1+1)/4 = 0.5 rounds up; (1+1+1+2)/4 = 1.25 -> 1
      {"2x2 -> 1x1 rounds to nearest, per channel", raster(2, 2, {px(0, 0, 1), px(1, 0, 1), px(1, 1, 1), px(1, 1, 2)}),
       1, 1, {px(1, 1, 1)}},
      // target 0 covers all of a and half of b: (2a + b) / 3; target 1: (b + 2c) / 3
      {"3 -> 2 weights 2:1 and 1:2", raster(3, 1, {px(0, 0, 0), px(100, 10, 1), px(200, 20, 2)}), 2, 1,
       {px(33, 3, 0), px(167, 17, 2)}},
      {"1 -> 3 repeats", raster(1, 1, {px(9, 8, 7)}), 3, 1, {px(9, 8, 7), px(9, 8, 7), px(9, 8, 7)}},
      {"2 -> 3: the middle pixel straddles both", raster(2, 1, {px(10, 0, 0), px(21, 0, 255)}), 3, 1,
       {px(10, 0, 0), px(16, 0, 128), px(21, 0, 255)}},
      {"vertical 3 -> 2", raster(1, 3, {px(0, 0, 0), px(100, 10, 1), px(200, 20, 2)}), 1, 2,
       {px(33, 3, 0), px(167, 17, 2)}},
      {"a long white run stays white", raster(1201, 1, std::vector<Pixel>(1201, px(255, 255, 255))), 1, 1,
       {px(255, 255, 255)}},
  };
  for (const Case& c : cases) {
    Bitmap target(c.w, c.h, 0x00FFFFFF);
    drawPicture(target, c.picture, 0, 0, c.w, c.h);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        EXPECT_EQ(target.row(y)[x], c.expected[static_cast<std::size_t>(y) * c.w + x])
            << c.name << " at " << x << "," << y;
  }
}

TEST(DrawPicture, AveragingMatchesBruteForceForMixedScales) {
  struct Case {
    int sw, sh, w, h;
  };
  // Down, up, and one axis each way, with sizes that share no factors; runs
  // of hundreds of whole pixels in one target pixel.
  const Case cases[] = {{7, 5, 3, 9},  {13, 11, 4, 4}, {5, 5, 8, 3},   {17, 3, 16, 16},
                        {64, 48, 7, 5}, {3, 7, 11, 2},  {1201, 3, 2, 1}, {1000, 2, 3, 2}};
  unsigned seed = 1;
  for (const Case& c : cases) {
    const Picture p = noise(c.sw, c.sh, seed++);
    Bitmap target(c.w, c.h);
    drawPicture(target, p, 0, 0, c.w, c.h);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        ASSERT_EQ(target.row(y)[x], referenceAverage(p, c.w, c.h, x, y))
            << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h << " at " << x << "," << y;
  }
}

TEST(DrawPicture, StretchFillsTheWholeRectangleWhateverTheAspect) {
  // 100x50: left half red, right half blue; top half dark, bottom half green.
  std::vector<Pixel> pixels(100 * 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) pixels[y * 100 + x] = px(x < 50 ? 255 : 0, y < 25 ? 0 : 255, x < 50 ? 0 : 255);
  const Picture p = raster(100, 50, pixels);
  Bitmap target(20, 20, 0x00123456);
  drawPicture(target, p, 2, 2, 16, 16);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x < 18 && y >= 2 && y < 18;
      if (!inside) {
        ASSERT_EQ(target.colourAt(x, y), 0x00123456u) << x << "," << y;
        continue;
      }
      const bool left = x < 10, top = y < 10;
      ASSERT_EQ(target.row(y)[x], px(left ? 255 : 0, top ? 0 : 255, left ? 0 : 255)) << x << "," << y;
    }
}

TEST(DrawPicture, NaturalSizeIsAPlainOpaqueCopy) {
  const Picture p = noise(9, 7, 42);
  Bitmap target(12, 10, 0x00ABCDEF);
  drawPicture(target, p, 1, 2);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 1 && x < 10 && y >= 2 && y < 9;
      const Pixel want = inside ? p.pixels[(y - 2) * 9 + (x - 1)] : toPixel(0x00ABCDEF);
      ASSERT_EQ(target.row(y)[x], want) << x << "," << y;
    }
}

TEST(DrawPicture, ReducedBufferCoversTheNaturalArea) {
  // A decoder's half-resolution result: natural 8x6 held as 4x3 pixels.
  Picture p = noise(4, 3, 7);
  p.width = 8;
  p.height = 6;
  Bitmap natural(8, 6);
  drawPicture(natural, p, 0, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(natural.row(y)[x], p.pixels[(y / 2) * 4 + x / 2]) << x << "," << y;
  // Stretched, it averages from the buffer exactly as from its own size.
  Bitmap small(3, 2);
  drawPicture(small, p, 0, 0, 3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(small.row(y)[x], referenceAverage(p, 3, 2, x, y));
}

TEST(DrawPicture, ClippingAtNegativeCoordinatesKeepsTheMapping) {
  const Picture p = noise(23, 17, 3);
  struct Case {
    int x, y, w, h;
  };
  const Case cases[] = {{-2, -1, 23, 17}, {-5, -3, 8, 6}, {-7, 2, 40, 9}, {3, -30, 11, 40}};
  for (const Case& c : cases) {
    // The same drawing, unclipped, on a bitmap large enough to hold all of it.
    Bitmap whole(60, 60, 0x00FFFFFF);
    drawPicture(whole, p, c.x + 30, c.y + 30, c.w, c.h);
    Bitmap clippedTarget(10, 10, 0x00FFFFFF);
    drawPicture(clippedTarget, p, c.x, c.y, c.w, c.h);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(clippedTarget.row(y)[x], whole.row(y + 30)[x + 30])
            << c.x << "," << c.y << " " << c.w << "x" << c.h << " at " << x << "," << y;
  }
}

TEST(DrawPicture, NothingToDraw) {
  Bitmap target(4, 4, 0x00112233);
  const Bitmap before = target;
  drawPicture(target, Picture{}, 0, 0);
  drawPicture(target, noise(3, 3, 1), 0, 0, 0, 5);
  drawPicture(target, noise(3, 3, 1), 4, 0, 3, 3);  // wholly outside
  drawPicture(target, noise(3, 3, 1), -3, 0);
  Picture broken = noise(3, 3, 1);
  broken.pixels.resize(4);  // claims more pixels than it holds
  drawPicture(target, broken, 0, 0, 4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(target.row(y)[x], before.row(y)[x]);
}

Picture icon(int w, int h, std::vector<Pixel> colours, std::vector<std::uint8_t> mask) {
  Picture p = raster(w, h, std::move(colours));
  p.kind = Picture::Kind::Icon;
  p.mask = std::move(mask);
  return p;
}

TEST(DrawPicture, IconGoesThroughItsMaskOverAnEarlierPicture) {
  const Picture under = noise(2, 2, 11);
  // Opaque red; transparent 00 00 00; mask set with colour bits: inverts.
  const Picture ico = icon(3, 1, {px(255, 0, 0), px(0, 0, 0), px(255, 255, 255)}, {0, 1, 1});
  Bitmap target(3, 2);
  drawPicture(target, under, 0, 0, 3, 2);
  const Bitmap before = target;
  drawPicture(target, ico, 0, 1);
  EXPECT_EQ(target.row(1)[0], px(255, 0, 0));
  EXPECT_EQ(target.row(1)[1], before.row(1)[1]);
  EXPECT_EQ(target.row(1)[2], (before.row(1)[2] ^ 0x00FFFFFFu));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(target.row(0)[x], before.row(0)[x]);
}

TEST(DrawPicture, ScaledIconSamplesNearestPixelOfColourAndMask) {
  const Picture ico = icon(2, 2, {px(1, 2, 3), px(0, 0, 0), px(0, 0, 0), px(7, 8, 9)}, {0, 1, 1, 0});
  Bitmap target(4, 4, 0x00404040);
  drawPicture(target, ico, 0, 0, 4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const int q = (y / 2) * 2 + x / 2;
      const Pixel want = q == 0 ? px(1, 2, 3) : q == 3 ? px(7, 8, 9) : toPixel(0x00404040);
      ASSERT_EQ(target.row(y)[x], want) << x << "," << y;
    }
  // Reduced 4 -> 2, each target pixel takes the source pixel under its centre.
  const Picture big = icon(4, 1, {px(1, 0, 0), px(2, 0, 0), px(3, 0, 0), px(4, 0, 0)}, {0, 0, 0, 0});
  Bitmap half(2, 1);
  drawPicture(half, big, 0, 0, 2, 1);
  EXPECT_EQ(half.row(0)[0], px(2, 0, 0));
  EXPECT_EQ(half.row(0)[1], px(4, 0, 0));
}

}  // namespace
}  // namespace tavo
