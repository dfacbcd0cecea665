// Placeholder: decodes nothing until the real decoder lands.
#include "icon/decoders.h"

namespace tavo::decoders {

std::optional<Picture> decodeGif(std::span<const std::uint8_t>) { return std::nullopt; }

}  // namespace tavo::decoders
