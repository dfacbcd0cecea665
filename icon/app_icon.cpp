#include "icon/app_icon.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "icon/patch.h"
#include "icon/templates.h"

namespace tavo {

namespace {

// A framed landscape (sky, sun, hill) in a rounded square, described on a
// 32-unit grid so both sizes show the same picture; outside the rounded
// corners the icon is transparent.
bool transparentAt(double x, double y) {
  const double r = 5.0;  // corner radius
  const double cx = std::clamp(x, r, 32.0 - r);
  const double cy = std::clamp(y, r, 32.0 - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r;
}

Colour colourAt(double x, double y) {
  if (x < 2 || y < 2 || x > 30 || y > 30) return makeColour(0x1E, 0x3C, 0x78);  // frame
  if ((x - 22) * (x - 22) + (y - 10) * (y - 10) < 20) return makeColour(0xFF, 0xC8, 0x28);  // sun
  if (y > 21 + (x - 10) * (x - 10) / 30.0) return makeColour(0x3C, 0xAA, 0x46);  // near hill
  if (y > 19 + (x - 26) * (x - 26) / 18.0) return makeColour(0x2A, 0x80, 0x3A);  // far hill
  const double t = (y - 2) / 28.0;  // sky, lighter towards the horizon
  return makeColour(static_cast<std::uint8_t>(100 + 90 * t), static_cast<std::uint8_t>(160 + 60 * t),
                    static_cast<std::uint8_t>(235 + 15 * t));
}

Bytes drawn(Bytes icon, int n) {
  const double unit = 32.0 / n;
  for (int row = 1; row <= n; ++row) {
    for (int column = 1; column <= n; ++column) {
      const double x = (column - 0.5) * unit;  // pixel centres on the 32-unit grid
      const double y = (row - 0.5) * unit;
      const bool clear = transparentAt(x, y);
      patchIconBytes(icon, n, column, row, clear, clear ? 0 : colourAt(x, y));
    }
  }
  return icon;
}

}  // namespace

Bytes appIcon16() { return drawn(template16(), 16); }
Bytes appIcon32() { return drawn(template32(), 32); }

Bytes appIconFile() {
  Bytes both = templateBoth();
  const Bytes small = appIcon16();
  const Bytes large = appIcon32();
  // The one-image files hold their image after the 22-byte header and entry.
  std::copy(small.begin() + 22, small.end(), both.begin() + layout::kBothImage16At);
  std::copy(large.begin() + 22, large.end(), both.begin() + layout::kBothImage32At);
  return both;
}

std::vector<std::uint32_t> iconArgb(const Bytes& icon) {
  int n = 0;
  if (icon.size() == layout::kSize16) n = 16;
  if (icon.size() == layout::kSize32) n = 32;
  if (n == 0) return {};
  const std::size_t maskAt = n == 16 ? layout::kMask16At : layout::kMask32At;
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(n) * n);
  for (int y = 0; y < n; ++y) {
    const std::size_t stored = static_cast<std::size_t>(n - 1 - y);  // rows are bottom-up
    for (int x = 0; x < n; ++x) {
      const std::size_t p = layout::kPixelsAt + stored * 3 * n + 3 * static_cast<std::size_t>(x);
      const std::uint8_t maskByte = icon[maskAt + stored * 4 + x / 8];
      const bool clear = (maskByte >> (7 - x % 8)) & 1;
      const std::uint32_t rgb = (std::uint32_t{icon[p + 2]} << 16) | (std::uint32_t{icon[p + 1]} << 8) | icon[p];
      argb[static_cast<std::size_t>(y) * n + x] = clear ? rgb : 0xFF000000u | rgb;
    }
  }
  return argb;
}

}  // namespace tavo
