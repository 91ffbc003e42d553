// The skin package: an LZHUF stream that unpacks to a format mark, a
// directory of entry names, a table of entry sizes and the entries' bytes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "skin/bytes.h"

namespace corvane::skin {

inline constexpr std::int32_t kSkinFormatMark = 20000;
inline constexpr std::size_t kMaxSkinEntries = 1001;
// A description is a few kilobytes of text (the program's own, 5 KB); parsed,
// a line costs up to a hundred bytes however short it is.
inline constexpr std::size_t kMaxDescriptionSize = 256u << 10;
inline constexpr char kOlderSkinMessage[] = "This is Older Skin File\rPlease update to new version !";

// Splits a directory text into lines the way a string list does: CR LF, LF
// or CR end a line; a final line without an ending still counts.
std::vector<std::string> SplitLines(std::string_view text);

class TSkinReader {
 public:
  // Unpacks and checks a package. On failure the reader holds nothing and
  // Error() says why; a wrong format mark gives kOlderSkinMessage.
  bool ReadPackage(ByteSpan package);
  // The same for a package already unpacked.
  bool ReadUnpacked(Bytes unpacked);
  const std::string& Error() const { return error_; }
  bool WrongFormat() const { return wrong_format_; }

  // The first entry of that name (compared in lower case), or npos.
  std::size_t Find(std::string_view name) const;
  // Clears out, then fills it with the first entry of that name, if there is one.
  bool ExtractEntry(std::string_view name, Bytes& out) const;
  // The first entry whose name contains the text (without regard to case),
  // or npos.
  std::size_t FindContaining(std::string_view text) const;
  // The same for the first entry whose name contains the text; *name gets
  // the entry's (lowercased) name.
  bool ExtractEntryContaining(std::string_view text, Bytes& out, std::string* name) const;

  const std::vector<std::string>& Names() const { return names_; }
  std::size_t Count() const { return names_.size(); }
  ByteSpan Entry(std::size_t i) const { return ByteSpan(data_).Sub(offsets_[i], sizes_[i]); }
  std::int32_t FormatMark() const { return mark_; }
  std::int32_t DirectoryLength() const { return dir_length_; }
  std::int32_t Unread1() const { return unread_[0]; }
  std::int32_t Unread2() const { return unread_[1]; }

 private:
  bool Refuse(std::string why);
  void CopyEntry(std::size_t i, Bytes& out) const;

  std::vector<std::string> names_;
  std::unordered_map<std::string, std::size_t> first_;  // name -> first entry of it
  std::vector<std::uint32_t> sizes_;
  std::vector<std::size_t> offsets_;
  Bytes data_;  // the whole unpacked package; offsets_ point into it
  std::int32_t mark_ = 0;
  std::int32_t dir_length_ = 0;
  std::int32_t unread_[2] = {};
  std::string error_;
  bool wrong_format_ = false;
};

}  // namespace corvane::skin
