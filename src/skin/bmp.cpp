#include "skin/bmp.h"

#include <algorithm>
#include <new>

namespace corvane::skin {

Bitmap32::Bitmap32(int width, int height, std::uint32_t fill)
    : Bitmap32(width, height,
               std::vector<std::uint32_t>(
                   static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)),
                   fill)) {}

Bitmap32::Bitmap32(int width, int height, std::vector<std::uint32_t> pixels) {
  if (width <= 0 || height <= 0) return;
  pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  width_ = width;
  height_ = height;
  pixels_ = std::make_shared<std::vector<std::uint32_t>>(std::move(pixels));
}

std::vector<std::uint32_t>& Bitmap32::Own() {
  if (pixels_.use_count() > 1) pixels_ = std::make_shared<std::vector<std::uint32_t>>(*pixels_);
  return *pixels_;
}

const std::vector<std::uint32_t>& Bitmap32::Pixels() const {
  static const std::vector<std::uint32_t> kNone;
  return pixels_ ? *pixels_ : kNone;
}

Bitmap32 Bitmap32::Slice(int x, int w) const {
  int from = std::clamp(x, 0, width_);
  int to = std::clamp(x + w, from, width_);
  if (to == from || height_ == 0) return {};
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<std::size_t>(to - from) * static_cast<std::size_t>(height_));
  for (int y = 0; y < height_; ++y) out.insert(out.end(), Row(y) + from, Row(y) + to);
  return Bitmap32(to - from, height_, std::move(out));
}

Bitmap32 Bitmap32::MirroredOpaque() const {
  if (Empty()) return {};
  std::vector<std::uint32_t> out;
  out.reserve(Pixels().size());
  for (int y = 0; y < height_; ++y)
    for (int x = width_ - 1; x >= 0; --x) out.push_back(At(x, y) | 0xFF000000u);
  return Bitmap32(width_, height_, std::move(out));
}

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits by bit
// replication (so a 5-bit 31 becomes 255, as GDI does).
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    for (std::uint32_t v = m >> shift; v; v >>= 1) ++bits;
  }
  std::uint32_t Get(std::uint32_t px, std::uint32_t absent) const {
    if (!bits) return absent;
    std::uint32_t v = (px & mask) >> shift;
    if (bits >= 8) return (v >> (bits - 8)) & 0xFF;
    std::uint32_t out = 0;
    int have = 0;
    while (have < 8) {
      out = out << bits | v;
      have += bits;
    }
    return (out >> (have - 8)) & 0xFF;
  }
};

struct BmpInfo {
  int width = 0;
  int height = 0;
  bool top_down = false;
  int bpp = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t masks[4] = {};
  std::vector<std::uint32_t> palette;
  std::size_t bits = 0;  // offset of the pixel data
};

bool ReadInfo(ByteSpan f, BmpInfo& info, std::string* error) {
  if (!f.Has(0, 18) || f.data[0] != 'B' || f.data[1] != 'M') return Fail(error, "not a BMP file");
  std::uint32_t hs = f.U32(14);
  if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124)
    return Fail(error, "unknown BMP info header size");
  if (!f.Has(14, hs)) return Fail(error, "BMP info header truncated");
  std::int64_t height;
  std::uint32_t colours_used = 0;
  std::size_t entry = 4;
  if (hs == 12) {
    info.width = f.U16(18);
    height = f.U16(20);
    info.bpp = f.U16(24);
    entry = 3;
  } else {
    info.width = f.I32(18);
    height = f.I32(22);
    info.bpp = f.U16(28);
    info.compression = f.U32(30);
    colours_used = f.U32(46);
    if (hs >= 52)
      for (int i = 0; i < 3; ++i) info.masks[i] = f.U32(54 + 4 * i);
    if (hs >= 56) info.masks[3] = f.U32(66);
  }
  std::size_t after = 14 + hs;
  if (info.compression == kBiBitfields && hs == 40) {
    if (!f.Has(after, 12)) return Fail(error, "BMP colour masks truncated");
    for (int i = 0; i < 3; ++i) info.masks[i] = f.U32(after + 4 * i);
    after += 12;
  }
  info.top_down = height < 0;
  if (height < 0) height = -height;
  if (info.width <= 0 || height <= 0) return Fail(error, "BMP has no pixels");
  if (info.width > kMaxBitmapSide || height > kMaxBitmapSide ||
      static_cast<std::int64_t>(info.width) * height > kMaxBitmapPixels)
    return Fail(error, "BMP dimensions beyond the limit");
  info.height = static_cast<int>(height);

  bool depth_ok = false;
  switch (info.compression) {
    case kBiRgb:
      depth_ok = info.bpp == 1 || info.bpp == 4 || info.bpp == 8 || info.bpp == 16 ||
                 info.bpp == 24 || info.bpp == 32;
      if (info.bpp == 16) {
        info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
      } else if (info.bpp == 32) {
        info.masks[0] = 0xFF0000, info.masks[1] = 0xFF00, info.masks[2] = 0xFF;
      }
      info.masks[3] = 0;
      break;
    case kBiRle8: depth_ok = info.bpp == 8; break;
    case kBiRle4: depth_ok = info.bpp == 4; break;
    case kBiBitfields:
      depth_ok = (info.bpp == 16 || info.bpp == 32) && (info.masks[0] | info.masks[1] | info.masks[2]);
      break;
    default: return Fail(error, "unsupported BMP compression");
  }
  if (!depth_ok) return Fail(error, "unsupported BMP depth for its compression");

  if (info.bpp <= 8) {
    std::size_t count = colours_used ? colours_used : 1u << info.bpp;
    count = std::min<std::size_t>(count, 1u << info.bpp);
    for (std::size_t i = 0; i < count && f.Has(after + i * entry, entry); ++i) {
      const std::uint8_t* e = f.data + after + i * entry;
      info.palette.push_back(kOpaqueBlack | e[2] << 16 | e[1] << 8 | e[0]);
    }
    after += info.palette.size() * entry;
  }
  std::uint32_t declared = f.U32(10);
  info.bits = declared >= 14 + hs && declared <= f.size ? declared : after;
  return true;
}

