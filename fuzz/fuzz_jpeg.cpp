// Any bytes handed straight to the JPEG decoder, without a size hint and with
// the hint a 16x16 conversion gives. Bad data must leave through the error
// manager (a longjmp, never an exit), and the hint may change the resolution
// of the decoded pixels but never whether the bytes are a picture or its size.
#include <cstddef>
#include <cstdint>

#include "fuzz/check.h"
#include "icon/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tavo::fuzz::require;
  const std::span<const std::uint8_t> bytes{data, size};
  const auto full = tavo::decoders::decodeJpeg(bytes, 0, 0);
  const auto reduced = tavo::decoders::decodeJpeg(bytes, 16, 16);
  require(full.has_value() == reduced.has_value(), "the size hint does not decide whether it is a picture");
  if (!full) return 0;
  tavo::fuzz::checkPicture(*full, tavo::Picture::Kind::Raster);
  tavo::fuzz::checkPicture(*reduced, tavo::Picture::Kind::Raster);
  require(full->width == reduced->width && full->height == reduced->height,
          "the size hint keeps the natural size");
  require(full->pixelWidth == full->width && full->pixelHeight == full->height,
          "without a hint every pixel is decoded");
  return 0;
}
