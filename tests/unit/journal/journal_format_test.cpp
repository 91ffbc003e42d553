#include <gtest/gtest.h>

#include "journal/journal_format.h"

namespace corvane::journal {
namespace {

Entry Do(Record r) {
  Entry e;
  e.kind = Entry::Kind::kDo;
  e.record = std::move(r);
  return e;
}

// "表" is 0xB1ED and "\x95\x5C" has a '\' as its trail byte: neither may be
// cut, and a tab or '%' in a name must not split the line.
const std::string kTrailPath = "C:\\程序\\\x95\x5C\\a%b.lnk";

TEST(JournalFormat, EveryKindOfChangeReadsBackAsWritten) {
  std::vector<Record> records(8);
  records[0].op = Op::kCopy;
  records[0].path = kTrailPath;
  records[0].to = "C:\\x\\办公应用\\a.lnk";
  records[0].size = 3;
  records[0].hash = ContentHash("abc");
  records[0].blob = BlobName(1);
  records[1].op = Op::kDelete;
  records[1].path = kTrailPath;
  records[1].size = 0;
  records[1].hash = ContentHash("");
  records[1].blob = BlobName(2);
  records[1].attributes = 0x06;
  records[2].op = Op::kSetValue;
  records[2].path = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  records[2].name = "Start_ShowMyMusic";
  records[2].old_absent = true;
  records[2].new_value = RegValue{reg::kDword, std::string("\0\0\0\0", 4)};
  records[3].op = Op::kSetValue;
  records[3].path = "HKCR\\CLSID\\{x}";
  records[3].name = "";  // the default value
  records[3].old_value = RegValue{reg::kSz, std::string("旧\0", 3)};
  records[3].new_value = RegValue{reg::kSz, std::string("新\0", 3)};
  records[4].op = Op::kDeleteKey;
  records[4].path = "HKLM\\Software\\Halvorn";
  records[4].values = {{"a;b:c%", RegValue{reg::kBinary, std::string("\t\n\0", 3)}}, {"", {}}};
  records[5].op = Op::kWrite;
  records[5].path = "C:\\a\\Desktop.ini";
  records[5].size = 5;
  records[5].hash = 77;
  records[5].old_absent = true;
  records[6].op = Op::kMoveByCopy;
  records[6].path = kTrailPath;
  records[6].to = "C:\\x\\办公应用\\b.lnk";
  records[6].size = 1200;
  records[6].hash = ContentHash("link");
  records[7].op = Op::kIniValue;
  records[7].path = "D:\\Corvane\\classify.ini";
  records[7].name = IniValueName("programs", "Label3");
  records[7].old_absent = true;
  records[7].new_value = RegValue{reg::kSz, "我的工具"};
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].seq = 100 + i;
    records[i].group = 9;
    std::string line = FormatLine(Do(records[i]));
    ASSERT_EQ(line.find('\n'), line.size() - 1) << "one line per record: " << line;
    auto back = ParseLine(line);
    ASSERT_TRUE(back) << line;
    EXPECT_EQ(FormatLine(*back), line);
    EXPECT_EQ(back->record.path, records[i].path);
    EXPECT_EQ(back->record.values.size(), records[i].values.size());
    if (records[i].hash) {
      // A copy or move without its bytes' hash could not tell ours from the user's.
      std::string cut = line.substr(0, line.find("\thash=")) + "\r\n";
      EXPECT_FALSE(ParseLine(cut)) << cut;
    }
  }
  Entry g;
  g.kind = Entry::Kind::kGroup;
  g.group = GroupHeader{4, "2026-12-08 23:40:05", "拖放 便笺 → 办公应用\t%", 3};
  auto back = ParseLine(FormatLine(g));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->group.what, g.group.what);
  EXPECT_EQ(back->group.undoes, 3u);
}

TEST(JournalFormat, DamagedLinesAreSkippedAndCountedNotTrusted) {
  Record r;
  r.op = Op::kMakeFolder;
  r.path = "C:\\a";
  r.seq = 1;
  r.group = 1;
  std::string good = FormatLine(Do(r));
  std::string text = good;
  text += good.substr(0, good.size() / 2) + "\n";                     // cut off by a power failure
  text += "do\tseq=2\tgroup=1\top=delete\tpath=C:\\a\tsize=1\thash=1\told=..\\..\\x.bin\n";
  text += "do\tseq=3\tgroup=1\top=mkdir\tpath=..\\outside\n";          // not absolute
  text += "do\tseq=4\tgroup=1\top=mkdir\tpath=C:\\a\\..\\..\\b\n";     // climbs out
  text += "do\tseq=5\tseq=6\tgroup=1\top=mkdir\tpath=C:\\b\n";         // a field twice
  text += "do\tseq=99999999999999999999999\tgroup=1\top=mkdir\tpath=C:\\b\n";
  text += "do\tseq=7\tgroup=1\top=regset\tpath=HKCU\\a\tname=x\tnew_value=4:0G\n";
  text += "do\tseq=8\tgroup=1\top=regset\tpath=HKEY\\a\tname=x\tnew_value=4:00\told_value=absent\n";
  text += "done\tseq=%zz\n";
  text += "frobnicate\tseq=1\n";
  text += std::string(kMaxLine + 10, 'x') + "\n";
  text += "do\tseq=9\tgroup=1\top=mkdir\tpath=C:\\" + std::string(kMaxText, 'n') + "\n";
  text += good;
  ParsedJournal parsed = ParseJournal(text);
  EXPECT_EQ(parsed.entries.size(), 2u);
  EXPECT_EQ(parsed.damaged, 12u);
}

TEST(JournalFormat, SavedContentNamesStayInsideTheJournalFolder) {
  EXPECT_TRUE(IsBlobName(BlobName(12)));
  for (const char* bad : {"", ".bin", "..\\1.bin", "1.bin\\..", "C:\\1.bin", "1.exe", "１.bin"})
    EXPECT_FALSE(IsBlobName(bad)) << bad;
}

}  // namespace
}  // namespace corvane::journal
