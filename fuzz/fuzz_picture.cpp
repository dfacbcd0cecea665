// The whole road of picture bytes through the system: recognition and
// decoding (with and without the hint a conversion gives), the background of
// a canvas in every picture mode, a stretched drawing onto the icon canvases
// and their capture. Nothing may crash or write outside a bitmap, and a
// capture keeps its fixed layout.
#include <cstddef>
#include <cstdint>

#include "fuzz/check.h"
#include "icon/bitmap.h"
#include "icon/picture.h"

namespace {

using tavo::Bitmap;
using tavo::Picture;
using tavo::fuzz::require;

Picture::Kind kindOf(tavo::PictureFormat format) {
  return format == tavo::PictureFormat::Icon || format == tavo::PictureFormat::Cursor ? Picture::Kind::Icon
                                                                                      : Picture::Kind::Raster;
}

void requireCapture(const Bitmap& b) {
  const tavo::Bytes capture = tavo::captureBitmap(b);
  const std::size_t stride = (static_cast<std::size_t>(b.width()) * 3 + 3) / 4 * 4;
  require(capture.size() == 54 + stride * b.height(), "capture size");
  require(capture[0] == 'B' && capture[1] == 'M', "capture signature");
}

void drawEverywhere(const Picture& picture) {
  // Canvas backgrounds: the editor's previews, an odd size, the main
  // window's preview size.
  for (const int mode : {0, 1, 2, -1, 7}) {
    for (const auto& [w, h] : {std::pair{16, 16}, std::pair{33, 17}, std::pair{84, 84}}) {
      Bitmap canvas(w, h, 0x00A75450);
      tavo::paintBackground(canvas, &picture, mode, tavo::kDefaultColour);
      requireCapture(canvas);
    }
  }
  // The conversion: stretched to exactly the icon canvas, over a background.
  for (const int n : {16, 32}) {
    Bitmap icon(n, n, 0x00FFFFFF);
    tavo::drawPicture(icon, picture, 0, 0, n, n);
    requireCapture(icon);
  }
  // Placements that need clipping, at natural size and stretched.
  Bitmap small(7, 5, 0);
  tavo::drawPicture(small, picture, -3, -2);
  tavo::drawPicture(small, picture, 5, 4);
  tavo::drawPicture(small, picture, -4, 2, 9, 1);
  tavo::drawPicture(small, picture, 2, -1, 1, 40);
  tavo::drawPicture(small, picture, 3, 3, 0, 5);
  tavo::drawPicture(small, picture, 3, 3, -2, -2);
  requireCapture(small);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes{data, size};
  const tavo::PictureFormat format = tavo::recognise(bytes);
  const auto full = tavo::decodePicture(bytes);
  const auto hinted = tavo::decodePicture(bytes, 32, 32);
  require(format != tavo::PictureFormat::None || (!full && !hinted), "unrecognised bytes are no picture");
  require(size >= 6 || !full, "fewer than six bytes are no picture");
  require(full.has_value() == hinted.has_value(), "the size hint does not decide whether it is a picture");
  if (full) {
    tavo::fuzz::checkPicture(*full, kindOf(format));
    tavo::fuzz::checkPicture(*hinted, kindOf(format));
    require(full->width == hinted->width && full->height == hinted->height, "the size hint keeps the natural size");
    drawEverywhere(*full);
    Bitmap icon(32, 32, 0);
    tavo::drawPicture(icon, *hinted, 0, 0, 32, 32);
    requireCapture(icon);
  }
  // No picture draws nothing and is no error.
  Bitmap canvas(16, 16, 0x00123456);
  tavo::paintBackground(canvas, nullptr, 2, 0x00123456);
  requireCapture(canvas);
  return 0;
}
