// Input is a skin description; its images come from a small package with
// one good bitmap under several names and one damaged one.
#include "core/ini.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin_test_support.h"

using namespace corvane::skin;

namespace {
const TSkinReader& Images() {
  static const TSkinReader reader = [] {
    corvane::skin::testing::Entries entries = {
        {"a.bmp", corvane::skin::testing::MakeBmp(57, 19)}, {"b.bmp", corvane::skin::testing::MakeBmp(120, 19)}, {"c.bmp", corvane::skin::testing::MakeBmp(13, 15)},
        {"d.bmp", {'B', 'M', 1, 2, 3}}, {"e.bmp", {}}};
    TSkinReader r;
    if (!r.ReadUnpacked(corvane::skin::testing::Unpacked(entries))) __builtin_trap();
    return r;
  }();
  return reader;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  SkinModel model = ReadSkinDescription(corvane::IniDocument::Parse(text), Images());
  if (model.SysButtons.size() < 3 || model.Buttons.FrameCount != 5) __builtin_trap();
  for (const auto& f : model.Frames)
    if (f.FrameCount < 1) __builtin_trap();
  for (const auto& b : model.SysButtons)
    if (b.FrameCount < 1) __builtin_trap();
  return 0;
}
