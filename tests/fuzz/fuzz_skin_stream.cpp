// Input is the stored property: an int32 count, then that many package
// bytes and whatever the host stored after them.
#include "skin/skin_data.h"
#include "skin_model_checks.h"

using namespace corvane::skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteSpan in(data, size);
  // As in the package target: a declared size past this would spend the run
  // decoding noise.
  if (in.Has(0, 8) && in.I32(0) > 0 && in.U32(4) > (1u << 18)) return 0;
  TSkinData skin;
  std::size_t used = 0;
  const bool ok = skin.ReadSkinStream(in, &used);
  if (used > size) __builtin_trap();
  if (!in.Has(0, 4)) {
    if (ok || used != 0) __builtin_trap();
    return 0;
  }
  const std::int32_t count = in.I32(0);
  if (count <= 0 || !in.Has(4, static_cast<std::size_t>(count))) {
    // Nothing stored: no skin, and the property writes back empty.
    if (ok != (count <= 0) || !skin.NotLoaded() || !skin.Package().empty()) __builtin_trap();
    if (skin.WriteSkinStream() != Bytes{0, 0, 0, 0}) __builtin_trap();
    return 0;
  }
  // Stored whether or not it loads, and written back as it was read.
  if (used != 4 + static_cast<std::size_t>(count)) __builtin_trap();
  if (skin.WriteSkinStream() != Bytes(data, data + used)) __builtin_trap();
  if (ok == skin.NotLoaded() || ok != skin.LastError().empty()) __builtin_trap();
  if (ok) fuzz::CheckModel(skin.Model());
  return 0;
}
