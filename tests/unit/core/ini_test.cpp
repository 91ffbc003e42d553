#include "core/ini.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(IniDocument, NamesCompareWithoutCaseAndValuesAreTrimmed) {
  auto doc = IniDocument::Parse("[Programs]\r\n Label0 = \xcb\xf9\xd3\xd0 \r\nq=\"quoted \"\r\n");
  EXPECT_EQ(doc.Get("PROGRAMS", "label0").value(), "\xcb\xf9\xd3\xd0");
  EXPECT_EQ(doc.Get("programs", "Q").value(), "quoted ");
  EXPECT_FALSE(doc.Get("programs", "missing"));
  EXPECT_FALSE(doc.Get("nosection", "label0"));
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
