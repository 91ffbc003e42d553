// Input is an unpacked package (directory, size table, entries); every
// fourth input goes through the decoder as a packed one instead. A package
// that reads is loaded end to end: description and every bitmap it names.
#include "core/ini.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin_model_checks.h"

using namespace corvane::skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes input(data, data + size);
  if (size > 0 && data[0] % 4 == 3) {
    // Oversized declarations are refused by the decoder; below that cap a
    // random stream would spend the run decoding megabytes of noise.
    if (size < 4 || ByteSpan(data, size).U32(0) > (1u << 18)) return 0;
    TSkinData skin;
    if (skin.LoadPackage(input) == skin.NotLoaded()) __builtin_trap();
    if (!skin.NotLoaded()) fuzz::CheckModel(skin.Model());
    return 0;
  }
  TSkinReader reader;
  if (!reader.ReadUnpacked(input)) return 0;
  SkinModel model;
  std::string error;
  if (!ReadPackageModel(reader, model, &error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  fuzz::CheckModel(model);
  return 0;
}
