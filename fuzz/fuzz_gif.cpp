// Any bytes handed straight to the GIF decoder: no crash, no read outside
// the bytes, and a picture only when it keeps every promise of a picture.
#include <cstddef>
#include <cstdint>

#include "fuzz/check.h"
#include "icon/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (const auto picture = tavo::decoders::decodeGif({data, size}))
    tavo::fuzz::checkPicture(*picture, tavo::Picture::Kind::Raster);
  return 0;
}
