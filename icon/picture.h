// Pictures: recognising and decoding picture file bytes, placing a
// background picture, and drawing a picture onto a bitmap. Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "icon/bitmap.h"
#include "icon/types.h"

namespace tavo {

// Larger pictures are refused before anything is allocated: they are far
// beyond any picture a user turns into an icon, and likely malicious.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 27;

struct Picture {
  enum class Kind { Raster, Icon };
  Kind kind = Kind::Raster;
  int width = 0;   // natural size
  int height = 0;
  // The decoded pixels, rows top-down, 0xFFRRGGBB. They cover the whole
  // natural area, but may be fewer than width x height when a decoder reduced
  // the picture for a small target (see decodePicture's hint).
  int pixelWidth = 0;
  int pixelHeight = 0;
  // 0: the pixels cover the natural area evenly (always so when pixelWidth ==
  // width). n > 0: each pixel stands for n x n natural pixels and the last
  // column and row for what remains, as in a 1/n reduction of a size that is
  // not a multiple of n; then pixelWidth == ceil(width / n), likewise heights.
  int pixelSpan = 0;
  std::vector<Pixel> pixels;
  // Icons only: one byte per pixel, 1 = transparent (exclusive-or with the
  // colour), 0 = opaque. Empty for raster pictures.
  std::vector<std::uint8_t> mask;
};

enum class PictureFormat { None, Bmp, Jpeg, Icon, Cursor, Gif, Pcx };

// By the first six bytes only; fewer than six bytes is never a picture.
PictureFormat recognise(std::span<const std::uint8_t> bytes);

// A picture, or nothing for empty, unrecognised, truncated or corrupt bytes.
// hintWidth/hintHeight (0 = none) promise the picture will be drawn no larger
// than that; a decoder may then decode at a reduced resolution as long as
// every drawing stays within 1 of the full-resolution result.
std::optional<Picture> decodePicture(std::span<const std::uint8_t> bytes, int hintWidth = 0,
                                     int hintHeight = 0);

// Draws at natural size, or stretched to exactly w x h (aspect ratio not
// kept). Raster pictures are copied opaquely, resampled by area averaging;
// icons go through their mask. Clipped to the bitmap.
void drawPicture(Bitmap& target, const Picture& picture, int x, int y);
void drawPicture(Bitmap& target, const Picture& picture, int x, int y, int w, int h);

// Mode 2 placement: centred, reduced proportionally to fit, never enlarged.
Rect placeCentred(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight);

// The background of a canvas: the picture placed per mode (0 top-left,
// 1 tiled, 2 centred; other values clamped), the rest in the background
// colour. Without a picture, the whole bitmap in the background colour.
void paintBackground(Bitmap& target, const Picture* picture, int mode, Colour background);

}  // namespace tavo
