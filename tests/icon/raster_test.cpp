// The raster operations every canvas draws with: rectangles with their GDI
// edges, pens and brushes, clipping, and the 24-bit capture.
#include <gtest/gtest.h>

#include <string>

#include "icon/bitmap.h"

namespace tavo {
namespace {

constexpr Colour kOld = 0x00112233;
constexpr Colour kPen = 0x000000FF;
constexpr Colour kBrush = 0x0000FF00;

const Pen solidPen{PenStyle::Solid, kPen};
const Brush solidBrush{false, kBrush};

// One character per pixel: 'o' old, 'p' pen, 'b' brush, '?' anything else.
std::string picture(const Bitmap& b) {
  std::string s;
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      const Colour c = b.colourAt(x, y);
      s += c == kOld ? 'o' : c == kPen ? 'p' : c == kBrush ? 'b' : '?';
    }
    s += '\n';
  }
  return s;
}

TEST(DrawRectangle, RightAndBottomAreJustOutside) {
  Bitmap b(20, 20, kOld);
  drawRectangle(b, 0, 0, 17, 17, solidPen, solidBrush);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool outline = (x == 0 || x == 16 || y == 0 || y == 16) && x <= 16 && y <= 16;
      const bool inside = x >= 1 && x <= 15 && y >= 1 && y <= 15;
      const Colour want = outline ? kPen : inside ? kBrush : kOld;
      ASSERT_EQ(b.colourAt(x, y), want) << "pixel " << x << "," << y;
    }
  }
}

TEST(DrawRectangle, NeighbouringCellsShareTheirEdge) {
  Bitmap b(40, 20, kOld);
  drawRectangle(b, 0, 0, 17, 17, solidPen, solidBrush);
  drawRectangle(b, 16, 0, 33, 17, solidPen, solidBrush);
  for (int y = 0; y <= 16; ++y) {
    EXPECT_EQ(b.colourAt(16, y), kPen) << "shared column, row " << y;
    EXPECT_EQ(b.colourAt(32, y), kPen) << "right edge of the second cell, row " << y;
    EXPECT_EQ(b.colourAt(33, y), kOld);
  }
  EXPECT_EQ(b.colourAt(15, 8), kBrush);
  EXPECT_EQ(b.colourAt(17, 8), kBrush);
}

TEST(DrawRectangle, SwappedCornersAreNormalised) {
  struct Case {
    const char* name;
    int left, top, right, bottom;
  };
  const Case cases[] = {{"right to left", 7, 1, 2, 6}, {"bottom to top", 2, 6, 7, 1}, {"both", 7, 6, 2, 1}};
  Bitmap reference(9, 8, kOld);
  drawRectangle(reference, 2, 1, 7, 6, solidPen, solidBrush);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(9, 8, kOld);
    const Rect changed = drawRectangle(b, c.left, c.top, c.right, c.bottom, solidPen, solidBrush);
    EXPECT_EQ(picture(b), picture(reference));
    EXPECT_EQ(changed, (Rect{2, 1, 5, 5}));
  }
  EXPECT_EQ(picture(reference),
            "ooooooooo\n"
            "oopppppoo\n"
            "oopbbbpoo\n"
            "oopbbbpoo\n"
            "oopbbbpoo\n"
            "oopppppoo\n"
            "ooooooooo\n"
            "ooooooooo\n");
}

