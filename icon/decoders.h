// The per-format decoders behind decodePicture. Each returns nothing for
// bytes it cannot decode in full; none of them reads outside `bytes`.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "icon/picture.h"

namespace tavo::decoders {

std::optional<Picture> decodeBmp(std::span<const std::uint8_t> bytes);
std::optional<Picture> decodeIcon(std::span<const std::uint8_t> bytes);  // icons and cursors
std::optional<Picture> decodePcx(std::span<const std::uint8_t> bytes);
std::optional<Picture> decodeGif(std::span<const std::uint8_t> bytes);
std::optional<Picture> decodeJpeg(std::span<const std::uint8_t> bytes, int hintWidth, int hintHeight);

}  // namespace tavo::decoders
