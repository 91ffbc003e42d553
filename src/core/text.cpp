#include "core/text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace corvane::text {
namespace {
std::atomic<LeadByteRule> g_rule{&IsGbkLeadByte};

unsigned char Up(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
unsigned char Low(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

template <class F>
std::string MapAscii(std::string_view s, F f) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
    out[i] = static_cast<char>(f(static_cast<unsigned char>(out[i])));
  return out;
}
}  // namespace

bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
void SetLeadByteRule(LeadByteRule rule) { g_rule = rule ? rule : &IsGbkLeadByte; }
bool IsLeadByte(unsigned char c) { return g_rule.load()(c); }

std::size_t CharLength(std::string_view s, std::size_t i) {
  if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i]))) return 2;
  return 1;
}

std::size_t LastDelimiter(std::string_view s, std::string_view delims) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (CharLength(s, i) == 1 && delims.find(s[i]) != std::string_view::npos) found = i;
  return found;
}

std::string ExtractFilePath(std::string_view path) {
  std::size_t p = LastDelimiter(path, "\\:");
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view path) {
  std::size_t p = LastDelimiter(path, "\\:");
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::size_t p = LastDelimiter(path, ".\\:");
  if (p == std::string_view::npos || path[p] != '.') return std::string();
  return std::string(path.substr(p));
}

bool HasTrailingBackslash(std::string_view path) {
  return !path.empty() && LastDelimiter(path, "\\") == path.size() - 1;
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string out(path);
  if (!HasTrailingBackslash(path)) out += '\\';
  return out;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
  if (!HasTrailingBackslash(path)) return std::string(path);
  return std::string(path.substr(0, path.size() - 1));
}

std::string UpperCase(std::string_view s) { return MapAscii(s, Up); }
std::string LowerCase(std::string_view s) { return MapAscii(s, Low); }

// As comparing the upper-cased copies, without making them: a byte is folded
// only where a character starts. No code page has a lead byte below 0x80, so
// ASCII needs no look at the rule.
int CompareText(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t next_a = 0, next_b = 0;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (i == next_a) {
      next_a += ca < 0x80 ? 1 : CharLength(a, i);
      ca = Up(ca);
    }
    if (i == next_b) {
      next_b += cb < 0x80 ? 1 : CharLength(b, i);
      cb = Up(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::size_t TextHash::operator()(std::string_view s) const {
  static const std::uint64_t seed = [] {
    static int here;
    std::uint64_t t = static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    return (t ^ reinterpret_cast<std::uintptr_t>(&here)) * 0x9E3779B97F4A7C15ull;
  }();
  std::uint64_t h = seed ^ 0xCBF29CE484222325ull;
  std::size_t next = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (i == next) {
      next += c < 0x80 ? 1 : CharLength(s, i);
      c = Up(c);
    }
    h = (h ^ c) * 0x100000001B3ull;
  }
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  return static_cast<std::size_t>(h ^ (h >> 32));
}

std::size_t FindText(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return 0;
  std::string h = UpperCase(haystack), n = UpperCase(needle);
  for (std::size_t i = 0; i + n.size() <= h.size(); i += CharLength(haystack, i))
    if (h.compare(i, n.size(), n) == 0) return i;
  return std::string_view::npos;
}

bool ContainsText(std::string_view haystack, std::string_view needle) {
  return FindText(haystack, needle) != std::string_view::npos;
}

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string TruncateChars(std::string_view s, std::size_t max_bytes) {
  if (s.size() <= max_bytes) return std::string(s);
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t n = CharLength(s, i);
    if (i + n > max_bytes) break;
    i += n;
  }
  return std::string(s.substr(0, i));
}

std::uint64_t Fnv1a64(std::string_view bytes) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ull;
  }
  return h;
}

}  // namespace corvane::text