TEST(DrawRectangle, DegenerateRectangles) {
  struct Case {
    const char* name;
    int left, top, right, bottom;
    const char* expected;
  };
  const Case cases[] = {
      {"empty width", 2, 1, 2, 4, "oooo\noooo\noooo\noooo\n"},
      {"empty height, swapped", 3, 2, 0, 2, "oooo\noooo\noooo\noooo\n"},
      {"one pixel", 1, 1, 2, 2, "oooo\nopoo\noooo\noooo\n"},
      {"two by two has no inside", 1, 1, 3, 3, "oooo\noppo\noppo\noooo\n"},
      {"one column", 1, 0, 2, 4, "opoo\nopoo\nopoo\nopoo\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(4, 4, kOld);
    drawRectangle(b, c.left, c.top, c.right, c.bottom, solidPen, solidBrush);
    EXPECT_EQ(picture(b), c.expected);
  }
}

TEST(DrawRectangle, HollowBrushLeavesTheInside) {
  Bitmap b(6, 6, kOld);
  drawRectangle(b, 0, 0, 6, 6, solidPen, Brush{true, kBrush});
  EXPECT_EQ(picture(b),
            "pppppp\n"
            "poooop\n"
            "poooop\n"
            "poooop\n"
            "poooop\n"
            "pppppp\n");
}

// Redrawing a cell with a dotted outline over a different colour: the gaps
// keep the old colour, so the pixels of the outline are a mix of both.
TEST(DrawRectangle, DottedPenLeavesTheOldColourInItsGaps) {
  Bitmap b(17, 17, kOld);
  drawRectangle(b, 0, 0, 17, 17, Pen{PenStyle::Dotted, kPen}, solidBrush);
  int dots = 0, gaps = 0;
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 17; ++x) {
      const bool outline = x == 0 || x == 16 || y == 0 || y == 16;
      const Colour c = b.colourAt(x, y);
      if (!outline) {
        ASSERT_EQ(c, kBrush) << x << "," << y;
        continue;
      }
      ASSERT_TRUE(c == kPen || c == kOld) << x << "," << y;
      (c == kPen ? dots : gaps) += 1;
    }
  }
  EXPECT_GT(dots, 0);
  EXPECT_GT(gaps, 0);
  // No two neighbouring outline pixels along the top edge are both dots.
  for (int x = 0; x + 1 < 17; ++x)
    EXPECT_FALSE(b.colourAt(x, 0) == kPen && b.colourAt(x + 1, 0) == kPen) << "at " << x;
}

// The dots are tied to pixel positions, so the shared edge of two cells looks
// the same whichever cell was drawn last.
TEST(DrawRectangle, DottedSharedEdgeDoesNotDependOnDrawingOrder) {
  const Pen dotted{PenStyle::Dotted, kPen};
  Bitmap a(40, 20, kOld), b(40, 20, kOld);
  drawRectangle(a, 0, 0, 17, 17, dotted, Brush{true, 0});
  drawRectangle(a, 16, 0, 33, 17, dotted, Brush{true, 0});
  drawRectangle(b, 16, 0, 33, 17, dotted, Brush{true, 0});
  drawRectangle(b, 0, 0, 17, 17, dotted, Brush{true, 0});
  EXPECT_EQ(picture(a), picture(b));
}

TEST(DrawRectangle, ClippingChangesNothingOutsideTheBitmap) {
  struct Case {
    const char* name;
    int left, top, right, bottom;
    Rect changed;
  };
  const Case cases[] = {
      {"overhangs top-left", -2, -2, 3, 3, {0, 0, 3, 3}},
      {"overhangs bottom-right", 2, 2, 9, 9, {2, 2, 3, 3}},
      {"covers everything", -10, -10, 100, 100, {0, 0, 5, 5}},
      {"entirely left", -9, 0, -2, 5, {}},
      {"entirely below", 0, 5, 5, 9, {}},
      {"far away", 100000, 100000, 200000, 200000, {}},
      {"far away, swapped", 200000, -200000, 100000, -100000, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The same figure drawn unclipped on a larger bitmap: the 5x5 bitmap
    // must show exactly the corresponding window of it.
    Bitmap small(5, 5, kOld);
    const Rect changed = drawRectangle(small, c.left, c.top, c.right, c.bottom, solidPen, solidBrush);
    EXPECT_EQ(changed, c.changed);
    const int off = 20;
    Bitmap big(45, 45, kOld);
    drawRectangle(big, c.left + off, c.top + off, c.right + off, c.bottom + off, solidPen, solidBrush);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x)
        ASSERT_EQ(small.colourAt(x, y), big.colourAt(x + off, y + off)) << x << "," << y;
  }
}

TEST(Raster, DrawPointSetsExactlyOnePixelAndClips) {
  Bitmap b(3, 2, kOld);
  drawPoint(b, 2, 1, kPen);
  drawPoint(b, -1, 0, kPen);
  drawPoint(b, 3, 0, kPen);
  drawPoint(b, 0, 2, kPen);
  EXPECT_EQ(picture(b), "ooo\noop\n");
}

