// Any bytes handed straight to the icon and cursor decoder: no crash, no read outside
// the bytes, and a picture only when it keeps every promise of a picture.
#include <cstddef>
#include <cstdint>

#include "fuzz/check.h"
#include "icon/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (const auto picture = tavo::decoders::decodeIcon({data, size}))
    tavo::fuzz::checkPicture(*picture, tavo::Picture::Kind::Icon);
  return 0;
}
