#include "skin/skin_reader.h"

#include "core/text.h"
#include "skin/lzh.h"

namespace corvane::skin {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool TSkinReader::Refuse(std::string why) {
  *this = TSkinReader();
  error_ = std::move(why);
  return false;
}

bool TSkinReader::ReadPackage(ByteSpan package) {
  *this = TSkinReader();
  Bytes unpacked;
  std::string why;
  if (!TLZH().DecodeStream(package, unpacked, &why)) return Refuse("skin package: " + why);
  return ReadUnpacked(std::move(unpacked));
}

bool TSkinReader::ReadUnpacked(Bytes unpacked) {
  *this = TSkinReader();
  ByteSpan u(unpacked);
  if (!u.Has(0, 16)) return Refuse("skin package: header truncated");
  if (u.I32(0) != kSkinFormatMark) {
    Refuse(kOlderSkinMessage);
    wrong_format_ = true;
    return false;
  }
  std::int32_t length = u.I32(4);
  if (length < 0 || !u.Has(16, static_cast<std::size_t>(length)))
    return Refuse("skin package: directory runs past the end");
  std::vector<std::string> names = SplitLines(text::LowerCase(u.Sub(16, length).Text()));
  if (names.size() > kMaxSkinEntries) return Refuse("skin package: more than 1001 entries");
  std::size_t table = 16 + static_cast<std::size_t>(length);
  if (!u.Has(table, 4 * names.size())) return Refuse("skin package: size table truncated");
  std::size_t data_start = table + 4 * names.size();
  std::vector<std::uint32_t> sizes;
  std::vector<std::size_t> offsets;
  std::size_t total = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::int32_t size = u.I32(table + 4 * i);
    if (size < 0) return Refuse("skin package: negative entry size");
    if (!u.Has(data_start + total, static_cast<std::size_t>(size)))
      return Refuse("skin package: entry data runs past the end");
    offsets.push_back(data_start + total);
    sizes.push_back(static_cast<std::uint32_t>(size));
    total += static_cast<std::size_t>(size);
  }
  names_ = std::move(names);
  for (std::size_t i = 0; i < names_.size(); ++i) first_.emplace(names_[i], i);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  mark_ = u.I32(0);
  dir_length_ = length;
  unread_[0] = u.I32(8);
  unread_[1] = u.I32(12);
  data_ = std::move(unpacked);
  return true;
}

void TSkinReader::CopyEntry(std::size_t i, Bytes& out) const {
  ByteSpan e = Entry(i);
  out.assign(e.data, e.data + e.size);
}

std::size_t TSkinReader::Find(std::string_view name) const {
  auto it = first_.find(text::LowerCase(name));
  return it == first_.end() ? std::string::npos : it->second;
}

bool TSkinReader::ExtractEntry(std::string_view name, Bytes& out) const {
  out.clear();
  std::size_t i = Find(name);
  if (i == std::string::npos) return false;
  CopyEntry(i, out);
  return true;
}

std::size_t TSkinReader::FindContaining(std::string_view part) const {
  std::string key = text::LowerCase(part);
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (text::ContainsText(names_[i], key)) return i;
  return std::string::npos;
}

bool TSkinReader::ExtractEntryContaining(std::string_view part, Bytes& out,
                                         std::string* name) const {
  out.clear();
  std::size_t i = FindContaining(part);
  if (i == std::string::npos) return false;
  CopyEntry(i, out);
  if (name) *name = names_[i];
  return true;
}

}  // namespace corvane::skin
