#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "skin/lzh.h"
#include "skin_test_support.h"

namespace corvane::skin {
namespace {

using testing::ReadFile;

std::string SampleDir() { return testing::SharedTestData() + "/lzhuf/"; }

TEST(LzhTables, FollowTheCodeLengthRule) {
  const lzh::PositionTables& t = lzh::DecodeTables();
  EXPECT_EQ(t.code[0x00], 0);
  EXPECT_EQ(t.length[0x1F], 3);
  EXPECT_EQ(t.code[0x20], 1);
  EXPECT_EQ(t.length[0x2F], 4);
  EXPECT_EQ(t.code[0xF0], 48);
  EXPECT_EQ(t.code[0xFF], 63);
  EXPECT_EQ(t.length[0xFF], 8);
  // Each upper value owns 2^(8 - length) consecutive bytes, in ascending order.
  int counts[9] = {};
  for (int b = 0; b < 256; ++b) {
    if (b > 0) {
      EXPECT_GE(t.code[b], t.code[b - 1]);
    }
    counts[t.length[b]]++;
  }
  const int codes[9] = {0, 0, 0, 1, 3, 8, 12, 24, 16};
  for (int len = 3; len <= 8; ++len) EXPECT_EQ(counts[len], codes[len] << (8 - len)) << len;
}

TEST(LzhDecode, ReproducesEverySharedSample) {
  if (!testing::SharedSamplesPresent()) GTEST_SKIP() << "shared test data not found at " << SampleDir();
  std::ifstream sums(SampleDir() + "SHA256SUMS");
  ASSERT_TRUE(sums) << SampleDir() << "SHA256SUMS";
  std::string hash, name;
  int checked = 0;
  while (sums >> hash >> name) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".lzh") continue;
    Bytes packed = ReadFile(SampleDir() + name);
    Bytes expected = ReadFile(SampleDir() + name.substr(0, name.size() - 4));
    Bytes out;
    ASSERT_TRUE(TLZH().DecodeStream(packed, out)) << name;
    EXPECT_TRUE(out == expected) << name << ": " << out.size() << " vs " << expected.size();
    ++checked;
  }
  EXPECT_GE(checked, 8);
}

TEST(LzhDecode, RefusesBadSizesWithoutAllocating) {
  Bytes out = {1, 2, 3};
  std::string error;
  EXPECT_FALSE(TLZH().DecodeStream(Bytes{1, 0}, out, &error));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(TLZH().DecodeStream(Bytes{0xFF, 0xFF, 0xFF, 0xFF}, out, &error));  // -1
  EXPECT_NE(error.find("negative"), std::string::npos);
  EXPECT_FALSE(TLZH().DecodeStream(Bytes{0x01, 0x00, 0x00, 0x04}, out, &error));  // 64 MiB + 1
  EXPECT_NE(error.find("limit"), std::string::npos);
  EXPECT_TRUE(TLZH().DecodeStream(Bytes{0, 0, 0, 0}, out, &error));
  EXPECT_TRUE(out.empty());
}

TEST(LzhDecode, TruncatedStreamReadsAsZeroPadded) {
  std::mt19937 rng(3);
  Bytes data(5000);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng() % 40);
  Bytes packed = skinpack::EncodeLzh(data);
  Bytes cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packed.size() / 2));
  Bytes padded = cut;
  padded.resize(packed.size() * 4, 0);
  Bytes a, b;
  ASSERT_TRUE(TLZH().DecodeStream(cut, a));
  ASSERT_TRUE(TLZH().DecodeStream(padded, b));
  EXPECT_EQ(a.size(), data.size());
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, a.begin()));
}

Bytes RoundTrip(const Bytes& data) {
  Bytes out;
  EXPECT_TRUE(TLZH().DecodeStream(skinpack::EncodeLzh(data), out));
  return out;
}

TEST(LzhRoundTrip, VariedData) {
  std::mt19937 rng(7);
  std::vector<std::pair<const char*, Bytes>> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"one byte", {0x41}});
  cases.push_back({"spaces", Bytes(300, ' ')});
  cases.push_back({"long run", Bytes(70000, 0xAB)});
  Bytes random(20000);
  for (auto& b : random) b = static_cast<std::uint8_t>(rng());
  cases.push_back({"random", random});
  std::string text;
  for (int i = 0; text.size() < 30000; ++i)
    text += "[BUTTON" + std::to_string(i % 9) + "]\r\nAction=" + std::to_string(i % 13) + "\r\n";
  cases.push_back({"text", Bytes(text.begin(), text.end())});
  // Large and mixed: exercises tree rebuilds and matches at the window edge.
  Bytes large;
  while (large.size() < (3u << 20)) {
    if (rng() % 3 == 0) {
      for (int i = 0; i < 500; ++i) large.push_back(static_cast<std::uint8_t>(rng() % 7));
    } else if (large.size() > 4200) {
      std::size_t from = large.size() - 4096 + rng() % 200;
      for (int i = 0; i < 300; ++i) large.push_back(large[from + i]);
    } else {
      large.insert(large.end(), text.begin(), text.begin() + 700);
    }
  }
  cases.push_back({"large", large});
  for (const auto& [name, data] : cases) EXPECT_TRUE(RoundTrip(data) == data) << name;
}

TEST(LzhEncode, CompressesRepetitiveData) {
  Bytes zeros(100000, 0);
  EXPECT_LT(skinpack::EncodeLzh(zeros).size(), 2500u);
  Bytes spaces(262, ' ');  // the ring starts with spaces, so these are matches at once
  EXPECT_LT(skinpack::EncodeLzh(spaces).size(), 20u);
}

}  // namespace
}  // namespace corvane::skin
