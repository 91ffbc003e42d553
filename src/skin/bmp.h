// The portable 32-bit bitmap and the Windows BMP decoder that fills it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/bytes.h"

namespace corvane::skin {

// Pixels as 0xAARRGGBB, rows top-down: the layout of a 32-bit top-down DIB
// section, so the Win32 layer can hand the buffer to GDI as it is. Copies
// share their pixels: a skin's pieces that name one bitmap hold one buffer.
// A bitmap that is drawn on (a renderer's target) gets its own buffer at the
// first write, so a shared one never changes.
class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height, std::uint32_t fill = 0xFF000000u);
  // Takes width * height pixels, rows top-down.
  Bitmap32(int width, int height, std::vector<std::uint32_t> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  void Clear() { *this = Bitmap32(); }
  std::int64_t PixelCount() const { return static_cast<std::int64_t>(Pixels().size()); }
  bool SharesPixelsWith(const Bitmap32& o) const { return pixels_ && pixels_ == o.pixels_; }

  std::uint32_t At(int x, int y) const { return (*pixels_)[Index(x, y)]; }
  const std::vector<std::uint32_t>& Pixels() const;
  const std::uint32_t* Row(int y) const { return pixels_->data() + Index(0, y); }

  void Set(int x, int y, std::uint32_t v) { Own()[Index(x, y)] = v; }
  std::uint32_t* MutableRow(int y) { return Own().data() + Index(0, y); }

  // The part [x, x + w) of every row; clipped to the bitmap.
  Bitmap32 Slice(int x, int w) const;
  // Each row reversed, alpha dropped (the copy is opaque, like a 24-bit one).
  Bitmap32 MirroredOpaque() const;

  bool operator==(const Bitmap32& o) const {
    return width_ == o.width_ && height_ == o.height_ && Pixels() == o.Pixels();
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  // The pixels, made this bitmap's alone if they were shared.
  std::vector<std::uint32_t>& Own();

  int width_ = 0;
  int height_ = 0;
  std::shared_ptr<std::vector<std::uint32_t>> pixels_;
};

// Images larger than this are refused: no skin bitmap comes near it, and a
// damaged header must not make us allocate gigabytes.
inline constexpr int kMaxBitmapSide = 16384;
inline constexpr std::int64_t kMaxBitmapPixels = 16 * 1024 * 1024;
// All the bitmaps of one skin together, each entry counted once, with the
// copies the model derives from them. A skin's bitmaps are frame edges,
// title-bar strips and button states: the program's own 41 come to about
// 52,000 pixels. This leaves room for several full-screen backgrounds and
// holds a skin to 16 MiB of pixels.
inline constexpr std::int64_t kMaxSkinPixels = 4 * 1024 * 1024;

// Decodes a BMP file (with its 14-byte file header): 1, 4, 8, 16, 24 and 32
// bits per pixel; BI_RGB, BI_RLE8, BI_RLE4 and BI_BITFIELDS; bottom-up and
// top-down; info headers of 12, 40, 52, 56, 108 and 124 bytes. On failure
// returns false, leaves out empty and says why in *error.
bool DecodeBmp(ByteSpan file, Bitmap32& out, std::string* error = nullptr);
// The dimensions a BMP file declares, when DecodeBmp would accept its
// headers: what decoding it will allocate.
bool ReadBmpSize(ByteSpan file, int* width, int* height);

}  // namespace corvane::skin
