// Decoding speed on a large stream, loading a whole skin, and reading a
// description of thousands of sections.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <random>

#include "skin/lzh.h"
#include "skin/skin_data.h"
#include "skin_test_support.h"

namespace corvane::skin {
namespace {

// About 8 MB shaped like skin data: bitmaps with gradients and flat areas,
// description text, some noise.
const Bytes& LargeStream() {
  static const Bytes packed = [] {
    std::mt19937 rng(1);
    Bytes data;
    while (data.size() < (8u << 20)) {
      switch (rng() % 3) {
        case 0: {
          Bytes b = testing::MakeBmp(40 + rng() % 200, 20 + rng() % 40, rng() & 0xFFFFFF, rng() % 2);
          data.insert(data.end(), b.begin(), b.end());
          break;
        }
        case 1:
          for (int i = 0; i < 40; ++i) {
            std::string line = "[BUTTON" + std::to_string(rng() % 20) + "]\r\nXcoord=" +
                               std::to_string(rng() % 300) + "\r\n";
            data.insert(data.end(), line.begin(), line.end());
          }
          break;
        default:
          for (int i = 0; i < 2000; ++i) data.push_back(static_cast<std::uint8_t>(rng()));
      }
    }
    return skinpack::EncodeLzh(data);
  }();
  return packed;
}

void BM_DecodeLargeStream(benchmark::State& state) {
  const Bytes& in = LargeStream();
  Bytes out;
  for (auto _ : state) {
    TLZH().DecodeStream(in, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(out.size()));
  state.counters["ratio"] = static_cast<double>(out.size()) / static_cast<double>(in.size());
}
BENCHMARK(BM_DecodeLargeStream)->Unit(benchmark::kMillisecond);

// Corvane's own skin when it has been built, else a generated one of similar
// shape (a description and 41 bitmaps).
Bytes SkinPackage(std::string* which) {
  std::ifstream in(CORVANE_SKIN_PACKAGE, std::ios::binary);
  if (in) {
    *which = "Corvane.skin";
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  *which = "generated";
  std::string ini = "[TitlebarSkin]\r\nSkinName=Bench\r\n[Personality]\r\nTop=top.bmp\r\n"
                    "Left=left.bmp\r\nRight=right.bmp\r\nBottom=bottom.bmp\r\n";
  testing::Entries entries = {{"skin.ini", {}}, {"top.bmp", testing::MakeBmp(200, 60, 0, true)},
                              {"left.bmp", testing::MakeBmp(8, 60)}, {"right.bmp", testing::MakeBmp(8, 60)},
                              {"bottom.bmp", testing::MakeBmp(60, 16)}};
  for (int i = 0; i < 37; ++i) {
    std::string name = "piece" + std::to_string(i) + ".bmp";
    ini += "[BUTTON" + std::to_string(i) + "]\r\nAction=" + std::to_string(i % 4) +
           "\r\nButtonImage=" + name + "\r\n";
    entries.push_back({name, testing::MakeBmp(60 + i * 3, 20 + i, 0x336699, i % 2)});
  }
  entries[0].second = ToBytes(ini);
  return testing::Packed(entries);
}

void BM_LoadSkin(benchmark::State& state) {
  std::string which;
  Bytes package = SkinPackage(&which);
  state.SetLabel(which);
  for (auto _ : state) {
    TSkinData data;
    if (!data.LoadPackage(package)) state.SkipWithError("skin did not load");
    benchmark::DoNotOptimize(data.Model().SysButtons.size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(package.size()));
}
BENCHMARK(BM_LoadSkin)->Unit(benchmark::kMillisecond);

// The floor for BM_LoadSkin: unpacking the same package and nothing else.
// Loading (description, every bitmap) should stay within twice this.
void BM_DecodeSkinPackage(benchmark::State& state) {
  std::string which;
  Bytes package = SkinPackage(&which);
  state.SetLabel(which);
  Bytes out;
  for (auto _ : state) {
    TLZH().DecodeStream(package, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(package.size()));
}
BENCHMARK(BM_DecodeSkinPackage)->Unit(benchmark::kMillisecond);

void BM_ReadManySections(benchmark::State& state) {
  const std::string ini = testing::ManySectionDescription();
  const Bytes package = testing::Packed({{"many.ini", ToBytes(ini)}});
  int sections = 0;
  for (char c : ini) sections += c == '[';
  state.SetLabel(std::to_string(sections) + " sections, " + std::to_string(ini.size()) + " bytes");
  for (auto _ : state) {
    TSkinData data;
    if (!data.LoadPackage(package)) state.SkipWithError("skin did not load");
    benchmark::DoNotOptimize(data.Model().SysButtons.size());
  }
}
BENCHMARK(BM_ReadManySections)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane::skin
