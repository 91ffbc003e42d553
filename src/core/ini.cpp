#include "core/ini.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "core/text.h"

namespace corvane {
namespace {
std::string Unquote(std::string v) {
  if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') ||
                        (v.front() == '\'' && v.back() == '\'')))
    return v.substr(1, v.size() - 2);
  return v;
}
}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t nl = text.find('\n', pos);
    std::string_view raw = text.substr(pos, nl == std::string_view::npos ? text.npos : nl - pos);
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Line line;
    line.raw = std::string(raw);
    std::string t = text::Trim(raw);
    if (!t.empty() && t.front() == '[') {
      std::size_t close = t.find(']');
      line.is_section = true;
      line.section = text::Trim(t.substr(1, close == std::string::npos ? t.npos : close - 1));
    } else if (std::size_t eq = t.find('='); eq != std::string::npos && eq > 0) {
      line.is_key = true;
      line.key = text::Trim(t.substr(0, eq));
      line.value = Unquote(text::Trim(t.substr(eq + 1)));
    }
    doc.lines_.push_back(std::move(line));
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Line& l : lines_) {
    out += l.raw;
    out += "\r\n";
  }
  return out;
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].is_section && text::SameText(lines_[i].section, section)) return i;
  return std::string::npos;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !lines_[i].is_section) ++i;
  return i;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  std::size_t h = FindSection(section);
  if (h == std::string::npos) return std::nullopt;
  for (std::size_t i = h + 1, e = SectionEnd(h); i < e; ++i)
    if (lines_[i].is_key && text::SameText(lines_[i].key, key)) return lines_[i].value;
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  Line kv;
  kv.is_key = true;
  kv.key = std::string(key);
  kv.value = std::string(value);
  kv.raw = kv.key + "=" + kv.value;
  std::size_t h = FindSection(section);
  if (h == std::string::npos) {
    Line header;
    header.is_section = true;
    header.section = std::string(section);
    header.raw = "[" + header.section + "]";
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(kv));
    return;
  }
  std::size_t e = SectionEnd(h);
  for (std::size_t i = h + 1; i < e; ++i) {
    if (lines_[i].is_key && text::SameText(lines_[i].key, key)) {
      kv.key = lines_[i].key;  // the stored spelling stays
      kv.raw = kv.key + "=" + kv.value;
      lines_[i] = std::move(kv);
      return;
    }
  }
  // After the last non-blank line of the section, as Windows does.
  std::size_t at = e;
  while (at > h + 1 && text::Trim(lines_[at - 1].raw).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(kv));
}

bool IniDocument::Remove(std::string_view section, std::string_view key) {
  std::size_t h = FindSection(section);
  if (h == std::string::npos) return false;
  for (std::size_t i = h + 1, e = SectionEnd(h); i < e; ++i) {
    if (lines_[i].is_key && text::SameText(lines_[i].key, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  std::size_t h = FindSection(section);
  if (h == std::string::npos) return keys;
  for (std::size_t i = h + 1, e = SectionEnd(h); i < e; ++i)
    if (lines_[i].is_key) keys.push_back(lines_[i].key);
  return keys;
}

std::vector<std::string> IniDocument::Sections() const {
  std::vector<std::string> names;
  for (const Line& l : lines_)
    if (l.is_section) names.push_back(l.section);
  return names;
}

int ParseProfileInteger(std::string_view text_in, int default_value) {
  std::string t = text::Trim(text_in);
  if (t.empty()) return default_value;
  int base = 10;
  std::size_t start = 0;
  bool negative = false;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    start = 2;
  } else if (t[0] == '-' || t[0] == '+') {
    negative = t[0] == '-';
    start = 1;
  }
  if (start >= t.size()) return default_value;
  long long value = 0;
  for (std::size_t i = start; i < t.size(); ++i) {
    char c = t[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return default_value;
    value = value * base + digit;
    // Hexadecimal spells the 32-bit pattern (0xFFFFFFFF is -1); decimal must fit.
    if (value > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL)) return default_value;
  }
  if (base == 16) return static_cast<int>(static_cast<unsigned int>(value));
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return default_value;
  return static_cast<int>(value);
}

}  // namespace corvane
