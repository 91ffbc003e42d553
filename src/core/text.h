// Text helpers for ANSI (DBCS) strings. In GBK a trail byte can be '\' or an
// ASCII letter, so anything that looks at single bytes walks characters.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::text {

using LeadByteRule = bool (*)(unsigned char);

// The GBK rule: lead bytes are 0x81..0xFE.
bool IsGbkLeadByte(unsigned char c);
// The platform installs its own rule (IsDBCSLeadByte on Windows); GBK by default.
void SetLeadByteRule(LeadByteRule rule);
bool IsLeadByte(unsigned char c);

// Length in bytes of the character starting at s[i] (1 or 2).
std::size_t CharLength(std::string_view s, std::size_t i);

// Offset of the last character of s that is one of delims (single-byte
// characters only), or npos.
std::size_t LastDelimiter(std::string_view s, std::string_view delims);

// "C:\a\b.lnk" -> "C:\a\" and "b.lnk".
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
// "b.lnk" -> ".lnk"; empty when there is no dot after the last separator.
std::string ExtractFileExt(std::string_view path);
bool HasTrailingBackslash(std::string_view path);
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

// ASCII letters folded; double-byte characters left untouched.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Hash and equality of names without regard to case, as SameText has it, for
// unordered containers. The hash is seeded once per process, so no file can
// be made to pile its names into one bucket.
struct TextHash {
  std::size_t operator()(std::string_view s) const;
};
struct TextEqual {
  bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};
// Case-insensitive containment that only matches on character boundaries.
bool ContainsText(std::string_view haystack, std::string_view needle);
std::size_t FindText(std::string_view haystack, std::string_view needle);

std::string Trim(std::string_view s);

// Keeps at most max_bytes bytes without splitting a double-byte character.
std::string TruncateChars(std::string_view s, std::size_t max_bytes);

// 64-bit FNV-1a: tells one text from another; no defence against anyone.
std::uint64_t Fnv1a64(std::string_view bytes);

}  // namespace corvane::text
