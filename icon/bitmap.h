// A 32-bit raster and the exact drawing operations every canvas uses.
// Pixels are kept as blue, green, red, 0xFF bytes in memory (0xFFRRGGBB as
// a little-endian word), the layout QImage::Format_RGB32 wraps without a copy.
#pragma once

#include <cstdint>
#include <vector>

#include "icon/types.h"

namespace tavo {

using Pixel = std::uint32_t;

constexpr Pixel toPixel(Colour c) {
  return 0xFF000000u | (static_cast<Pixel>(redOf(c)) << 16) | (static_cast<Pixel>(greenOf(c)) << 8) |
         blueOf(c);
}
constexpr Colour toColour(Pixel p) {
  return makeColour(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                    static_cast<std::uint8_t>(p));
}

class Bitmap {
 public:
  Bitmap() = default;
  // Each dimension is at least 1, as a backing bitmap always has a pixel.
  Bitmap(int width, int height, Colour fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Pixel* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Pixel* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  Pixel* data() { return pixels_.data(); }
  const Pixel* data() const { return pixels_.data(); }

  Colour colourAt(int x, int y) const { return toColour(row(y)[x]); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

enum class PenStyle { Solid, Dotted };

struct Pen {
  PenStyle style = PenStyle::Solid;
  Colour colour = 0;
};

struct Brush {
  bool hollow = false;
  Colour colour = 0x00FFFFFF;
};

// A rectangle of pixels: left, top, width, height. Empty when w or h <= 0.
struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

Rect clipped(const Bitmap& bitmap, Rect r);

void fill(Bitmap& bitmap, Colour colour);
void fillRect(Bitmap& bitmap, Rect r, Colour colour);

// GDI rectangle: normalised, covers columns left..right-1 and rows
// top..bottom-1; outline in the pen, inside in the brush. Clipped.
// A dotted pen draws only its dots; the gaps keep the pixels beneath.
// Returns the area it may have changed, clipped to the bitmap.
Rect drawRectangle(Bitmap& bitmap, int left, int top, int right, int bottom, const Pen& pen,
                   const Brush& brush);

void drawPoint(Bitmap& bitmap, int x, int y, Colour colour);

// The bitmap as a 24-bit bottom-up bitmap file image: 54-byte header, no
// colour table, rows padded to 4 bytes.
Bytes captureBitmap(const Bitmap& bitmap);

}  // namespace tavo
