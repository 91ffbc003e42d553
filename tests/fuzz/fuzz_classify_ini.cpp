// Input is a classify.ini (the text at the front) and a few operations on it
// (taken from the back). Lookups must agree with a plain scan of the text by
// the profile rules; parse, serialize and parse again must give the same
// lookups; set, remove and get must agree, in the document and through the
// profile store; integers must read as the profile routines read them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/ini.h"
#include "core/text.h"
#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"

using corvane::IniDocument;
namespace text = corvane::text;

namespace {

using Lookup = std::optional<std::string>;
constexpr std::size_t kNone = std::string::npos;
const std::string kFile = "C:\\Corvane\\classify.ini";

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Names compare as their upper-cased copies.
bool Same(std::string_view a, std::string_view b) {
  return text::UpperCase(a) == text::UpperCase(b);
}

std::string Unquote(std::string v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
    return v.substr(1, v.size() - 2);
  return v;
}

// The name in a header line: up to the first ']' that is a character.
std::string HeaderName(const std::string& t) {
  std::size_t close = 1;
  while (close < t.size() && t[close] != ']') close += text::CharLength(t, close);
  return text::Trim(std::string_view(t).substr(1, close - 1));
}

// The first section of the name and, in it, the first key of the name.
Lookup ScanGet(std::string_view ini, std::string_view section, std::string_view key) {
  bool inside = false;
  for (std::size_t pos = 0; pos < ini.size();) {
    std::size_t nl = ini.find('\n', pos);
    std::string_view raw = ini.substr(pos, nl == kNone ? kNone : nl - pos);
    pos = nl == kNone ? ini.size() : nl + 1;
    const std::string t = text::Trim(raw);
    if (!t.empty() && t[0] == '[') {
      if (inside) return std::nullopt;
      inside = Same(HeaderName(t), section);
      continue;
    }
    const std::size_t eq = t.find('=');
    if (inside && eq != kNone && eq > 0 && Same(text::Trim(t.substr(0, eq)), key))
      return Unquote(text::Trim(t.substr(eq + 1)));
  }
  return std::nullopt;
}

int ReferenceInteger(std::string_view in, int fallback) {
  const std::string t = text::Trim(in);
  auto all = [&](std::size_t from, int (*is)(int)) {
    if (from >= t.size()) return false;
    for (std::size_t i = from; i < t.size(); ++i)
      if (!is(static_cast<unsigned char>(t[i]))) return false;
    return true;
  };
  errno = 0;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    if (!all(2, isxdigit)) return fallback;
    unsigned long long v = std::strtoull(t.c_str() + 2, nullptr, 16);
    if (errno == ERANGE || v > 0xFFFFFFFFull) return fallback;
    return static_cast<int>(static_cast<unsigned>(v));
  }
  if (t.empty() || !all(t[0] == '-' || t[0] == '+' ? 1 : 0, isdigit)) return fallback;
  long long v = std::strtoll(t.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return fallback;
  return static_cast<int>(v);
}

// Every lookup of a document, checked against the text it came from.
void CheckDocument(const std::string& ini) {
  const IniDocument doc = IniDocument::Parse(ini);
  const std::string saved = doc.Serialize();
  const IniDocument again = IniDocument::Parse(saved);
  Check(again.Serialize() == saved);
  Check(again.Sections() == doc.Sections());
  // A plain scan reads the whole text: a few of them for a large one.
  const int scans = ini.size() > 4096 ? 4 : 32;
  int scanned = 0;
  for (const std::string& s : doc.Sections()) {
    Check(again.Keys(s) == doc.Keys(s));
    for (const std::string& k : doc.Keys(s)) {
      const Lookup v = doc.Get(s, k);
      Check(v.has_value() && again.Get(s, k) == v);
      Check(doc.Get(text::LowerCase(s), text::UpperCase(k)) == v);
      if (++scanned <= scans) Check(ScanGet(ini, s, k) == v);
      for (int fallback : {-7, 12345})
        Check(corvane::ParseProfileInteger(*v, fallback) == ReferenceInteger(*v, fallback));
    }
  }
}

// A name the store can write and read back as it is: a header's ']' must
// not become the second byte of a last double-byte character.
bool Plain(const std::string& name, char forbidden) {
  if (name.empty() || text::Trim(name) != name || name[0] == '[' ||
      name.find_first_of(std::string("\r\n") + forbidden) != kNone)
    return false;
  std::size_t last = 0;
  for (std::size_t i = 0; i < name.size(); i += text::CharLength(name, i)) last = i;
  return !text::IsLeadByte(static_cast<unsigned char>(name[last]));
}

std::string FlipCase(std::string s, std::uint32_t bits) {
  for (std::size_t i = 0; i < s.size() && i < 32; i += text::CharLength(s, i))
    if ((bits >> i & 1) && std::isalpha(static_cast<unsigned char>(s[i])))
      s[i] = static_cast<char>(s[i] ^ 0x20);
  return s;
}

// One of the names given, in another case, or a new one.
std::string Pick(const std::vector<std::string>& names, std::uint16_t choice, std::uint32_t bits,
                 const char* fresh) {
  if (names.empty() || choice % (names.size() + 1) == names.size())
    return fresh + std::to_string(choice % 7);
  return FlipCase(names[choice % names.size()], bits);
}

std::string Value(std::uint32_t v) {
  switch (v % 5) {
    case 0: return std::to_string(static_cast<int>(v));
    case 1: return "\"" + std::to_string(v) + " \"";
    case 2: return "  \xb3\xcc\xd0\xf2 " + std::to_string(v >> 8) + "  ";
    case 3: return "";
    default: return "0x" + std::to_string(v % 100000);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  struct Op {
    int kind;
    std::uint16_t section, key;
    std::uint32_t value;
  };
  std::vector<Op> ops(in.ConsumeIntegralInRange(0, 8));
  for (Op& op : ops) {
    op.kind = in.ConsumeIntegralInRange(0, 3);
    op.section = in.ConsumeIntegral<std::uint16_t>();
    op.key = in.ConsumeIntegral<std::uint16_t>();
    op.value = in.ConsumeIntegral<std::uint32_t>();
  }
  const std::string ini = in.ConsumeRemainingBytesAsString();
  // Every store call reads and writes the whole file.
  if (ini.size() > 4096) ops.resize(std::min<std::size_t>(ops.size(), 2));
  CheckDocument(ini);

  corvane::MemoryFileSystem fs;
  fs.AddFile(kFile, ini);
  corvane::FileProfileStore store(fs);
  IniDocument doc = IniDocument::Parse(ini);
  for (const Op& op : ops) {
    const std::string s = Pick(doc.Sections(), op.section, op.value, "Sec");
    const std::string k = Pick(doc.Keys(s), op.key, op.value >> 7, "Key");
    if (!Plain(s, ']') || !Plain(k, '=')) continue;
    const std::size_t keys = doc.Keys(s).size();
    switch (op.kind) {
      case 0: {  // set, then read back
        const std::string v = Value(op.value);
        doc.Set(s, k, v);
        Check(doc.Get(s, k) == v);
        Check(store.WriteString(kFile, s, k, v));
        Check(store.ReadString(kFile, s, k, "?") ==
              text::TruncateChars(Unquote(text::Trim(v)), corvane::kProfileValueMax));
        break;
      }
      case 1: {  // remove: the next key of that name, if any, answers
        const bool had = doc.Get(s, k).has_value();
        Check(doc.Remove(s, k) == had);
        Check(doc.Keys(s).size() == keys - (had ? 1 : 0));
        Check(store.DeleteKey(kFile, s, k));
        Check(store.ReadString(kFile, s, k, "?") ==
              text::TruncateChars(ScanGet(doc.Serialize(), s, k).value_or("?"),
                                  corvane::kProfileValueMax));
        break;
      }
      case 2: {  // integers written are read back
        const int n = static_cast<int>(op.value);
        doc.Set(s, k, std::to_string(n));
        Check(store.WriteInteger(kFile, s, k, n));
        Check(store.ReadInteger(kFile, s, k, n ^ 1) == n);
        break;
      }
      default: {  // get with a default
        const Lookup v = ScanGet(*fs.ReadFile(kFile), s, k);
        Check(store.ReadString(kFile, s, k, "?") ==
              text::TruncateChars(v.value_or("?"), corvane::kProfileValueMax));
        Check(store.ReadInteger(kFile, s, k, -7) == (v ? ReferenceInteger(*v, -7) : -7));
        const std::vector<std::string> listed = store.ReadKeys(kFile, s);
        Check(listed == doc.Keys(s));
      }
    }
    Check(IniDocument::Parse(*fs.ReadFile(kFile)).Serialize() == doc.Serialize());
  }
  CheckDocument(*fs.ReadFile(kFile));
  return 0;
}
