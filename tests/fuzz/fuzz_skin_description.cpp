// Input is a skin description; its images come from a small package with
// one good bitmap under several names and one damaged one.
#include "core/ini.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "tools/skinpack/package.h"

using namespace corvane::skin;

namespace {
Bytes SmallBmp(int w, int h) {
  Bytes b = {'B', 'M'};
  int stride = (w * 3 + 3) / 4 * 4;
  PutU32(b, static_cast<std::uint32_t>(54 + stride * h));
  PutU32(b, 0);
  PutU32(b, 54);
  PutU32(b, 40);
  PutU32(b, static_cast<std::uint32_t>(w));
  PutU32(b, static_cast<std::uint32_t>(h));
  PutU32(b, 1 | 24 << 16);
  for (int i = 0; i < 6; ++i) PutU32(b, 0);
  for (int i = 0; i < stride * h; ++i) b.push_back(static_cast<std::uint8_t>(i * 7));
  return b;
}

const TSkinReader& Images() {
  static const TSkinReader reader = [] {
    std::vector<corvane::skinpack::PackageEntry> entries = {
        {"a.bmp", SmallBmp(57, 19)}, {"b.bmp", SmallBmp(120, 19)}, {"c.bmp", SmallBmp(13, 15)},
        {"d.bmp", {'B', 'M', 1, 2, 3}}, {"e.bmp", {}}};
    Bytes unpacked;
    std::string error;
    corvane::skinpack::BuildUnpackedPackage(entries, unpacked, &error);
    TSkinReader r;
    if (!r.ReadUnpacked(unpacked)) __builtin_trap();
    return r;
  }();
  return reader;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  SkinModel model = ReadSkinDescription(corvane::IniDocument::Parse(text), Images());
  if (model.SysButtons.size() < 3 || model.Buttons.FrameCount != 5) __builtin_trap();
  return 0;
}
