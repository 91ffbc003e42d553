#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "skin/bmp.h"
#include "skin_test_support.h"

namespace corvane::skin {
namespace {

using testing::MakeBmp;
using testing::PutI32At;

using testing::ReadFile;

// Every sample against ImageMagick's own decoding of the same file.
TEST(BmpDecode, MatchesImageMagick) {
  const std::string dir = CORVANE_BMP_SAMPLES;
  std::ifstream manifest(dir + "/manifest.txt");
  // make deps installs ImageMagick, so missing samples are a broken build.
  ASSERT_TRUE(manifest) << "no BMP samples in " << dir << " (made at build time with ImageMagick)";
  std::string line;
  int files = 0;
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    std::string name;
    int w, h, alpha;
    fields >> name >> w >> h >> alpha;
    Bitmap32 image;
    std::string error;
    ASSERT_TRUE(DecodeBmp(ReadFile(dir + "/" + name + ".bmp"), image, &error)) << name << ": " << error;
    ASSERT_EQ(image.Width(), w) << name;
    ASSERT_EQ(image.Height(), h) << name;
    Bytes rgba = ReadFile(dir + "/" + name + ".rgba");
    ASSERT_EQ(rgba.size(), static_cast<std::size_t>(w) * h * 4) << name;
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* e = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
        std::uint32_t want = 0xFF000000u | e[0] << 16 | e[1] << 8 | e[2];
        std::uint32_t got = image.At(x, y);
        if (alpha) {
          want = (want & 0xFFFFFF) | static_cast<std::uint32_t>(e[3]) << 24;
        } else {
          got |= 0xFF000000u;
        }
        if (got != want && wrong++ < 3)
          ADD_FAILURE() << name << " (" << x << "," << y << "): got " << std::hex << got
                        << " want " << want;
      }
    }
    ++files;
  }
  EXPECT_GE(files, 20);
}

TEST(BmpDecode, RefusesDamagedHeaders) {
  Bitmap32 image;
  std::string error;
  Bytes good = MakeBmp(4, 3);
  ASSERT_TRUE(DecodeBmp(good, image));

  Bytes b = good;
  b[0] = 'X';
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  b = good;
  PutI32At(b, 14, 64);  // no such info header
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  b = good;
  PutI32At(b, 22, 0);
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  b = good;
  b[28] = 7;  // 7 bits per pixel
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  b = good;
  b[30] = 4;  // BI_JPEG
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  b = good;
  b.resize(b.size() - 8);  // pixel data shorter than the rows
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  EXPECT_NE(error.find("shorter"), std::string::npos);
  EXPECT_TRUE(image.Empty());
}

TEST(BmpDecode, HugeDimensionsAreRefusedBeforeAllocating) {
  Bitmap32 image;
  std::string error;
  Bytes b = MakeBmp(1, 1);
  PutI32At(b, 18, 0x40000000);
  PutI32At(b, 22, 0x40000000);  // the product overflows 32 bits
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  EXPECT_NE(error.find("limit"), std::string::npos);
  PutI32At(b, 18, 16000);
  PutI32At(b, 22, -16000);  // within each side's limit, not in area
  EXPECT_FALSE(DecodeBmp(b, image, &error));
  PutI32At(b, 22, static_cast<std::int32_t>(0x80000000u));
  EXPECT_FALSE(DecodeBmp(b, image, &error));
}

// An 8-bit RLE image 4 x 2 with a two-entry palette (0 black, 1 white).
Bytes Rle8(const Bytes& codes) {
  Bytes b = {'B', 'M'};
  PutU32(b, static_cast<std::uint32_t>(62 + codes.size()));
  PutU32(b, 0);
  PutU32(b, 62);
  PutU32(b, 40);
  PutU32(b, 4);
  PutU32(b, 2);
  PutU32(b, 1 | 8 << 16);
  PutU32(b, 1);  // BI_RLE8
  PutU32(b, static_cast<std::uint32_t>(codes.size()));
  PutU32(b, 0);
  PutU32(b, 0);
  PutU32(b, 2);
  PutU32(b, 0);
  PutU32(b, 0);
  PutU32(b, 0x00FFFFFF);
  b.insert(b.end(), codes.begin(), codes.end());
  return b;
}

TEST(BmpDecode, RleRunsPastTheImageAreClipped) {
  Bitmap32 image;
  constexpr std::uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
  // A run of 200 on a 4-pixel row, a delta far beyond the image, an absolute
  // run past the row, an index outside the palette; no end-of-bitmap mark.
  ASSERT_TRUE(DecodeBmp(Rle8({200, 1, 0, 0, 0, 3, 1, 0, 1, 0, 2, 250, 250, 0, 0}), image));
  EXPECT_EQ(image.At(0, 1), kWhite);  // bottom row, first in the file
  EXPECT_EQ(image.At(3, 1), kWhite);
  EXPECT_EQ(image.At(0, 0), kWhite);
  EXPECT_EQ(image.At(1, 0), kBlack);
  EXPECT_EQ(image.At(2, 0), kWhite);
  EXPECT_EQ(image.At(3, 0), kBlack);  // skipped
  ASSERT_TRUE(DecodeBmp(Rle8({0, 6, 1, 9, 1, 1, 1, 1}), image));  // absolute run of 6 in 4
  EXPECT_EQ(image.At(0, 1), kWhite);
  EXPECT_EQ(image.At(1, 1), kBlack);  // index 9 is beyond the palette
  ASSERT_TRUE(DecodeBmp(Rle8({0, 40, 1}), image));  // absolute run longer than the data
  EXPECT_EQ(image.At(0, 1), kBlack);
}

TEST(Bitmap32, SliceAndMirror) {
  Bitmap32 image;
  ASSERT_TRUE(DecodeBmp(MakeBmp(6, 2, 0, true), image));
  EXPECT_EQ(image.At(5, 1), 0xFF050100u);
  Bitmap32 s = image.Slice(4, 10);
  ASSERT_EQ(s.Width(), 2);
  EXPECT_EQ(s.At(0, 1), image.At(4, 1));
  EXPECT_TRUE(image.Slice(7, 3).Empty());
  Bitmap32 m = image.MirroredOpaque();
  EXPECT_EQ(m.At(0, 0), image.At(5, 0));
  EXPECT_EQ(m.At(5, 1), image.At(0, 1));
}

}  // namespace
}  // namespace corvane::skin
