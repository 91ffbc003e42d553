// The portable 32-bit bitmap and the Windows BMP decoder that fills it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "skin/bytes.h"

namespace corvane::skin {

// Pixels as 0xAARRGGBB, rows top-down: the layout of a 32-bit top-down DIB
// section, so the Win32 layer can hand the buffer to GDI as it is.
class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height, std::uint32_t fill = 0xFF000000u);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  void Clear() { *this = Bitmap32(); }

  std::uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, std::uint32_t argb) { pixels_[Index(x, y)] = argb; }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  std::uint32_t* Row(int y) { return pixels_.data() + Index(0, y); }
  const std::uint32_t* Row(int y) const { return pixels_.data() + Index(0, y); }

  // The part [x, x + w) of every row; clipped to the bitmap.
  Bitmap32 Slice(int x, int w) const;
  // Each row reversed, alpha dropped (the copy is opaque, like a 24-bit one).
  Bitmap32 MirroredOpaque() const;

  bool operator==(const Bitmap32& o) const {
    return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// Images larger than this are refused: no skin bitmap comes near it, and a
// damaged header must not make us allocate gigabytes.
inline constexpr int kMaxBitmapSide = 16384;
inline constexpr std::int64_t kMaxBitmapPixels = 16 * 1024 * 1024;

// Decodes a BMP file (with its 14-byte file header): 1, 4, 8, 16, 24 and 32
// bits per pixel; BI_RGB, BI_RLE8, BI_RLE4 and BI_BITFIELDS; bottom-up and
// top-down; info headers of 12, 40, 52, 56, 108 and 124 bytes. On failure
// returns false, leaves out empty and says why in *error.
bool DecodeBmp(ByteSpan file, Bitmap32& out, std::string* error = nullptr);

}  // namespace corvane::skin
