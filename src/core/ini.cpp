#include "core/ini.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <utility>

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
    std::string t = text::Trim(raw);
    if (!t.empty() && t.front() == '[') {
      // The name ends at the first ']' that is a character of its own, not
      // the second byte of a double-byte one.
      std::size_t close = 1;
      while (close < t.size() && t[close] != ']') close += text::CharLength(t, close);
      Section s;
      s.has_header = true;
      s.header = std::string(raw);
      s.name = text::Trim(std::string_view(t).substr(1, close - 1));
      doc.index_.emplace(s.name, doc.sections_.size());  // a repeated name keeps the first
      doc.sections_.push_back(std::move(s));
      continue;
    }
    Line line;
    line.raw = std::string(raw);
    if (std::size_t eq = t.find('='); eq != std::string::npos && eq > 0) {
      line.is_key = true;
      line.key = text::Trim(t.substr(0, eq));
      line.value = Unquote(text::Trim(t.substr(eq + 1)));
    }
    Section& current = doc.sections_.back();
    if (line.is_key) current.keys.emplace(line.key, current.lines.size());
    current.lines.push_back(std::move(line));
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Section& s : sections_) {
    if (s.has_header) out.append(s.header).append("\r\n");
    for (const Line& l : s.lines) out.append(l.raw).append("\r\n");
  }
  return out;
}

void IniDocument::Section::IndexKeys() {
  keys.clear();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].is_key) keys.emplace(lines[i].key, i);
}

const IniDocument::Section* IniDocument::Find(std::string_view section) const {
  auto it = index_.find(std::string(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::Find(std::string_view section) {
  return const_cast<Section*>(std::as_const(*this).Find(section));
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  auto it = s->keys.find(std::string(key));
  if (it == s->keys.end()) return std::nullopt;
  return s->lines[it->second].value;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  Line kv;
  kv.is_key = true;
  kv.key = std::string(key);
  kv.value = std::string(value);
  kv.raw = kv.key + "=" + kv.value;
  Section* s = Find(section);
  if (!s) {
    Section added;
    added.has_header = true;
    added.name = std::string(section);
    added.header = "[" + added.name + "]";
    added.keys.emplace(kv.key, 0);
    added.lines.push_back(std::move(kv));
    index_.emplace(added.name, sections_.size());
    sections_.push_back(std::move(added));
    return;
  }
  if (auto it = s->keys.find(std::string(key)); it != s->keys.end()) {
    Line& line = s->lines[it->second];
    line.value = kv.value;
    line.raw = line.key + "=" + line.value;  // the stored spelling stays
    return;
  }
  // After the last non-blank line of the section, as Windows does.
  std::size_t at = s->lines.size();
  while (at > 0 && text::Trim(s->lines[at - 1].raw).empty()) --at;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(kv));
  for (auto& entry : s->keys)
    if (entry.second >= at) ++entry.second;
  s->keys.emplace(std::string(key), at);
}

bool IniDocument::Remove(std::string_view section, std::string_view key) {
  Section* s = Find(section);
  if (!s) return false;
  auto it = s->keys.find(std::string(key));
  if (it == s->keys.end()) return false;
  s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
  s->IndexKeys();  // a later key of the same name now answers
  return true;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = Find(section))
    for (const Line& l : s->lines)
      if (l.is_key) keys.push_back(l.key);
  return keys;
}

std::vector<std::string> IniDocument::Sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_)
    if (s.has_header) names.push_back(s.name);
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
