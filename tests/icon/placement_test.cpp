// Placing a canvas's background picture: top-left (mode 0), tiled (mode 1)
// and centred, reduced to fit (mode 2), with the background colour around it.
#include <gtest/gtest.h>

#include <functional>

#include "icon/bitmap.h"
#include "icon/picture.h"

namespace tavo {
namespace {

constexpr Colour kBackground = 0x00336699;  // 0x00BBGGRR
constexpr Pixel kBackgroundPixel = toPixel(kBackground);

Picture raster(int w, int h, const std::function<Pixel(int, int)>& colour) {
  Picture p;
  p.width = p.pixelWidth = w;
  p.height = p.pixelHeight = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels.push_back(colour(x, y));
  return p;
}

// Every pixel different, so a shifted or mirrored copy is caught.
Pixel pattern(int x, int y) { return 0xFF000000u | static_cast<Pixel>(x << 16) | static_cast<Pixel>(y << 8) | 0x5A; }

constexpr Pixel kSolid = 0xFF10C020u;
Pixel solid(int, int) { return kSolid; }

TEST(PlaceCentred, Cases) {
  const struct {
    int a, b, w, h;
    Rect expected;
  } cases[] = {
      {84, 84, 40, 30, {22, 27, 40, 30}},   // fits: natural size, centred
      {84, 84, 168, 84, {0, 21, 84, 42}},   // too wide
      {84, 84, 84, 168, {21, 0, 42, 84}},   // too high
      {84, 84, 168, 45, {0, 30, 84, 22}},   // 22.5 rows truncate to 22; y = 19 + 23 div 2
      {16, 16, 16, 16, {0, 0, 16, 16}},     // exactly the area
      {84, 84, 84, 84, {0, 0, 84, 84}},
      {84, 84, 41, 31, {21, 26, 41, 31}},   // odd remainders round down
      {16, 16, 100, 50, {0, 4, 16, 8}},
      {84, 84, 1000, 1000, {0, 0, 84, 84}},  // never enlarged, but reduced to fill
  };
  for (const auto& c : cases)
    EXPECT_EQ(placeCentred(c.a, c.b, c.w, c.h), c.expected) << c.w << "x" << c.h << " on " << c.a << "x" << c.b;
}

TEST(PlaceCentred, PictureWithoutPixelsPlacesNothing) {
  EXPECT_TRUE(placeCentred(84, 84, 0, 30).empty());
  EXPECT_TRUE(placeCentred(84, 84, 30, 0).empty());
  EXPECT_TRUE(placeCentred(84, 84, -5, 30).empty());
}

// Every pixel of the bitmap: the picture's inside `r`, the background outside.
void expectPlaced(const Bitmap& b, Rect r, const std::function<Pixel(int, int)>& inside) {
  int wrong = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) {
      const bool in = x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
      const Pixel want = in ? inside(x - r.x, y - r.y) : kBackgroundPixel;
      if (b.row(y)[x] != want && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << "," << y << ") " << std::hex << b.row(y)[x] << " want " << want;
    }
}

TEST(PaintBackground, CentredAtNaturalSizeWithBackgroundAround) {
  Bitmap b(84, 84, 0x00FFFFFF);
  const Picture p = raster(40, 30, pattern);
  paintBackground(b, &p, 2, kBackground);
  expectPlaced(b, {22, 27, 40, 30}, pattern);
}

TEST(PaintBackground, CentredAndReducedToFit) {
  const struct {
    int w, h;
    Rect expected;
  } cases[] = {
      {168, 84, {0, 21, 84, 42}},
      {84, 168, {21, 0, 42, 84}},
      {168, 45, {0, 30, 84, 22}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    Bitmap b(84, 84, 0x00FFFFFF);
    const Picture p = raster(c.w, c.h, solid);
    paintBackground(b, &p, 2, kBackground);
    expectPlaced(b, c.expected, solid);
  }
}

TEST(PaintBackground, TopLeftAtNaturalSize) {
  Bitmap b(84, 84, 0x00FFFFFF);
  const Picture p = raster(40, 30, pattern);
  paintBackground(b, &p, 0, kBackground);
  expectPlaced(b, {0, 0, 40, 30}, pattern);

  // Larger than the area: clipped, not reduced, and no background shows.
  const Picture big = raster(100, 90, pattern);
  paintBackground(b, &big, 0, kBackground);
  expectPlaced(b, {0, 0, 84, 84}, pattern);
}

TEST(PaintBackground, TiledCoversTheWholeArea) {
  Bitmap b(84, 84, 0x00FFFFFF);
  const Picture p = raster(40, 30, pattern);
  paintBackground(b, &p, 1, kBackground);
  expectPlaced(b, {0, 0, 84, 84}, [](int x, int y) { return pattern(x % 40, y % 30); });
}

TEST(PaintBackground, ModeIsClamped) {
  const Picture p = raster(40, 30, pattern);
  Bitmap low(84, 84, 0x00FFFFFF);
  paintBackground(low, &p, -3, kBackground);
  expectPlaced(low, {0, 0, 40, 30}, pattern);
  Bitmap high(84, 84, 0x00FFFFFF);
  paintBackground(high, &p, 7, kBackground);
  expectPlaced(high, {22, 27, 40, 30}, pattern);
}

TEST(PaintBackground, NoPictureIsAllBackground) {
  for (int mode : {0, 1, 2}) {
    Bitmap b(20, 10, 0x00FFFFFF);
    paintBackground(b, nullptr, mode, kBackground);
    expectPlaced(b, {}, solid);
    const Picture empty;
    paintBackground(b, &empty, mode, kBackground);
    expectPlaced(b, {}, solid);
  }
}

// An icon as the background: the area under its rectangle is not painted
// first, so a transparent pixel (colour 00 00 00, mask 1) keeps what the
// bitmap held.
TEST(PaintBackground, IconAtItsNaturalSizeAndUnderItsTransparentPixels) {
  Picture icon = raster(16, 16, pattern);
  icon.kind = Picture::Kind::Icon;
  icon.mask.assign(256, 0);
  icon.mask[3 * 16 + 5] = 1;
  icon.pixels[3 * 16 + 5] = 0xFF000000u;
  constexpr Pixel kEarlier = toPixel(0x00ABCDEF);

  Bitmap same(16, 16, 0x00ABCDEF);
  paintBackground(same, &icon, 2, kBackground);
  expectPlaced(same, {0, 0, 16, 16}, [&](int x, int y) { return x == 5 && y == 3 ? kEarlier : pattern(x, y); });

  Bitmap larger(20, 20, 0x00ABCDEF);
  paintBackground(larger, &icon, 0, kBackground);
  expectPlaced(larger, {0, 0, 16, 16}, [&](int x, int y) { return x == 5 && y == 3 ? kEarlier : pattern(x, y); });
}

}  // namespace
}  // namespace tavo
