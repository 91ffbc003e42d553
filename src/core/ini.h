// An INI document with the semantics of the Windows profile routines:
// section and key names compare without regard to case, values are trimmed
// and lose one pair of surrounding quotes, lines that are neither a section
// nor a key are kept as they stand. Where a name repeats, the first section
// of that name is the one read and written, and in it the first key of a
// name; Sections() still lists every header. Names are indexed when the
// text is parsed, so a lookup never rescans the document.
#pragma once
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text.h"

namespace corvane {

// The longest value a profile read returns.
inline constexpr std::size_t kProfileValueMax = 2047;

class IniDocument {
 public:
  static IniDocument Parse(std::string_view text);
  std::string Serialize() const;

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // True when the key was there.
  bool Remove(std::string_view section, std::string_view key);
  std::vector<std::string> Keys(std::string_view section) const;
  std::vector<std::string> Sections() const;

 private:
  struct Line {
    std::string raw;  // as read (or as written)
    std::string key;  // set on key lines
    std::string value;
    bool is_key = false;
  };
  // Names map to their first occurrence, the one the profile routines use.
  using NameIndex = std::unordered_map<std::string, std::size_t, text::TextHash, text::TextEqual>;
  struct Section {
    std::string name;
    std::string header;  // the header line as read
    bool has_header = false;
    std::vector<Line> lines;
    NameIndex keys;
    void IndexKeys();
  };
  Section* Find(std::string_view section);
  const Section* Find(std::string_view section) const;

  // The first holds the lines before any header. A deque: growing it never
  // moves the sections.
  std::deque<Section> sections_{1};
  NameIndex index_;
};

// The profile rule for integers: decimal, or hexadecimal after "0x"/"0X";
// anything else (or out of range) gives the default.
int ParseProfileInteger(std::string_view text, int default_value);

}  // namespace corvane
