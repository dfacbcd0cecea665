// Drawing a decoded picture onto a bitmap. Natural-size drawing is exact;
// stretched drawing is a placeholder (nearest pixel) until area averaging lands.
#include <algorithm>

#include "icon/picture.h"

namespace tavo {

void drawPicture(Bitmap& target, const Picture& picture, int x, int y) {
  drawPicture(target, picture, x, y, picture.width, picture.height);
}

void drawPicture(Bitmap& target, const Picture& pic, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0 || pic.pixelWidth <= 0 || pic.pixelHeight <= 0) return;
  const Rect r = clipped(target, {x, y, w, h});
  const bool icon = pic.kind == Picture::Kind::Icon && !pic.mask.empty();
  for (int ty = r.y; ty < r.y + r.h; ++ty) {
    const int sy = static_cast<int>((static_cast<long long>(ty - y) * pic.pixelHeight) / h);
    Pixel* dst = target.row(ty);
    for (int tx = r.x; tx < r.x + r.w; ++tx) {
      const int sx = static_cast<int>((static_cast<long long>(tx - x) * pic.pixelWidth) / w);
      const std::size_t i = static_cast<std::size_t>(sy) * pic.pixelWidth + sx;
      if (icon && pic.mask[i])
        dst[tx] = 0xFF000000u | ((dst[tx] ^ pic.pixels[i]) & 0x00FFFFFFu);
      else
        dst[tx] = pic.pixels[i];
    }
  }
}

}  // namespace tavo
