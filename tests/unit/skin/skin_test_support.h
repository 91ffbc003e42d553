// Builders for the skin tests: small BMPs and packages.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "skin/bytes.h"
#include "tools/skinpack/lzh_encoder.h"
#include "tools/skinpack/package.h"

namespace corvane::skin::testing {

// A 24-bit bottom-up BMP of one colour (0xRRGGBB), or of a pattern when
// pattern is set: pixel (x, y) then has red x and green y.
inline Bytes MakeBmp(int w, int h, std::uint32_t rgb = 0x102030, bool pattern = false) {
  const int stride = (w * 3 + 3) / 4 * 4;
  Bytes b = {'B', 'M'};
  PutU32(b, static_cast<std::uint32_t>(54 + stride * h));
  PutU32(b, 0);
  PutU32(b, 54);
  PutU32(b, 40);
  PutU32(b, static_cast<std::uint32_t>(w));
  PutU32(b, static_cast<std::uint32_t>(h));
  PutU32(b, 1 | 24 << 16);
  for (int i = 0; i < 6; ++i) PutU32(b, 0);
  for (int row = 0; row < h; ++row) {
    int y = h - 1 - row;
    for (int x = 0; x < w; ++x) {
      std::uint32_t c = pattern ? static_cast<std::uint32_t>((x & 255) << 16 | (y & 255) << 8) : rgb;
      b.push_back(static_cast<std::uint8_t>(c));
      b.push_back(static_cast<std::uint8_t>(c >> 8));
      b.push_back(static_cast<std::uint8_t>(c >> 16));
    }
    for (int p = w * 3; p < stride; ++p) b.push_back(0);
  }
  return b;
}

// An 8-bit run-length BMP of w x h whose pixel data is a single
// end-of-bitmap code: 60 bytes that decode to w x h black pixels.
inline Bytes MakeRleBmp(int w, int h) {
  Bytes b = {'B', 'M'};
  PutU32(b, 60);
  PutU32(b, 0);
  PutU32(b, 58);  // file header, info header, one palette entry
  PutU32(b, 40);
  PutU32(b, static_cast<std::uint32_t>(w));
  PutU32(b, static_cast<std::uint32_t>(h));
  PutU32(b, 1 | 8 << 16);
  PutU32(b, 1);  // BI_RLE8
  PutU32(b, 2);
  PutU32(b, 0);
  PutU32(b, 0);
  PutU32(b, 1);  // colours used
  PutU32(b, 0);
  PutU32(b, 0);  // the palette: black
  b.push_back(0);
  b.push_back(1);  // end of bitmap
  return b;
}

// A description of about 4,600 sections in 64 KiB: title-bar button sections
// (every other one with a key) among sections the reader skips.
inline std::string ManySectionDescription(std::size_t bytes = 64u << 10) {
  std::string ini = "[TitlebarSkin]\nSkinName=Many\n";
  for (int i = 0; ini.size() < bytes - 16; ++i)
    ini += (i % 2 ? "[Button" : "[Font") + std::to_string(i) + "]\n" + (i % 4 == 1 ? "Action=1\n" : "");
  return ini;
}

#ifndef CORVANE_SHARED_TESTDATA
#define CORVANE_SHARED_TESTDATA ""
#endif

// The shared test data folder: CORVANE_SHARED_TESTDATA in the environment,
// else the one the build was configured with.
inline std::string SharedTestData() {
  const char* env = std::getenv("CORVANE_SHARED_TESTDATA");
  return env && *env ? env : CORVANE_SHARED_TESTDATA;
}

// Whether the shared samples are there at all: only their absence is a skip;
// a sample missing from a present folder is a failure.
inline bool SharedSamplesPresent() {
  return std::filesystem::is_directory(SharedTestData() + "/lzhuf");
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using Entries = std::vector<std::pair<std::string, Bytes>>;

inline Bytes Unpacked(const Entries& entries) {
  std::vector<skinpack::PackageEntry> list;
  for (const auto& [name, data] : entries) list.push_back({name, data});
  Bytes out;
  std::string error;
  skinpack::BuildUnpackedPackage(list, out, &error);
  return out;
}

inline Bytes Packed(const Entries& entries) { return skinpack::EncodeLzh(Unpacked(entries)); }

inline void PutI32At(Bytes& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

}  // namespace corvane::skin::testing
