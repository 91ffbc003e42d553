#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skin/skin_reader.h"
#include "skin_test_support.h"

namespace corvane::skin {
namespace {

using testing::Packed;
using testing::PutI32At;
using testing::Unpacked;

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

TEST(SkinReader, DirectoryIsLowercasedAndFirstEntryWins) {
  TSkinReader r;
  ASSERT_TRUE(r.ReadPackage(Packed({{"Skin.INI", ToBytes("[a]")},
                                    {"Status.bmp", ToBytes("first")},
                                    {"status.BMP", ToBytes("second")},
                                    {"empty.bmp", {}}})));
  EXPECT_EQ(r.FormatMark(), kSkinFormatMark);
  ASSERT_EQ(r.Count(), 4u);
  EXPECT_EQ(r.Names()[0], "skin.ini");
  Bytes out = ToBytes("stale");
  EXPECT_TRUE(r.ExtractEntry("STATUS.bmp", out));
  EXPECT_EQ(Text(out), "first");
  EXPECT_TRUE(r.ExtractEntry("empty.bmp", out));
  EXPECT_TRUE(out.empty());
  out = ToBytes("stale");
  EXPECT_FALSE(r.ExtractEntry("missing.bmp", out));
  EXPECT_TRUE(out.empty());
  std::string name;
  EXPECT_TRUE(r.ExtractEntryContaining(".INI", out, &name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(Text(out), "[a]");
}

TEST(SkinReader, DirectoryLinesEndLikeAStringList) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(SkinReader, WrongFormatMarkGivesTheOlderFileMessage) {
  Bytes u = Unpacked({{"a.ini", ToBytes("x")}});
  PutI32At(u, 0, 19999);
  TSkinReader r;
  EXPECT_FALSE(r.ReadUnpacked(u));
  EXPECT_TRUE(r.WrongFormat());
  EXPECT_EQ(r.Error(), "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(r.Count(), 0u);
}

TEST(SkinReader, DamagedPackagesAreRefused) {
  const Bytes good = Unpacked({{"a.ini", ToBytes("abc")}, {"b.bmp", ToBytes("defg")}});
  const std::size_t table = 16 + std::string("a.ini\r\nb.bmp\r\n").size();
  TSkinReader r;
  ASSERT_TRUE(r.ReadUnpacked(good));

  auto refused = [&](Bytes u, const char* why) {
    TSkinReader reader;
    EXPECT_FALSE(reader.ReadUnpacked(std::move(u))) << why;
    EXPECT_FALSE(reader.Error().empty()) << why;
    EXPECT_EQ(reader.Count(), 0u) << why;
  };
  refused(Bytes(good.begin(), good.begin() + 12), "header cut");
  Bytes u = good;
  PutI32At(u, 4, -5);
  refused(u, "negative directory length");
  u = good;
  PutI32At(u, 4, 100000);
  refused(u, "directory past the end");
  u = good;
  PutI32At(u, table, -1);
  refused(u, "negative entry size");
  u = good;
  PutI32At(u, table + 4, 5);
  refused(u, "data shorter than the sizes");
  refused(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(table + 6)), "size table cut");
}

TEST(SkinReader, AtMost1001Entries) {
  testing::Entries entries;
  for (int i = 0; i < 1001; ++i) entries.push_back({"e" + std::to_string(i) + ".bmp", {}});
  TSkinReader r;
  EXPECT_TRUE(r.ReadUnpacked(Unpacked(entries)));
  EXPECT_EQ(r.Count(), 1001u);
  entries.push_back({"one-more.bmp", {}});
  EXPECT_TRUE(Unpacked(entries).empty());  // the packer refuses to write it
  std::string dir;
  for (const auto& e : entries) dir += e.first + "\r\n";
  Bytes big;
  PutU32(big, kSkinFormatMark);
  PutU32(big, static_cast<std::uint32_t>(dir.size()));
  PutU32(big, 0);
  PutU32(big, 0);
  big.insert(big.end(), dir.begin(), dir.end());
  big.resize(big.size() + 4 * entries.size(), 0);
  EXPECT_FALSE(r.ReadUnpacked(big));
  EXPECT_NE(r.Error().find("1001"), std::string::npos);
}

TEST(SkinReader, DecoderFailuresAreReported) {
  TSkinReader r;
  EXPECT_FALSE(r.ReadPackage(Bytes{1, 2}));
  EXPECT_FALSE(r.ReadPackage(Bytes{0x00, 0x00, 0x00, 0x10, 0}));  // 256 MiB declared
  EXPECT_NE(r.Error().find("limit"), std::string::npos);
  EXPECT_FALSE(r.WrongFormat());
}

TEST(SkinReader, ReadsTheSharedSamplePackage) {
  if (!testing::SharedSamplesPresent()) GTEST_SKIP() << "shared test data not found";
  Bytes packed = testing::ReadFile(testing::SharedTestData() + "/lzhuf/package.bin.lzh");
  ASSERT_FALSE(packed.empty()) << "package.bin.lzh";
  TSkinReader r;
  ASSERT_TRUE(r.ReadPackage(packed)) << r.Error();
  EXPECT_EQ(r.Count(), 6u);
  Bytes out;
  EXPECT_TRUE(r.ExtractEntry("LEFT.BMP", out));
  EXPECT_EQ(out.size(), 1014u);
}

}  // namespace
}  // namespace corvane::skin
