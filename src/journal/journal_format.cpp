#include "journal/journal_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "core/text.h"

namespace corvane::journal {
namespace {

constexpr std::array<std::pair<Op, const char*>, 14> kOps = {{
    {Op::kCopy, "copy"},
    {Op::kDelete, "delete"},
    {Op::kRename, "move"},
    {Op::kMoveByCopy, "copymove"},
    {Op::kMakeFolder, "mkdir"},
    {Op::kRemoveFolder, "rmdir"},
    {Op::kAttributes, "attrib"},
    {Op::kWrite, "write"},
    {Op::kLink, "link"},
    {Op::kSetValue, "regset"},
    {Op::kDeleteValue, "regdel"},
    {Op::kCreateKey, "mkkey"},
    {Op::kDeleteKey, "rmkey"},
    {Op::kIniValue, "ini"},
}};

constexpr char kHex[] = "0123456789ABCDEF";

// Tab, line breaks and '%' always; the list separators where a field holds
// a list. All are below 0x40, so never a GBK trail byte.
std::string Escape(std::string_view s, std::string_view extra = {}) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\t' || c == '\r' || c == '\n' || c == '%' || extra.find(c) != std::string_view::npos) {
      out += '%';
      out += kHex[static_cast<unsigned char>(c) >> 4];
      out += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view s, std::size_t limit) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
    } else {
      if (i + 2 >= s.size()) return std::nullopt;
      int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    if (out.size() > limit) return std::nullopt;
  }
  return out;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    out += kHex[static_cast<unsigned char>(c) >> 4];
    out += kHex[static_cast<unsigned char>(c) & 15];
  }
  return out;
}

