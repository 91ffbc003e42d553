// An INI document with the semantics of the Windows profile routines:
// section and key names compare without regard to case, values are trimmed
// and lose one pair of surrounding quotes, lines that are neither a section
// nor a key are kept as they stand.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    std::string raw;      // as read (or as written)
    std::string section;  // set on section headers
    std::string key;      // set on key lines
    std::string value;
    bool is_section = false;
    bool is_key = false;
  };
  // Index of the header of the section, or npos.
  std::size_t FindSection(std::string_view section) const;
  std::size_t SectionEnd(std::size_t header) const;
  std::vector<Line> lines_;
};

// The profile rule for integers: decimal, or hexadecimal after "0x"/"0X";
// anything else (or out of range) gives the default.
int ParseProfileInteger(std::string_view text, int default_value);

}  // namespace corvane
