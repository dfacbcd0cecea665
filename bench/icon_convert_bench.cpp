// From picture bytes to the 32x32 pixel block a conversion captures: decode
// with the 32x32 hint, draw stretched onto a 32x32 bitmap, capture, take the
// last 3072 bytes. Beside it, libjpeg-turbo's bare full-size decode of the
// same JPEG files, for the ratio printed after the table (icon_main.cpp).
//
// The inputs are made here: smooth gradients plus noise, so the JPEG's
// entropy data is not trivial, at the sizes a photo or a scan would have.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

#include "bench/icon_bench.h"
#include "icon/bitmap.h"
#include "icon/picture.h"

namespace tavo::bench {

namespace {

constexpr int kBigW = 4000, kBigH = 3000;
constexpr int kSmall = 1024;

// RGB samples, rows top-down: a few slow waves per channel plus uniform noise.
std::vector<std::uint8_t> photo(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-24, 24);
  std::vector<double> cx(static_cast<std::size_t>(w)), cy(static_cast<std::size_t>(h));
  for (int x = 0; x < w; ++x) cx[static_cast<std::size_t>(x)] = std::sin(x * 9.0 / w);
  for (int y = 0; y < h; ++y) cy[static_cast<std::size_t>(y)] = std::cos(y * 7.0 / h);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
  std::size_t i = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double a = cx[static_cast<std::size_t>(x)], b = cy[static_cast<std::size_t>(y)];
      const double v[3] = {128 + 70 * a + 30 * b, 128 + 60 * b - 25 * a, 60.0 + 140.0 * (x + y) / (w + h)};
      for (double c : v) rgb[i++] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(c) + noise(rng), 0, 255));
    }
  return rgb;
}

Bytes encodeJpeg(const std::vector<std::uint8_t>& rgb, int w, int h, bool progressive) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<std::size_t>(c.next_scanline) * w * 3);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&c);
  return out;
}

void put16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

Bytes encodeBmp24(const std::vector<std::uint8_t>& rgb, int w, int h) {
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  Bytes b(54 + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, static_cast<std::uint32_t>(b.size()));
  put32(b, 10, 54);
  put32(b, 14, 40);
  put32(b, 18, static_cast<std::uint32_t>(w));
  put32(b, 22, static_cast<std::uint32_t>(h));
  put16(b, 26, 1);
  put16(b, 28, 24);
  put32(b, 34, static_cast<std::uint32_t>(stride * h));
  for (int y = 0; y < h; ++y) {
    std::uint8_t* dst = b.data() + 54 + stride * (h - 1 - y);  // bottom-up
    const std::uint8_t* src = rgb.data() + static_cast<std::size_t>(y) * w * 3;
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  return b;
}

// 3-3-2 colour cube: 256 entries, index = rrrgggbb.
std::vector<std::uint8_t> indexes332(const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint8_t> out(rgb.size() / 3);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<std::uint8_t>((rgb[3 * i] & 0xE0) | ((rgb[3 * i + 1] >> 3) & 0x1C) | (rgb[3 * i + 2] >> 6));
  return out;
}
GifColorType colour332(int i) {
  return {static_cast<GifByteType>((i & 0xE0) * 255 / 0xE0), static_cast<GifByteType>(((i >> 2) & 7) * 255 / 7),
          static_cast<GifByteType>((i & 3) * 255 / 3)};
}

int appendBytes(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

Bytes encodeGif(const std::vector<std::uint8_t>& idx, int w, int h) {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, appendBytes, &error);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) colours[static_cast<std::size_t>(i)] = colour332(i);
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  EGifPutScreenDesc(gif, w, h, 8, 0, map);
  EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
  for (int y = 0; y < h; ++y)
    EGifPutLine(gif, const_cast<GifPixelType*>(idx.data() + static_cast<std::size_t>(y) * w), w);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

// 256-colour PCX: version 5, run-length encoded, palette after a 0x0C marker.
Bytes encodePcx(const std::vector<std::uint8_t>& idx, int w, int h) {
  const int bytesPerLine = (w + 1) & ~1;
  Bytes b(128, 0);
  b[0] = 0x0A;
  b[1] = 5;
  b[2] = 1;
  b[3] = 8;
  put16(b, 8, static_cast<unsigned>(w - 1));
  put16(b, 10, static_cast<unsigned>(h - 1));
  put16(b, 12, 72);
  put16(b, 14, 72);
  b[65] = 1;
  put16(b, 66, static_cast<unsigned>(bytesPerLine));
  put16(b, 68, 1);
  std::vector<std::uint8_t> line(static_cast<std::size_t>(bytesPerLine), 0);
  for (int y = 0; y < h; ++y) {
    std::copy_n(idx.begin() + static_cast<long>(y) * w, w, line.begin());
    for (std::size_t x = 0; x < line.size();) {
      std::size_t run = 1;
      while (x + run < line.size() && run < 63 && line[x + run] == line[x]) ++run;
      if (run > 1 || line[x] >= 0xC0) b.push_back(static_cast<std::uint8_t>(0xC0 | run));
      b.push_back(line[x]);
      x += run;
    }
  }
  b.push_back(0x0C);
  for (int i = 0; i < 256; ++i) {
    const GifColorType c = colour332(i);
    b.insert(b.end(), {c.Red, c.Green, c.Blue});
  }
  return b;
}

struct Inputs {
  Bytes jpegBaseline, jpegProgressive, bmp, gif, pcx;
};

const Inputs& inputs() {
  static const Inputs in = [] {
    Inputs i;
    const std::vector<std::uint8_t> big = photo(kBigW, kBigH, 1);
    i.jpegBaseline = encodeJpeg(big, kBigW, kBigH, false);
    i.jpegProgressive = encodeJpeg(big, kBigW, kBigH, true);
    i.bmp = encodeBmp24(big, kBigW, kBigH);
    const std::vector<std::uint8_t> idx = indexes332(photo(kSmall, kSmall, 2));
    i.gif = encodeGif(idx, kSmall, kSmall);
    i.pcx = encodePcx(idx, kSmall, kSmall);
    return i;
  }();
  return in;
}

// What a conversion to 32x32 does with the picture bytes. Empty when the
// bytes did not decode.
Bytes convert32(const Bytes& file, bool hint) {
  const auto picture = hint ? decodePicture(file, 32, 32) : decodePicture(file);
  if (!picture) return {};
  Bitmap canvas(32, 32, 0x00FFFFFF);
  drawPicture(canvas, *picture, 0, 0, 32, 32);
  const Bytes capture = captureBitmap(canvas);
  return Bytes(capture.end() - 3072, capture.end());
}

// libjpeg-turbo alone: the whole picture decoded to RGB rows in one buffer.
std::size_t bareDecode(const Bytes& file) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  const std::size_t stride = static_cast<std::size_t>(d.output_width) * d.output_components;
  std::vector<std::uint8_t> image(stride * d.output_height);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = image.data() + stride * d.output_scanline;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  benchmark::DoNotOptimize(image.data());
  return image.size();
}