std::uint32_t PaletteColour(const BmpInfo& info, unsigned index) {
  return index < info.palette.size() ? info.palette[index] : kOpaqueBlack;
}

std::int64_t RowStride(const BmpInfo& info) {
  return (static_cast<std::int64_t>(info.width) * info.bpp + 31) / 32 * 4;
}

// Uncompressed data must cover every row (the last one may lack its padding).
bool RgbDataFits(ByteSpan f, const BmpInfo& info) {
  const std::int64_t last_row = (static_cast<std::int64_t>(info.width) * info.bpp + 7) / 8;
  return static_cast<std::int64_t>(f.size - info.bits) >=
         RowStride(info) * (info.height - 1) + last_row;
}

// Pixels being decoded, rows top-down as Bitmap32 keeps them.
struct Canvas {
  explicit Canvas(const BmpInfo& info)
      : width(static_cast<std::size_t>(info.width)),
        pixels(width * static_cast<std::size_t>(info.height), kOpaqueBlack) {}
  std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  std::size_t width;
  std::vector<std::uint32_t> pixels;
};

void DecodeRgb(ByteSpan f, const BmpInfo& info, Canvas& out) {
  const std::int64_t stride = RowStride(info);
  const Channel r(info.masks[0]), g(info.masks[1]), b(info.masks[2]), a(info.masks[3]);
  for (int row = 0; row < info.height; ++row) {
    const std::uint8_t* s = f.data + info.bits + static_cast<std::size_t>(stride) * row;
    std::uint32_t* d = out.Row(info.top_down ? row : info.height - 1 - row);
    for (int x = 0; x < info.width; ++x) {
      switch (info.bpp) {
        case 1: d[x] = PaletteColour(info, (s[x >> 3] >> (7 - (x & 7))) & 1); break;
        case 4: d[x] = PaletteColour(info, (s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15); break;
        case 8: d[x] = PaletteColour(info, s[x]); break;
        case 24: {
          const std::uint8_t* p = s + 3 * x;
          d[x] = kOpaqueBlack | p[2] << 16 | p[1] << 8 | p[0];
          break;
        }
        default: {
          const ByteSpan row(s, static_cast<std::size_t>(stride));
          std::uint32_t px = info.bpp == 16 ? row.U16(2 * x) : row.U32(4 * x);
          d[x] = a.Get(px, 0xFF) << 24 | r.Get(px, 0) << 16 | g.Get(px, 0) << 8 | b.Get(px, 0);
        }
      }
    }
  }
}

// Run-length data may stop early, skip ahead or run past a row or the image:
// pixels outside the image are dropped, skipped pixels stay black.
void DecodeRle(ByteSpan f, const BmpInfo& info, Canvas& out) {
  const bool rle8 = info.compression == kBiRle8;
  const std::uint8_t* p = f.data + info.bits;
  const std::uint8_t* const end = f.data + f.size;
  int x = 0, y = 0;
  auto put = [&](unsigned index) {
    if (x < info.width) out.Row(info.top_down ? y : info.height - 1 - y)[x] = PaletteColour(info, index);
    x = std::min(x + 1, info.width);
  };
  while (end - p >= 2 && y < info.height) {
    unsigned n = p[0], v = p[1];
    p += 2;
    if (n > 0) {
      for (unsigned k = 0; k < n && x < info.width; ++k)
        put(rle8 ? v : (k & 1) ? v & 15 : v >> 4);
      continue;
    }
    if (v == 0) {  // end of line
      x = 0;
      ++y;
    } else if (v == 1) {  // end of bitmap
      break;
    } else if (v == 2) {  // delta
      if (end - p < 2) break;
      x = std::min(x + p[0], info.width);
      y += p[1];
      p += 2;
    } else {  // absolute run, padded to a word
      std::ptrdiff_t bytes = rle8 ? v : (v + 1) / 2;
      if (end - p < bytes) break;
      for (unsigned k = 0; k < v; ++k) put(rle8 ? p[k] : (k & 1) ? p[k / 2] & 15 : p[k / 2] >> 4);
      p += bytes + (bytes & 1);
      if (p > end) p = end;
    }
  }
}

}  // namespace

bool DecodeBmp(ByteSpan file, Bitmap32& out, std::string* error) {
  out.Clear();
  BmpInfo info;
  if (!ReadInfo(file, info, error)) return false;
  const bool rle = info.compression == kBiRle8 || info.compression == kBiRle4;
  if (!rle && !RgbDataFits(file, info)) return Fail(error, "BMP pixel data shorter than the image");
  try {
    Canvas image(info);
    if (rle) {
      DecodeRle(file, info, image);
    } else {
      DecodeRgb(file, info, image);
    }
    out = Bitmap32(info.width, info.height, std::move(image.pixels));
  } catch (const std::bad_alloc&) {
    return Fail(error, "out of memory for the BMP");
  }
  return true;
}

bool ReadBmpSize(ByteSpan file, int* width, int* height) {
  BmpInfo info;
  if (!ReadInfo(file, info, nullptr)) return false;
  *width = info.width;
  *height = info.height;
  return true;
}

}  // namespace corvane::skin
