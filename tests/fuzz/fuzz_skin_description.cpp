// Input is a skin description; its images come from a small package with
// one good bitmap under several names and one damaged one.
#include "core/ini.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin_model_checks.h"
#include "skin_test_support.h"

using namespace corvane::skin;

namespace {
const TSkinReader& Images() {
  static const TSkinReader reader = [] {
    testing::Entries entries = {{"a.bmp", testing::MakeBmp(57, 19)},
                                {"b.bmp", testing::MakeBmp(120, 19)},
                                {"c.bmp", testing::MakeBmp(13, 15)},
                                {"d.bmp", {'B', 'M', 1, 2, 3}},
                                {"e.bmp", {}},
                                {"big.bmp", testing::MakeRleBmp(4096, 4096)}};
    TSkinReader r;
    if (!r.ReadUnpacked(testing::Unpacked(entries))) __builtin_trap();
    return r;
  }();
  return reader;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  SkinModel model;
  std::string error;
  if (!ReadSkinDescription(corvane::IniDocument::Parse(text), Images(), model, &error)) {
    // Only big.bmp, beyond the budget on its own, can make a description fail.
    if (error.find(std::to_string(kMaxSkinPixels)) == std::string::npos) __builtin_trap();
    return 0;
  }
  fuzz::CheckModel(model);
  return 0;
}
