// Small picture files built in code for the decoder tests: the headers are
// assembled field by field here, the pixel bytes are written out by each test.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "icon/picture.h"
#include "icon/types.h"

namespace tavo::fixtures {

inline void put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

// The fields of a 40-byte BITMAPINFOHEADER (or the first 40 of a longer one).
struct InfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t planes = 1;
  std::uint16_t bpp = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
};

// The header, padded with zeros to its stated size when that exceeds 40.
inline Bytes infoHeader(const InfoHeader& h) {
  Bytes b;
  put32(b, h.size);
  put32(b, static_cast<std::uint32_t>(h.width));
  put32(b, static_cast<std::uint32_t>(h.height));
  put16(b, h.planes);
  put16(b, h.bpp);
  put32(b, h.compression);
  put32(b, h.imageSize);
  put32(b, 2835);  // resolution: any value is ignored
  put32(b, 2835);
  put32(b, h.coloursUsed);
  put32(b, 0);
  if (h.size > 40) b.resize(h.size, 0);
  return b;
}

// Colour table entries blue, green, red, 0 for colours 0xRRGGBB.
inline Bytes colourTable(std::initializer_list<std::uint32_t> rgb) {
  Bytes b;
  for (std::uint32_t c : rgb) {
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
    b.push_back(static_cast<std::uint8_t>(c >> 16));
    b.push_back(0);
  }
  return b;
}

// A bitmap file: file header, `header` (info header bytes), `table`, then
// `rows` at bfOffBits (by default right after the table).
inline Bytes bmpFile(const Bytes& header, const Bytes& table, const Bytes& rows,
                     std::optional<std::uint32_t> pixelsAt = std::nullopt) {
  Bytes b{'B', 'M'};
  const std::uint32_t at = pixelsAt.value_or(static_cast<std::uint32_t>(14 + header.size() + table.size()));
  put32(b, static_cast<std::uint32_t>(at + rows.size()));
  put32(b, 0);
  put32(b, at);
  append(b, header);
  append(b, table);
  if (b.size() < at) b.resize(at, 0);
  append(b, rows);
  return b;
}

// One icon or cursor directory entry and its image bytes.
struct IconEntry {
  std::uint8_t width = 32;
  std::uint8_t height = 32;
  std::uint8_t colourCount = 0;
  Bytes image;
};

// An icon file (type 1) or cursor file (type 2) with the images stored in
// directory order right after the directory.
inline Bytes iconFile(const std::vector<IconEntry>& entries, std::uint16_t type = 1) {
  Bytes b;
  put16(b, 0);
  put16(b, type);
  put16(b, static_cast<std::uint16_t>(entries.size()));
  std::uint32_t at = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const auto& e : entries) {
    b.push_back(e.width);
    b.push_back(e.height);
    b.push_back(e.colourCount);
    b.push_back(0);
    put16(b, 1);
    put16(b, 0);
    put32(b, static_cast<std::uint32_t>(e.image.size()));
    put32(b, at);
    at += static_cast<std::uint32_t>(e.image.size());
  }
  for (const auto& e : entries) append(b, e.image);
  return b;
}

// An icon image: info header (height field = 2 x height), table, colour rows,
// mask rows.
inline Bytes iconImage(int width, int height, std::uint16_t bpp, const Bytes& table, const Bytes& colourRows,
                       const Bytes& maskRows) {
  InfoHeader h;
  h.width = width;
  h.height = 2 * height;
  h.bpp = bpp;
  Bytes b = infoHeader(h);
  append(b, table);
  append(b, colourRows);
  append(b, maskRows);
  return b;
}

// A solid 24-bit icon image of colour 0xRRGGBB with an all-opaque mask.
inline Bytes solidIconImage(int size, std::uint32_t rgb) {
  const std::size_t stride = (static_cast<std::size_t>(size) * 3 + 3) / 4 * 4;
  Bytes rows;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      rows.push_back(static_cast<std::uint8_t>(rgb));
      rows.push_back(static_cast<std::uint8_t>(rgb >> 8));
      rows.push_back(static_cast<std::uint8_t>(rgb >> 16));
    }
    rows.resize(rows.size() + stride - static_cast<std::size_t>(size) * 3, 0);
  }
  const Bytes mask(static_cast<std::size_t>((size + 31) / 32 * 4) * size, 0);
  return iconImage(size, size, 24, {}, rows, mask);
}

// A 128-byte PCX header.
struct PcxHeader {
  std::uint8_t version = 5;
  std::uint8_t encoding = 1;
  std::uint8_t bpp = 8;
  std::uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  std::uint8_t planes = 1;
  std::uint16_t bytesPerLine = 2;
  Bytes egaPalette;  // up to 48 bytes at offset 16
};

inline Bytes pcxHeader(const PcxHeader& h) {
  Bytes b{0x0A, h.version, h.encoding, h.bpp};
  put16(b, h.xmin);
  put16(b, h.ymin);
  put16(b, h.xmax);
  put16(b, h.ymax);
  put16(b, 72);
  put16(b, 72);
  Bytes ega = h.egaPalette;
  ega.resize(48, 0);
  append(b, ega);
  b.push_back(0);
  b.push_back(h.planes);
  put16(b, h.bytesPerLine);
  put16(b, 1);
  b.resize(128, 0);
  return b;
}

// 0xFFRRGGBB of a decoded pixel at column x, row y (from the top).
inline Pixel at(const Picture& p, int x, int y) {
  return p.pixels[static_cast<std::size_t>(y) * p.pixelWidth + x];
}
inline int maskAt(const Picture& p, int x, int y) { return p.mask[static_cast<std::size_t>(y) * p.pixelWidth + x]; }

inline constexpr Pixel kBlack = 0xFF000000u;
inline constexpr Pixel kWhite = 0xFFFFFFFFu;

}  // namespace tavo::fixtures
