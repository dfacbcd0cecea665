// JPEG through libjpeg-turbo's IJG API, read from memory. Greyscale and
// three-component (YCbCr or RGB) 8-bit files decode; everything else, and any
// file libjpeg reports as truncated, damaged or fails on, is no picture.
//
// Limits, checked before libjpeg allocates the image:
// - natural size at most kMaxPicturePixels;
// - libjpeg's large buffers (the coefficient store of progressive files) at
//   most kMaxJpegMemory, so a small file claiming a huge progressive picture
//   cannot make it allocate (and zero) hundreds of megabytes;
// - at most kMaxScans scans: real progressive files have about ten, and each
//   scan is a pass over the whole coefficient store.
#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE
#include <new>

// jpeglib.h first: jerror.h's message list depends on its configuration.
#include <jpeglib.h>
#include <jerror.h>

#include "icon/decoders.h"

namespace tavo::decoders {

namespace {

constexpr long kMaxJpegMemory = 512L << 20;
constexpr int kMaxScans = 100;

// A reduced decode must stay comfortably larger than what it is drawn into:
// at least this many reduced pixels per target pixel in both directions.
// The reduced inverse transforms are not exact block averages of the full
// decode, and the full decode clips near 0 and 255, so the two drawings
// drift apart where a target pixel covers few reduced ones. On synthetic
// photos they stay within 1 from a ratio of about 6, but real photos need
// more: a quality-60 1024x768 photo still differs by 2 at a ratio of 24, and
// a saturated 4000x3000 drawing at 11.7. From 25 every picture we measured
// stays within 1; a 4000x3000 photo then decodes at 1/4 for 16x16 and at 1/2
// for 32x32.
constexpr int kMinReducedPerTarget = 25;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf escape;
};

[[noreturn]] void leave(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  // libjpeg only warns when the image data is cut short or damaged, and fills
  // the rest with grey; to us such a file is no picture. Oddities around the
  // image data (stray bytes before a marker, an unknown JFIF revision or
  // Adobe transform, a bad ICC marker) leave a whole picture: decoding goes on.
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:       // the file ends early
    case JWRN_HIT_MARKER:     // a scan's data ends before its last block
    case JWRN_HUFF_BAD_CODE:  // corrupt entropy-coded data
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
    case JWRN_ARITH_BAD_CODE:
#endif
    case JWRN_MUST_RESYNC:    // a restart marker missing or out of order
      leave(cinfo);
    default:
      break;
  }
}

void silent(j_common_ptr) {}

void onProgress(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) leave(cinfo);
}

// The largest reduction 1/2, 1/4 or 1/8 that keeps the decode at least
// kMinReducedPerTarget times the hint in both directions; 1 without a hint.
int reduction(JDIMENSION width, JDIMENSION height, int hintWidth, int hintHeight) {
  if (hintWidth <= 0 || hintHeight <= 0) return 1;
  const std::uint64_t needW = std::uint64_t{kMinReducedPerTarget} * static_cast<std::uint64_t>(hintWidth);
  const std::uint64_t needH = std::uint64_t{kMinReducedPerTarget} * static_cast<std::uint64_t>(hintHeight);
  for (const int d : {8, 4, 2}) {
    const std::uint64_t w = (std::uint64_t{width} + d - 1) / d, h = (std::uint64_t{height} + d - 1) / d;
    if (w >= needW && h >= needH) return d;
  }
  return 1;
}

// Decoded pixels land directly in our 0xFFRRGGBB words: the byte order in
// memory of such a word, as libjpeg-turbo's extended colour spaces name it
// (the fourth byte is written as 0xFF).
constexpr J_COLOR_SPACE kPixelLayout = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  jpeg_progress_mgr progress{};
};

// All libjpeg calls happen here, under the error manager's setjmp. Nothing in
// this frame has a destructor, so the longjmp skips none; the picture lives
// in the caller.
bool run(Decoder& d, std::span<const std::uint8_t> bytes, int hintWidth, int hintHeight, Picture& out) {
  jpeg_decompress_struct& cinfo = d.cinfo;
  cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = leave;
  d.err.pub.emit_message = onMessage;
  d.err.pub.output_message = silent;
  if (setjmp(d.err.escape)) {
    jpeg_destroy_decompress(&cinfo);  // safe on a half-created decompressor: cinfo started zeroed
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxJpegMemory;
  d.progress.progress_monitor = onProgress;
  cinfo.progress = &d.progress;
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) leave(reinterpret_cast<j_common_ptr>(&cinfo));

  const bool grey = cinfo.num_components == 1 && cinfo.jpeg_color_space == JCS_GRAYSCALE;
  const bool colour = cinfo.num_components == 3 &&
                      (cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB);
  // CMYK/YCCK and other component counts: no picture (without colour
  // management their colours would be wrong anyway). 12-bit: no picture.
  if (!(grey || colour) || cinfo.data_precision != 8) leave(reinterpret_cast<j_common_ptr>(&cinfo));
  if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
      std::uint64_t{cinfo.image_width} * cinfo.image_height > kMaxPicturePixels)
    leave(reinterpret_cast<j_common_ptr>(&cinfo));

  cinfo.out_color_space = kPixelLayout;
  const int n = reduction(cinfo.image_width, cinfo.image_height, hintWidth, hintHeight);
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(n);
  jpeg_calc_output_dimensions(&cinfo);
  if (cinfo.output_components != 4) leave(reinterpret_cast<j_common_ptr>(&cinfo));

  out.kind = Picture::Kind::Raster;
  out.width = static_cast<int>(cinfo.image_width);
  out.height = static_cast<int>(cinfo.image_height);
  out.pixelWidth = static_cast<int>(cinfo.output_width);
  out.pixelHeight = static_cast<int>(cinfo.output_height);
  out.pixelSpan = n > 1 ? n : 0;

  // A progressive file is read whole here, so a truncated one fails before
  // the picture's memory is taken.
  jpeg_start_decompress(&cinfo);
  const std::size_t pw = static_cast<std::size_t>(out.pixelWidth);
  try {
    // Reserved, not yet touched: rows are added as they decode, so a
    // sequential file that stops early never makes the whole picture resident.
    out.pixels.reserve(pw * out.pixelHeight);
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  JSAMPROW rows[16];
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION first = cinfo.output_scanline;
    const JDIMENSION count = std::min<JDIMENSION>(16, cinfo.output_height - first);
    out.pixels.resize((first + count) * pw);
    for (JDIMENSION i = 0; i < count; ++i)
      rows[i] = reinterpret_cast<JSAMPROW>(out.pixels.data() + (first + i) * pw);
    // Fewer rows than asked is fine (libjpeg hands out what one pass gives); none is not.
    const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, count);
    if (got == 0) leave(reinterpret_cast<j_common_ptr>(&cinfo));
    out.pixels.resize((first + got) * pw);
  }
  // Reads on to the end marker, so a file cut after its last row also counts as truncated.
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

std::optional<Picture> decodeJpeg(std::span<const std::uint8_t> bytes, int hintWidth, int hintHeight) {
  if (bytes.empty()) return std::nullopt;
  Decoder decoder;
  Picture picture;
  if (!run(decoder, bytes, hintWidth, hintHeight, picture)) return std::nullopt;
  return picture;
}

}  // namespace tavo::decoders
