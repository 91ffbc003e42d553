#include "skin/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::skin::Bitmap32 image;
  std::string error;
  bool ok = corvane::skin::DecodeBmp(corvane::skin::ByteSpan(data, size), image, &error);
  if (ok == image.Empty()) __builtin_trap();
  if (ok && image.Pixels().size() != static_cast<std::size_t>(image.Width()) * image.Height())
    __builtin_trap();
  return 0;
}