TEST(Raster, BitmapKeepsAtLeastOnePixel) {
  const Bitmap b(0, -3, kPen);
  EXPECT_EQ(b.width(), 1);
  EXPECT_EQ(b.height(), 1);
  EXPECT_EQ(b.colourAt(0, 0), kPen);
}

std::uint32_t u32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at)) | (static_cast<std::uint32_t>(b.at(at + 1)) << 8) |
         (static_cast<std::uint32_t>(b.at(at + 2)) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }

TEST(CaptureBitmap, Header) {
  struct Case {
    int w, h;
    std::uint32_t size, stride;
  };
  const Case cases[] = {{16, 16, 822, 48}, {32, 32, 3126, 96}, {5, 3, 54 + 16 * 3, 16}, {1, 1, 58, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    const Bytes cap = captureBitmap(Bitmap(c.w, c.h, kOld));
    ASSERT_EQ(cap.size(), c.size);
    EXPECT_EQ(cap[0], 'B');
    EXPECT_EQ(cap[1], 'M');
    EXPECT_EQ(u32(cap, 2), c.size) << "file size";
    EXPECT_EQ(u32(cap, 6), 0u) << "reserved";
    EXPECT_EQ(u32(cap, 10), 54u) << "pixel offset";
    EXPECT_EQ(u32(cap, 14), 40u) << "header size";
    EXPECT_EQ(u32(cap, 18), static_cast<std::uint32_t>(c.w));
    EXPECT_EQ(u32(cap, 22), static_cast<std::uint32_t>(c.h)) << "positive: bottom-up";
    EXPECT_EQ(u16(cap, 26), 1u) << "planes";
    EXPECT_EQ(u16(cap, 28), 24u) << "bits per pixel";
    EXPECT_EQ(u32(cap, 30), 0u) << "compression";
    EXPECT_EQ(u32(cap, 34), c.stride * c.h) << "image size";
    for (std::size_t f = 38; f < 54; f += 4) EXPECT_EQ(u32(cap, f), 0u) << "field at " << f;
  }
}

TEST(CaptureBitmap, RowsAreBottomUpBlueGreenRed) {
  Bitmap b(16, 16, kOld);
  drawPoint(b, 0, 15, 0x00030201);   // bottom-left
  drawPoint(b, 15, 15, 0x00060504);  // bottom-right
  drawPoint(b, 0, 0, 0x00090807);    // top-left
  const Bytes cap = captureBitmap(b);
  ASSERT_EQ(cap.size(), 822u);
  EXPECT_EQ(cap[54], 0x03) << "blue";
  EXPECT_EQ(cap[55], 0x02) << "green";
  EXPECT_EQ(cap[56], 0x01) << "red";
  EXPECT_EQ(cap[54 + 45], 0x06);
  EXPECT_EQ(cap[54 + 47], 0x04);
  EXPECT_EQ(cap[54 + 15 * 48], 0x09) << "top row is stored last";
  EXPECT_EQ(cap[54 + 15 * 48 + 2], 0x07);
  EXPECT_EQ(cap[54 + 48], 0x11) << "second stored row, an untouched pixel: blue of 0x00112233";
}

TEST(CaptureBitmap, RowsArePaddedWithZerosToFourBytes) {
  Bitmap b(5, 3, 0x00FFFFFF);
  drawPoint(b, 4, 2, 0x00ABCDEF);
  drawPoint(b, 0, 0, 0x00010203);
  const Bytes cap = captureBitmap(b);
  ASSERT_EQ(cap.size(), 54u + 16 * 3);
  for (int stored = 0; stored < 3; ++stored) {
    const std::size_t row = 54 + 16 * static_cast<std::size_t>(stored);
    EXPECT_EQ(cap[row + 15], 0) << "padding of stored row " << stored;
  }
  // Bottom row (y = 2) first: its last pixel at 12..14.
  EXPECT_EQ(cap[54 + 12], 0xAB);
  EXPECT_EQ(cap[54 + 13], 0xCD);
  EXPECT_EQ(cap[54 + 14], 0xEF);
  EXPECT_EQ(cap[54 + 11], 0xFF);
  // Top row (y = 0) last: its first pixel at 54 + 32.
  EXPECT_EQ(cap[54 + 32], 0x01);
  EXPECT_EQ(cap[54 + 33], 0x02);
  EXPECT_EQ(cap[54 + 34], 0x03);
}

}  // namespace
}  // namespace tavo
