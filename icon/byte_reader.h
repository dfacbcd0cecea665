// Reading untrusted picture bytes: every read is bounds-checked, and every
// size a decoder allocates goes through the one overflow-checked helper below.
//
// Offsets and lengths are 64-bit, so a file's 32-bit fields can be added and
// multiplied without wrapping; a read that would leave the bytes gives nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "icon/picture.h"

namespace tavo {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

  // True when `count` bytes starting at `at` all lie inside.
  bool has(std::uint64_t at, std::uint64_t count) const { return at <= size() && count <= size() - at; }

  std::optional<std::uint8_t> u8(std::uint64_t at) const {
    if (!has(at, 1)) return std::nullopt;
    return bytes_[at];
  }
  // Little-endian.
  std::optional<std::uint16_t> u16(std::uint64_t at) const {
    if (!has(at, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
  }
  std::optional<std::uint32_t> u32(std::uint64_t at) const {
    if (!has(at, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
  }
  std::optional<std::int32_t> i32(std::uint64_t at) const {
    const auto v = u32(at);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
  }
  // The `count` bytes starting at `at`, or nothing unless all lie inside.
  std::optional<std::span<const std::uint8_t>> slice(std::uint64_t at, std::uint64_t count) const {
    if (!has(at, count)) return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// a * b and a + b, or nothing when the result does not fit in 64 bits.
inline std::optional<std::uint64_t> checkedMul(std::uint64_t a, std::uint64_t b) {
  std::uint64_t r;
  if (__builtin_mul_overflow(a, b, &r)) return std::nullopt;
  return r;
}
inline std::optional<std::uint64_t> checkedAdd(std::uint64_t a, std::uint64_t b) {
  std::uint64_t r;
  if (__builtin_add_overflow(a, b, &r)) return std::nullopt;
  return r;
}

// The pixel count of a width x height picture, or nothing unless both are
// positive and the count is within kMaxPicturePixels. Check this before any
// allocation or any arithmetic that trusts the dimensions.
inline std::optional<std::size_t> picturePixels(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const auto n = checkedMul(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
  if (!n || *n > kMaxPicturePixels) return std::nullopt;
  return static_cast<std::size_t>(*n);
}

// A picture whose natural and decoded size are both width x height, pixels
// opaque black and, for icons, a mask of all opaque; nothing when
// picturePixels refuses the size.
inline std::optional<Picture> allocatePicture(Picture::Kind kind, std::int64_t width, std::int64_t height) {
  const auto n = picturePixels(width, height);
  if (!n) return std::nullopt;
  Picture p;
  p.kind = kind;
  p.width = p.pixelWidth = static_cast<int>(width);
  p.height = p.pixelHeight = static_cast<int>(height);
  p.pixels.assign(*n, 0xFF000000u);
  if (kind == Picture::Kind::Icon) p.mask.assign(*n, 0);
  return p;
}

// 0xFFRRGGBB from the blue, green, red bytes a bitmap stores.
constexpr Pixel pixelFromBgr(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  return 0xFF000000u | (static_cast<Pixel>(r) << 16) | (static_cast<Pixel>(g) << 8) | b;
}

}  // namespace tavo
