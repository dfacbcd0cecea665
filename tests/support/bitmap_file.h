// Small 24-bit Windows bitmap files made in the test, for the widget tests.
#pragma once

#include <cstdint>
#include <functional>

#include "icon/types.h"

namespace tavo::testing {

// A bottom-up 24-bit bitmap file, colour(x, y) with y counted from the top.
inline Bytes bmp24(int w, int h, const std::function<Colour(int, int)>& colour) {
  const int stride = (3 * w + 3) / 4 * 4;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(stride * h);
  Bytes b(size, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  put32(34, static_cast<std::uint32_t>(stride * h));
  for (int y = 0; y < h; ++y) {
    const std::size_t row = 54 + static_cast<std::size_t>(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      const Colour c = colour(x, y);
      b[row + 3 * x] = blueOf(c);
      b[row + 3 * x + 1] = greenOf(c);
      b[row + 3 * x + 2] = redOf(c);
    }
  }
  return b;
}

// The same in one colour.
inline Bytes bmp24(int w, int h, Colour colour) {
  return bmp24(w, h, [colour](int, int) { return colour; });
}

}  // namespace tavo::testing
