// GIF through giflib, read from memory: the first image only, read record by
// record (never the whole file), placed at its offset on the logical screen
// and clipped to it. The natural size is the logical screen.
//
// Choices where GIF leaves room:
// - Screen pixels outside the first image take the background colour of the
//   global colour table, or black without one (or with an index past it).
// - Transparency is ignored: every pixel shows its colour-table colour, as
//   every raster picture is drawn opaque.
// - The image's own colour table, else the global one; a file with neither
//   shows index i as grey i. Indexes past the table are black.
// - Any giflib error before the first image is complete (bad LZW codes, a
//   file cut inside the image, no image before the trailer) and a first image
//   of zero width or height give no picture.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <gif_lib.h>

#include "icon/decoders.h"

namespace tavo::decoders {

namespace {

struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

// giflib's input callback: copies what is left, never past the end; a short
// read is an error to giflib.
int readFromMemory(GifFileType* gif, GifByteType* into, int wanted) {
  auto* src = static_cast<Source*>(gif->UserData);
  if (wanted <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(wanted), src->size - src->at);
  std::memcpy(into, src->data + src->at, n);
  src->at += n;
  return static_cast<int>(n);
}

constexpr Pixel rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (Pixel{r} << 16) | (Pixel{g} << 8) | b;
}

// All 256 possible indexes, so no index can read past a shorter table.
void fillPalette(const ColorMapObject* map, Pixel (&palette)[256]) {
  if (map == nullptr) {
    for (int i = 0; i < 256; ++i) palette[i] = rgb(i, i, i);
    return;
  }
  const int count = std::clamp(map->ColorCount, 0, 256);
  for (int i = 0; i < 256; ++i)
    palette[i] = i < count ? rgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue) : rgb(0, 0, 0);
}

// The image's row that the n-th stored line holds: interlaced images store
// every 8th row from 0, then every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> storedRowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

bool readImage(GifFileType* gif, Picture& out) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& desc = gif->Image;
  const int w = desc.Width, h = desc.Height;
  if (w <= 0 || h <= 0 || desc.Left < 0 || desc.Top < 0) return false;
  if (static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > kMaxPicturePixels) return false;

  // The image's indexes, in stored order, grown line by line so that a file
  // claiming a huge image but cut short fails before the memory is taken.
  std::vector<GifPixelType> lines;
  try {
    lines.reserve(static_cast<std::size_t>(w) * h);
    for (int n = 0; n < h; ++n) {
      lines.resize(static_cast<std::size_t>(n + 1) * w);
      if (DGifGetLine(gif, lines.data() + static_cast<std::size_t>(n) * w, w) == GIF_ERROR) return false;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }

  Pixel palette[256];
  fillPalette(desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap, palette);
  Pixel background = rgb(0, 0, 0);
  if (const ColorMapObject* global = gif->SColorMap;
      global != nullptr && gif->SBackGroundColor >= 0 && gif->SBackGroundColor < global->ColorCount) {
    const GifColorType& c = global->Colors[gif->SBackGroundColor];
    background = rgb(c.Red, c.Green, c.Blue);
  }

  const int sw = out.width, sh = out.height;
  try {
    out.pixels.assign(static_cast<std::size_t>(sw) * sh, background);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Clipped to the screen: the columns from Left up to the screen's edge.
  const int visible = std::max(0, std::min(w, sw - desc.Left));
  const std::vector<int> rows = storedRowOrder(h, desc.Interlace);
  for (int n = 0; n < h; ++n) {
    const int y = desc.Top + rows[static_cast<std::size_t>(n)];
    if (y >= sh) continue;
    const GifPixelType* line = lines.data() + static_cast<std::size_t>(n) * w;
    Pixel* dst = out.pixels.data() + static_cast<std::size_t>(y) * sw + desc.Left;
    for (int x = 0; x < visible; ++x) dst[x] = palette[line[x]];
  }
  return true;
}

bool readFirstImage(GifFileType* gif, Picture& out) {
  if (gif->SWidth <= 0 || gif->SHeight <= 0) return false;
  if (static_cast<std::uint64_t>(gif->SWidth) * static_cast<std::uint64_t>(gif->SHeight) > kMaxPicturePixels)
    return false;
  out.kind = Picture::Kind::Raster;
  out.width = out.pixelWidth = gif->SWidth;
  out.height = out.pixelHeight = gif->SHeight;
  // Each record consumes input, so this ends with the file at the latest.
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    switch (type) {
      case IMAGE_DESC_RECORD_TYPE:
        return readImage(gif, out);
      case EXTENSION_RECORD_TYPE: {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
        while (block != nullptr)
          if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
        break;
      }
      default:  // the trailer before any image, or an unknown block
        return false;
    }
  }
}

}  // namespace

std::optional<Picture> decodeGif(std::span<const std::uint8_t> bytes) {
  Source source{bytes.data(), bytes.size(), 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, readFromMemory, &error);
  if (gif == nullptr) return std::nullopt;
  Picture picture;
  const bool ok = readFirstImage(gif, picture);
  DGifCloseFile(gif, &error);
  if (!ok) return std::nullopt;
  return picture;
}

}  // namespace tavo::decoders