void addPeak(benchmark::State& state, const std::string& key, const std::function<void()>& once) {
  static std::map<std::string, double> peaks;
  auto it = peaks.find(key);
  if (it == peaks.end()) it = peaks.emplace(key, peakMiB(once)).first;
  state.counters["peak_MiB"] = it->second;
}

void convertCase(benchmark::State& state, const Bytes Inputs::*which, const char* what, bool hint) {
  const Bytes& file = inputs().*which;
  state.SetLabel(std::string(what) + ", " + std::to_string(file.size() / 1024) + " KiB");
  if (convert32(file, hint).size() != 3072) {
    state.SkipWithError((std::string(what) + ": the decoder returned no picture").c_str());
    return;
  }
  for (auto _ : state) {
    Bytes block = convert32(file, hint);
    benchmark::DoNotOptimize(block.data());
  }
  addPeak(state, what, [&] { benchmark::DoNotOptimize(convert32(file, hint).data()); });
}

void bareCase(benchmark::State& state, const Bytes Inputs::*which, const char* what) {
  const Bytes& file = inputs().*which;
  state.SetLabel(std::string(what) + ", libjpeg-turbo alone");
  for (auto _ : state) benchmark::DoNotOptimize(bareDecode(file));
  addPeak(state, std::string("bare ") + what, [&] { benchmark::DoNotOptimize(bareDecode(file)); });
}

}  // namespace

BENCHMARK_CAPTURE(convertCase, jpeg_baseline_4000x3000, &Inputs::jpegBaseline, "baseline JPEG 4000x3000", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareCase, jpeg_baseline_4000x3000, &Inputs::jpegBaseline, "baseline JPEG 4000x3000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertCase, jpeg_progressive_4000x3000, &Inputs::jpegProgressive, "progressive JPEG 4000x3000",
                  true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareCase, jpeg_progressive_4000x3000, &Inputs::jpegProgressive, "progressive JPEG 4000x3000")->Unit(benchmark::kMillisecond);
// The same conversion without the size hint: full decode, then averaging.
BENCHMARK_CAPTURE(convertCase, jpeg_baseline_4000x3000_nohint, &Inputs::jpegBaseline,
                  "baseline JPEG 4000x3000, no hint", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertCase, bmp24_4000x3000, &Inputs::bmp, "24-bit BMP 4000x3000", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertCase, gif_1024x1024, &Inputs::gif, "GIF 1024x1024", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertCase, pcx8_1024x1024, &Inputs::pcx, "256-colour PCX 1024x1024", true)
    ->Unit(benchmark::kMillisecond);

}  // namespace tavo::bench
