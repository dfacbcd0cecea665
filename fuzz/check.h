// What every decoded picture must satisfy, whatever bytes it came from. A
// broken promise aborts, so libFuzzer records the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "icon/picture.h"

namespace tavo::fuzz {

inline void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "broken picture invariant: %s\n", what);
  std::abort();
}

inline void checkPicture(const Picture& p, Picture::Kind kind) {
  require(p.kind == kind, "kind of the decoder's format");
  require(p.width > 0 && p.height > 0, "positive natural size");
  require(static_cast<std::uint64_t>(p.width) * static_cast<std::uint64_t>(p.height) <= kMaxPicturePixels,
          "natural size within the pixel cap");
  require(p.pixelWidth > 0 && p.pixelHeight > 0, "decoded pixels present");
  require(p.pixelWidth <= p.width && p.pixelHeight <= p.height, "decoded pixels no larger than natural size");
  require(p.pixelSpan >= 0, "pixel span not negative");
  if (p.pixelSpan > 0) {
    const std::int64_t n = p.pixelSpan;
    require(p.pixelWidth == (p.width + n - 1) / n && p.pixelHeight == (p.height + n - 1) / n,
            "a reduction by n keeps ceil(natural / n) pixels");
  }
  require(p.pixels.size() == static_cast<std::size_t>(p.pixelWidth) * static_cast<std::size_t>(p.pixelHeight),
          "pixel count matches the decoded size");
  if (kind == Picture::Kind::Icon) {
    require(p.mask.size() == p.pixels.size(), "one mask byte per pixel");
    for (const std::uint8_t m : p.mask) require(m <= 1, "mask bytes are 0 or 1");
  } else {
    require(p.mask.empty(), "raster pictures have no mask");
  }
}

}  // namespace tavo::fuzz