std::optional<std::string> FromHex(std::string_view s, std::size_t limit) {
  if (s.size() % 2 != 0 || s.size() / 2 > limit) return std::nullopt;
  std::string out;
  out.reserve(s.size() / 2);
  for (std::size_t i = 0; i < s.size(); i += 2) {
    int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

template <typename T>
std::optional<T> Number(std::string_view s, int base = 10) {
  T v{};
  if (s.empty() || s.size() > 20) return std::nullopt;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::string HashText(std::uint64_t h) {
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, h >>= 4) out[static_cast<std::size_t>(i)] = kHex[h & 15];
  return out;
}

// "4:01000000"
std::string ValueText(const RegValue& v) { return std::to_string(v.type) + ":" + HexBytes(v.data); }
std::optional<RegValue> ParseValue(std::string_view s) {
  std::size_t colon = s.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  auto type = Number<std::uint32_t>(s.substr(0, colon));
  auto data = FromHex(s.substr(colon + 1), kMaxValueData);
  if (!type || !data) return std::nullopt;
  return RegValue{*type, std::move(*data)};
}

class Line {
 public:
  explicit Line(const char* kind) : text_(kind) {}
  Line& Add(const char* key, std::string_view escaped) {
    text_ += '\t';
    text_ += key;
    text_ += '=';
    text_ += escaped;
    return *this;
  }
  Line& Text(const char* key, std::string_view s) { return Add(key, Escape(s)); }
  Line& Num(const char* key, std::uint64_t n) { return Add(key, std::to_string(n)); }
  std::string Done() { return text_ + "\r\n"; }

 private:
  std::string text_;
};

// A line's fields: a handful each, so a scan beats a map, and nothing is
// allocated (every start reads the whole journal).
class Fields {
 public:
  // False for one too many or a key twice (which one would be meant?).
  bool Add(std::string_view key, std::string_view value) {
    if (size_ == items_.size() || Find(key)) return false;
    items_[size_++] = {key, value};
    return true;
  }
  std::optional<std::string_view> Find(std::string_view key) const {
    for (std::size_t i = 0; i < size_; ++i)
      if (items_[i].first == key) return items_[i].second;
    return std::nullopt;
  }

 private:
  std::array<std::pair<std::string_view, std::string_view>, kMaxFields> items_;
  std::size_t size_ = 0;
};

struct FieldReader {
  const Fields& f;
  bool bad = false;
  std::optional<std::string_view> Raw(std::string_view key) const { return f.Find(key); }
  std::uint64_t Num(std::string_view key) {
    auto raw = Raw(key);
    auto n = raw ? Number<std::uint64_t>(*raw) : std::nullopt;
    if (!n) bad = true;
    return n.value_or(0);
  }
  std::optional<std::uint64_t> OptNum(std::string_view key, int base = 10) {
    auto raw = Raw(key);
    if (!raw) return std::nullopt;
    auto n = Number<std::uint64_t>(*raw, base);
    if (!n) bad = true;
    return n;
  }
  std::string Text(std::string_view key, bool required = true) {
    auto raw = Raw(key);
    if (!raw) {
      bad = bad || required;
      return {};
    }
    auto s = Unescape(*raw, kMaxText);
    if (!s) bad = true;
    return s.value_or(std::string());
  }
};

std::optional<Op> OpFromName(std::string_view name) {
  for (const auto& [op, text] : kOps)
    if (name == text) return op;
  return std::nullopt;
}

// The fields each kind of change needs, checked as the parse's last step.
bool RecordIsWhole(const Record& r) {
  if (r.path.empty()) return false;
  bool key = r.op == Op::kSetValue || r.op == Op::kDeleteValue || r.op == Op::kCreateKey ||
             r.op == Op::kDeleteKey;
  if (key) {
    if (!SplitKeyPath(r.path)) return false;
  } else if (!IsSafeAbsolutePath(r.path)) {
    return false;
  }
  if (r.blob && !IsBlobName(*r.blob)) return false;
  switch (r.op) {
    case Op::kCopy:
    case Op::kMoveByCopy:
    case Op::kRename:
      return IsSafeAbsolutePath(r.to) && (r.op == Op::kRename || (r.size && r.hash));
    case Op::kDelete:
      return r.blob && r.size && r.hash;
    case Op::kWrite:
      return r.size && r.hash && (r.blob.has_value() != r.old_absent);
    case Op::kLink:
      return r.blob.has_value() != r.old_absent;
    case Op::kSetValue:
      return r.new_value && (r.old_value.has_value() != r.old_absent);
    case Op::kDeleteValue:
      return r.old_value.has_value();
    case Op::kIniValue:
      return SplitIniValueName(r.name) && (r.old_value.has_value() != r.old_absent);
    default:
      return true;
  }
}

std::optional<Entry> ParseFields(std::string_view kind, FieldReader& in) {
  Entry e;
  if (kind == "group") {
    e.kind = Entry::Kind::kGroup;
    e.group.id = in.Num("id");
    e.group.time = in.Text("time");
    e.group.what = in.Text("what");
    e.group.undoes = in.OptNum("undoes");
  } else if (kind == "done" || kind == "failed") {
    e.kind = Entry::Kind::kDone;
    e.completion.seq = in.Num("seq");
    e.completion.ok = kind == "done";
    e.completion.size = in.OptNum("size");
    e.completion.hash = in.OptNum("hash", 16);
    if (auto a = in.OptNum("attr")) {
      if (*a > 0xFFFFFFFFu) return std::nullopt;
      e.completion.attributes = static_cast<std::uint32_t>(*a);
    }
  } else if (kind == "undone") {
    e.kind = Entry::Kind::kUndone;
    e.undone_group = in.Num("group");
  } else if (kind == "baseline") {
    e.kind = Entry::Kind::kBaseline;
    e.baseline.groups = in.Num("groups");
    e.baseline.until = in.Text("until", false);
  } else if (kind == "do") {
    e.kind = Entry::Kind::kDo;
    Record& r = e.record;
    r.seq = in.Num("seq");
    r.group = in.Num("group");
    auto op = in.Raw("op") ? OpFromName(*in.Raw("op")) : std::nullopt;
    if (!op) return std::nullopt;
    r.op = *op;
    r.path = in.Text("path");
    r.to = in.Text("to", false);
    r.name = in.Text("name", false);
    r.size = in.OptNum("size");
    r.hash = in.OptNum("hash", 16);
    if (auto blob = in.Raw("old")) {
      if (*blob == "absent")
        r.old_absent = true;
      else
        r.blob = std::string(*blob);
    }
    std::uint64_t attributes = in.OptNum("attr").value_or(0);
    std::uint64_t new_attributes = in.OptNum("new_attr").value_or(0);
    if (attributes > 0xFFFFFFFFu || new_attributes > 0xFFFFFFFFu) return std::nullopt;
    r.attributes = static_cast<std::uint32_t>(attributes);
    r.new_attributes = static_cast<std::uint32_t>(new_attributes);
    if (auto v = in.Raw("old_value")) {
      if (*v == "absent") {
        r.old_absent = true;
      } else {
        r.old_value = ParseValue(*v);
        if (!r.old_value) return std::nullopt;
      }
    }
    if (auto v = in.Raw("new_value")) {
      r.new_value = ParseValue(*v);
      if (!r.new_value) return std::nullopt;
    }
    if (auto list = in.Raw("values"); list && !list->empty()) {
      std::string_view rest = *list;
      while (!rest.empty()) {
        if (r.values.size() >= kMaxKeyValues) return std::nullopt;
        std::size_t semi = rest.find(';');
        std::string_view item = rest.substr(0, semi);
        rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
        std::size_t colon = item.find(':');
        if (colon == std::string_view::npos) return std::nullopt;
        auto name = Unescape(item.substr(0, colon), kMaxText);
        auto value = ParseValue(item.substr(colon + 1));
        if (!name || !value) return std::nullopt;
        r.values.push_back({std::move(*name), std::move(*value)});
      }
    }
    if (!RecordIsWhole(r)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (in.bad) return std::nullopt;
  return e;
}

}  // namespace

const char* OpName(Op op) {
  for (const auto& [o, text] : kOps)
    if (o == op) return text;
  return "?";
}

std::string FormatLine(const Entry& e) {
  switch (e.kind) {
    case Entry::Kind::kGroup: {
      Line l("group");
      l.Num("id", e.group.id).Text("time", e.group.time).Text("what", e.group.what);
      if (e.group.undoes) l.Num("undoes", *e.group.undoes);
      return l.Done();
    }
    case Entry::Kind::kDone: {
      Line l(e.completion.ok ? "done" : "failed");
      l.Num("seq", e.completion.seq);
      if (e.completion.size) l.Num("size", *e.completion.size);
      if (e.completion.hash) l.Add("hash", HashText(*e.completion.hash));
      if (e.completion.attributes) l.Num("attr", *e.completion.attributes);
      return l.Done();
    }
    case Entry::Kind::kUndone:
      return Line("undone").Num("group", e.undone_group).Done();
    case Entry::Kind::kBaseline:
      return Line("baseline").Num("groups", e.baseline.groups).Text("until", e.baseline.until).Done();
    case Entry::Kind::kDo:
      break;
  }
  const Record& r = e.record;
  Line l("do");
  l.Num("seq", r.seq).Num("group", r.group).Add("op", OpName(r.op)).Text("path", r.path);
  if (!r.to.empty()) l.Text("to", r.to);
  if (!r.name.empty() || r.op == Op::kSetValue || r.op == Op::kDeleteValue) l.Text("name", r.name);
  if (r.size) l.Num("size", *r.size);
  if (r.hash) l.Add("hash", HashText(*r.hash));
  bool value_op = r.op == Op::kSetValue || r.op == Op::kDeleteValue || r.op == Op::kIniValue;
  if (r.blob) l.Add("old", *r.blob);
  else if (r.old_absent && !value_op) l.Add("old", "absent");
  if (r.op == Op::kDelete || r.op == Op::kRemoveFolder || r.op == Op::kAttributes)
    l.Num("attr", r.attributes);
  if (r.op == Op::kAttributes) l.Num("new_attr", r.new_attributes);
  if (r.old_value) l.Add("old_value", ValueText(*r.old_value));
  else if (r.old_absent && value_op) l.Add("old_value", "absent");
  if (r.new_value) l.Add("new_value", ValueText(*r.new_value));
  if (r.op == Op::kDeleteKey) {
    std::string list;
    for (const NamedValue& v : r.values) {
      if (!list.empty()) list += ';';
      list += Escape(v.name, ";:") + ":" + ValueText(v.value);
    }
    l.Add("values", list);
  }
  return l.Done();
}

std::optional<Entry> ParseLine(std::string_view line) {
  if (line.size() > kMaxLine) return std::nullopt;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  std::size_t tab = line.find('\t');
  std::string_view kind = line.substr(0, tab);
  Fields fields;
  std::string_view rest = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
  while (tab != std::string_view::npos) {
    tab = rest.find('\t');
    std::string_view field = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    std::size_t eq = field.find('=');
    if (eq == std::string_view::npos || !fields.Add(field.substr(0, eq), field.substr(eq + 1)))
      return std::nullopt;
  }
  FieldReader in{fields};
  return ParseFields(kind, in);
}

namespace {

// The next line of text (without its '\n'), taken off the front.
std::string_view TakeLine(std::string_view& text) {
  std::size_t nl = text.find('\n');
  std::string_view line = text.substr(0, nl);
  text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
  return line;
}

}  // namespace

ParsedJournal ParseJournal(std::string_view text) {
  ParsedJournal out;
  while (!text.empty()) {
    std::string_view line = TakeLine(text);
    if (line.empty() || line == "\r") continue;
    if (auto e = ParseLine(line))
      out.entries.push_back(std::move(*e));
    else
      ++out.damaged;
  }
  return out;
}

namespace {

// The raw text of one field of a line, without parsing the others.
std::optional<std::string_view> FieldOf(std::string_view line, std::string_view key) {
  std::size_t at = line.find('\t');
  while (at != std::string_view::npos) {
    std::string_view field = line.substr(at + 1);
    std::size_t next = field.find('\t');
    field = field.substr(0, next);
    if (field.size() > key.size() && field.substr(0, key.size()) == key && field[key.size()] == '=')
      return field.substr(key.size() + 1);
    at = next == std::string_view::npos ? next : at + 1 + next;
  }
  return std::nullopt;
}

}  // namespace

JournalOutline OutlineJournal(std::string_view text) {
  JournalOutline out;
  // A record's line is parsed only when nothing completed it: a start reads
  // every line, and nearly all of them are done with.
  std::map<std::uint64_t, std::string_view> begun;
  while (!text.empty()) {
    std::string_view line = TakeLine(text);
    if (line.size() > kMaxLine) continue;
    if (line.substr(0, 3) == "do\t") {
      auto seq = FieldOf(line, "seq"), group = FieldOf(line, "group");
      auto n = seq ? Number<std::uint64_t>(*seq) : std::nullopt;
      auto g = group ? Number<std::uint64_t>(*group) : std::nullopt;
      if (!n) continue;  // damaged: never begun
      out.last_seq = std::max(out.last_seq, *n);
      if (g) out.last_group = std::max(out.last_group, *g);
      begun[*n] = line;
      continue;
    }
    auto e = ParseLine(line);
    if (!e) continue;
    if (e->kind == Entry::Kind::kGroup) out.last_group = std::max(out.last_group, e->group.id);
    if (e->kind == Entry::Kind::kDone) begun.erase(e->completion.seq);
  }
  for (const auto& [seq, line] : begun)
    if (auto e = ParseLine(line); e && e->kind == Entry::Kind::kDo && e->record.seq == seq)
      out.pending.push_back(std::move(e->record));
  return out;
}

std::string IniValueName(const std::string& section, const std::string& key) {
  return "[" + section + "]" + key;
}

std::optional<std::pair<std::string, std::string>> SplitIniValueName(std::string_view name) {
  // A section's name cannot hold its closing bracket.
  std::size_t close = name.find(']');
  if (name.empty() || name[0] != '[' || close == std::string_view::npos || close == 1 ||
      close + 1 == name.size())
    return std::nullopt;
  return std::pair(std::string(name.substr(1, close - 1)), std::string(name.substr(close + 1)));
}

std::uint64_t ContentHash(std::string_view bytes) { return text::Fnv1a64(bytes); }

std::string BlobName(std::uint64_t seq) {
  std::string digits = std::to_string(seq);
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  return digits + ".bin";
}

bool IsBlobName(std::string_view name) {
  constexpr std::string_view kExt = ".bin";
  if (name.size() <= kExt.size() || name.size() > 23 || name.substr(name.size() - 4) != kExt)
    return false;
  for (char c : name.substr(0, name.size() - 4))
    if (c < '0' || c > '9') return false;
  return true;
}

bool IsSafeAbsolutePath(std::string_view path) {
  if (path.size() < 3 || path.size() > kMaxText) return false;
  char drive = static_cast<char>(path[0] & ~0x20);
  if (drive < 'A' || drive > 'Z' || path[1] != ':' || path[2] != '\\') return false;
  // Components are cut at single-byte '\' only where it cannot be a trail
  // byte: a "." or ".." component is plain ASCII between separators.
  std::size_t start = 3;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && path[end] != '\\') {
      if (static_cast<unsigned char>(path[end]) >= 0x81) ++end;  // lead byte: skip its trail
      ++end;
    }
    std::string_view part = path.substr(start, end - start);
    if (part == "." || part == "..") return false;
    for (char c : part)
      if (static_cast<unsigned char>(c) < 0x20) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace corvane::journal
