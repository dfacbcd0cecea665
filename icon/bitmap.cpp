#include "icon/bitmap.h"

#include <algorithm>

namespace tavo {

namespace {

void putLE32(Bytes& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The dot pattern is fixed to the pixel position, so the shared outline of two
// neighbouring cells gets the same dots whichever cell is drawn last.
bool onDot(int x, int y) { return ((x + y) & 1) == 0; }

}  // namespace

Bitmap::Bitmap(int width, int height, Colour fill)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<std::size_t>(width_) * height_, toPixel(fill)) {}

Rect clipped(const Bitmap& bitmap, Rect r) {
  const int x0 = std::max(r.x, 0);
  const int y0 = std::max(r.y, 0);
  const int x1 = std::min(r.x + std::max(r.w, 0), bitmap.width());
  const int y1 = std::min(r.y + std::max(r.h, 0), bitmap.height());
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

void fill(Bitmap& bitmap, Colour colour) { fillRect(bitmap, {0, 0, bitmap.width(), bitmap.height()}, colour); }

void fillRect(Bitmap& bitmap, Rect r, Colour colour) {
  r = clipped(bitmap, r);
  const Pixel p = toPixel(colour);
  for (int y = r.y; y < r.y + r.h; ++y) std::fill_n(bitmap.row(y) + r.x, r.w, p);
}

Rect drawRectangle(Bitmap& bitmap, int left, int top, int right, int bottom, const Pen& pen,
                   const Brush& brush) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const Rect figure{left, top, right - left, bottom - top};
  if (figure.empty()) return {};
  if (!brush.hollow) fillRect(bitmap, {left + 1, top + 1, figure.w - 2, figure.h - 2}, brush.colour);

  const Pixel p = toPixel(pen.colour);
  const bool dotted = pen.style == PenStyle::Dotted;
  auto plot = [&](int x, int y) {
    if (bitmap.contains(x, y) && (!dotted || onDot(x, y))) bitmap.row(y)[x] = p;
  };
  const int r = right - 1, b = bottom - 1;
  for (int x = std::max(left, 0); x <= std::min(r, bitmap.width() - 1); ++x) {
    plot(x, top);
    plot(x, b);
  }
  for (int y = std::max(top, 0); y <= std::min(b, bitmap.height() - 1); ++y) {
    plot(left, y);
    plot(r, y);
  }
  return clipped(bitmap, figure);
}

void drawPoint(Bitmap& bitmap, int x, int y, Colour colour) {
  if (bitmap.contains(x, y)) bitmap.row(y)[x] = toPixel(colour);
}

Bytes captureBitmap(const Bitmap& bitmap) {
  const int w = bitmap.width(), h = bitmap.height();
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  const std::size_t imageSize = stride * h;
  Bytes out(54 + imageSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  putLE32(out, 2, static_cast<std::uint32_t>(54 + imageSize));
  putLE32(out, 10, 54);
  putLE32(out, 14, 40);
  putLE32(out, 18, static_cast<std::uint32_t>(w));
  putLE32(out, 22, static_cast<std::uint32_t>(h));
  out[26] = 1;
  out[28] = 24;
  putLE32(out, 34, static_cast<std::uint32_t>(imageSize));
  std::uint8_t* dst = out.data() + 54;
  for (int y = h - 1; y >= 0; --y, dst += stride) {
    const Pixel* src = bitmap.row(y);
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = static_cast<std::uint8_t>(src[x]);
      dst[3 * x + 1] = static_cast<std::uint8_t>(src[x] >> 8);
      dst[3 * x + 2] = static_cast<std::uint8_t>(src[x] >> 16);
    }
  }
  return out;
}

}  // namespace tavo
