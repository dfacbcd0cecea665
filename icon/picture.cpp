#include "icon/picture.h"

#include <algorithm>

#include "icon/decoders.h"

namespace tavo {

PictureFormat recognise(std::span<const std::uint8_t> b) {
  if (b.size() < 6) return PictureFormat::None;
  if (b[0] == 0x42 && b[1] == 0x4D) return PictureFormat::Bmp;
  if (b[0] == 0xFF && b[1] == 0xD8) return PictureFormat::Jpeg;
  const unsigned count = b[4] | (b[5] << 8);
  if (b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0 && count >= 1) return PictureFormat::Icon;
  if (b[0] == 0 && b[1] == 0 && b[2] == 2 && b[3] == 0 && count >= 1) return PictureFormat::Cursor;
  if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') && b[5] == 'a')
    return PictureFormat::Gif;
  if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::Pcx;
  if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureFormat::Pcx;
  return PictureFormat::None;
}

std::optional<Picture> decodePicture(std::span<const std::uint8_t> bytes, int hintWidth, int hintHeight) {
  switch (recognise(bytes)) {
    case PictureFormat::Bmp: return decoders::decodeBmp(bytes);
    case PictureFormat::Jpeg: return decoders::decodeJpeg(bytes, hintWidth, hintHeight);
    case PictureFormat::Icon:
    case PictureFormat::Cursor: return decoders::decodeIcon(bytes);
    case PictureFormat::Gif: return decoders::decodeGif(bytes);
    case PictureFormat::Pcx: return decoders::decodePcx(bytes);
    case PictureFormat::None: break;
  }
  return std::nullopt;
}

Rect placeCentred(int a, int b, int w, int h) {
  if (w <= 0 || h <= 0 || a <= 0 || b <= 0) return {};  // nothing to scale, and no division by zero
  int x = 0, y = 0;
  if (w <= a) {
    x += (a - w) / 2;
    a = w;
  }
  if (h <= b) {
    y += (b - h) / 2;
    b = h;
  }
  if (w > a || h > b) {
    const double t = std::min(static_cast<double>(a) / w, static_cast<double>(b) / h);
    const int w2 = static_cast<int>(w * t);
    const int h2 = static_cast<int>(h * t);
    return {x + (a - w2) / 2, y + (b - h2) / 2, w2, h2};
  }
  return {x, y, w, h};
}

void paintBackground(Bitmap& target, const Picture* picture, int mode, Colour background) {
  mode = std::clamp(mode, 0, 2);
  if (picture == nullptr || picture->width <= 0 || picture->height <= 0) {
    fill(target, background);
    return;
  }
  const int a = target.width(), b = target.height();
  if (mode == 1) {
    for (int y = 0; y < b; y += picture->height)
      for (int x = 0; x < a; x += picture->width) drawPicture(target, *picture, x, y);
    return;
  }
  const Rect r = mode == 0 ? Rect{0, 0, picture->width, picture->height}
                           : placeCentred(a, b, picture->width, picture->height);
  // Only the area outside the picture's rectangle gets the background colour.
  fillRect(target, {0, 0, a, r.y}, background);
  fillRect(target, {0, r.y + r.h, a, b - (r.y + r.h)}, background);
  fillRect(target, {0, r.y, r.x, r.h}, background);
  fillRect(target, {r.x + r.w, r.y, a - (r.x + r.w), r.h}, background);
  if (mode == 0)
    drawPicture(target, *picture, 0, 0);
  else
    drawPicture(target, *picture, r.x, r.y, r.w, r.h);
}

}  // namespace tavo
