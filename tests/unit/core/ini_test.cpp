#include "core/ini.h"

#include <gtest/gtest.h>

#include <ctime>

namespace corvane {
namespace {

TEST(IniDocument, NamesCompareWithoutCaseAndValuesAreTrimmed) {
  auto doc = IniDocument::Parse("[Programs]\r\n Label0 = \xcb\xf9\xd3\xd0 \r\nq=\"quoted \"\r\n");
  EXPECT_EQ(doc.Get("PROGRAMS", "label0").value(), "\xcb\xf9\xd3\xd0");
  EXPECT_EQ(doc.Get("programs", "Q").value(), "quoted ");
  EXPECT_FALSE(doc.Get("programs", "missing"));
  EXPECT_FALSE(doc.Get("nosection", "label0"));
  // The second byte of a double-byte character does not close a header.
  EXPECT_EQ(IniDocument::Parse("[\xb0]x] \r\n").Sections(), std::vector<std::string>{"\xb0]x"});
}

TEST(IniDocument, SetKeepsLayoutAndAddsSectionsAtTheEnd) {
  auto doc = IniDocument::Parse("; kept\r\n[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
  doc.Set("A", "X", "10");
  doc.Set("a", "z", "3");
  doc.Set("c", "w", "4");
  EXPECT_EQ(doc.Serialize(), "; kept\r\n[a]\r\nx=10\r\nz=3\r\n\r\n[b]\r\ny=2\r\n[c]\r\nw=4\r\n");
  EXPECT_TRUE(doc.Remove("B", "Y"));
  EXPECT_FALSE(doc.Remove("b", "y"));
  EXPECT_EQ(doc.Keys("a"), (std::vector<std::string>{"x", "z"}));
  EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"a", "b", "c"}));
}

// Where a name repeats, the first section of that name is the section, and
// the first key of a name in it is the key: a write changes that one, a
// removal takes it away and uncovers the next.
TEST(IniDocument, TheFirstOfRepeatedNamesWins) {
  auto doc = IniDocument::Parse("[s]\nk=1\nK=2\n[t]\nk=9\n[S]\nk=3\nonly=4\n");
  EXPECT_EQ(doc.Get("s", "k").value(), "1");
  EXPECT_FALSE(doc.Get("s", "only"));
  EXPECT_EQ(doc.Keys("S"), (std::vector<std::string>{"k", "K"}));
  EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"s", "t", "S"}));
  doc.Set("S", "k", "5");
  EXPECT_EQ(doc.Get("s", "k").value(), "5");
  EXPECT_TRUE(doc.Remove("s", "K"));
  EXPECT_EQ(doc.Get("s", "k").value(), "2");
  doc.Set("s", "only", "6");
  EXPECT_EQ(doc.Serialize(), "[s]\r\nK=2\r\nonly=6\r\n[t]\r\nk=9\r\n[S]\r\nk=3\r\nonly=4\r\n");
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get("S", "ONLY").value(), "6");
}

// Names are indexed once per parse; a lookup used to rescan every line.
TEST(IniDocument, LookupsInALargeDocumentTakeLinearTime) {
  std::string text;
  const int kSections = 6000;
  for (int i = 0; i < kSections; ++i)
    text += "[Label" + std::to_string(i) + "]\r\nName=n" + std::to_string(i) + "\r\nIcon=" +
            std::to_string(i) + "\r\n";
  const std::clock_t start = std::clock();
  auto doc = IniDocument::Parse(text);
  int found = 0;
  for (int i = 0; i < kSections; ++i) {
    const std::string section = "LABEL" + std::to_string(i);
    found += doc.Get(section, "name") == "n" + std::to_string(i);
    found += ParseProfileInteger(doc.Get(section, "ICON").value_or(""), -1) == i;
    found += !doc.Get(section, "missing");
  }
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  EXPECT_EQ(found, 3 * kSections);
  EXPECT_LT(seconds, 1.0);
}

TEST(ProfileInteger, DecimalHexAndDefaults) {
  EXPECT_EQ(ParseProfileInteger("42", 7), 42);
  EXPECT_EQ(ParseProfileInteger("-3", 7), -3);
  EXPECT_EQ(ParseProfileInteger("0x10", 7), 16);
  EXPECT_EQ(ParseProfileInteger("0XfF", 7), 255);
  EXPECT_EQ(ParseProfileInteger("0xFFFFFFFF", 7), -1);
  EXPECT_EQ(ParseProfileInteger("abc", 7), 7);
  EXPECT_EQ(ParseProfileInteger("12abc", 7), 7);
  EXPECT_EQ(ParseProfileInteger("", 7), 7);
  EXPECT_EQ(ParseProfileInteger("0x", 7), 7);
  EXPECT_EQ(ParseProfileInteger("99999999999", 7), 7);
  EXPECT_EQ(ParseProfileInteger("-2147483648", 7), -2147483647 - 1);
}

}  // namespace
}  // namespace corvane
