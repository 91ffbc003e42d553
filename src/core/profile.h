// The profile routines over INI files such as classify.ini, always addressed
// by full path.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// What tells one state of a file from another without reading it.
struct FileStamp {
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t written = 0;  // time of the last write, in the system's units
  friend bool operator==(const FileStamp& a, const FileStamp& b) {
    return a.exists == b.exists && a.size == b.size && a.written == b.written;
  }
  friend bool operator!=(const FileStamp& a, const FileStamp& b) { return !(a == b); }
};

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The stored text (at most 2047 characters) or the default.
  virtual std::string ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& default_value) = 0;
  // Creates a missing file or section; reaches the file before it returns.
  virtual bool WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
  virtual bool DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key) = 0;
  virtual std::vector<std::string> ReadKeys(const std::string& file,
                                            const std::string& section) = 0;
  // The file's stamp; nothing when it cannot vouch for the content (no such
  // query here, or a write so recent that a later one could keep its time).
  virtual std::optional<FileStamp> Stamp(const std::string&) { return std::nullopt; }

  // Reads the text and converts it, so "abc" gives the default.
  int ReadInteger(const std::string& file, const std::string& section, const std::string& key,
                  int default_value);
  bool WriteInteger(const std::string& file, const std::string& section, const std::string& key,
                    int value);
};

}  // namespace corvane
