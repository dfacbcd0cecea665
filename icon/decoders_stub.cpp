// Placeholder decoders: recognise nothing until the real ones land.
// Each real decoder replaces its line here by its own file.
#include "icon/decoders.h"

namespace tavo::decoders {

std::optional<Picture> decodeBmp(std::span<const std::uint8_t>) { return std::nullopt; }
std::optional<Picture> decodeIcon(std::span<const std::uint8_t>) { return std::nullopt; }
std::optional<Picture> decodePcx(std::span<const std::uint8_t>) { return std::nullopt; }
std::optional<Picture> decodeGif(std::span<const std::uint8_t>) { return std::nullopt; }
std::optional<Picture> decodeJpeg(std::span<const std::uint8_t>, int, int) { return std::nullopt; }

}  // namespace tavo::decoders
