// Recognising picture bytes by their first six bytes.
#include <gtest/gtest.h>

#include "icon/picture.h"

namespace tavo {
namespace {

TEST(Recognise, ByTheFirstSixBytes) {
  using F = PictureFormat;
  const struct {
    const char* name;
    Bytes bytes;
    PictureFormat expected;
  } cases[] = {
      {"empty", {}, F::None},
      {"five bytes of BM", {'B', 'M', 0, 0, 0}, F::None},
      {"BM", {'B', 'M', 0, 0, 0, 0}, F::Bmp},
      {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, F::Jpeg},
      {"five bytes of JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0}, F::None},
      {"icon, one image", {0, 0, 1, 0, 1, 0}, F::Icon},
      {"icon, 256 images (high count byte)", {0, 0, 1, 0, 0, 1}, F::Icon},
      {"icon, no images", {0, 0, 1, 0, 0, 0}, F::None},
      {"cursor", {0, 0, 2, 0, 3, 0}, F::Cursor},
      {"cursor, no images", {0, 0, 2, 0, 0, 0}, F::None},
      {"resource type 3", {0, 0, 3, 0, 1, 0}, F::None},
      {"reserved not 0", {1, 0, 1, 0, 1, 0}, F::None},
      {"GIF87a", {'G', 'I', 'F', '8', '7', 'a'}, F::Gif},
      {"GIF89a", {'G', 'I', 'F', '8', '9', 'a'}, F::Gif},
      {"GIF88a", {'G', 'I', 'F', '8', '8', 'a'}, F::None},
      {"five bytes of GIF", {'G', 'I', 'F', '8', '9'}, F::None},
      {"PCX 8 bits version 5", {0x0A, 5, 1, 8, 0, 0}, F::Pcx},
      {"PCX 8 bits version 0", {0x0A, 0, 1, 8, 0, 0}, F::Pcx},
      {"PCX 8 bits version 6", {0x0A, 6, 1, 8, 0, 0}, F::None},
      {"PCX 8 bits not run-length encoded", {0x0A, 5, 0, 8, 0, 0}, F::None},
      {"PCX 1 bit version 3", {0x0A, 3, 1, 1, 0, 0}, F::Pcx},
      {"PCX 1 bit version 5", {0x0A, 5, 1, 1, 0, 0}, F::None},
      {"PCX 1 bit version 2", {0x0A, 2, 1, 1, 0, 0}, F::None},
      {"PCX 4 bits", {0x0A, 3, 1, 4, 0, 0}, F::None},
      {"PNG", {0x89, 'P', 'N', 'G', 0x0D, 0x0A}, F::None},
      {"TIFF", {'I', 'I', 42, 0, 8, 0}, F::None},
  };
  for (const auto& c : cases) EXPECT_EQ(recognise(c.bytes), c.expected) << c.name;
}

TEST(Recognise, UnrecognisedBytesDecodeToNothing) {
  EXPECT_FALSE(decodePicture(Bytes{}));
  EXPECT_FALSE(decodePicture(Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}));
  EXPECT_FALSE(decodePicture(Bytes(64, 0)));
}

}  // namespace
}  // namespace tavo
