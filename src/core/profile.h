// The profile routines over INI files such as classify.ini, always addressed
// by full path.
#pragma once
#include <string>
#include <vector>

namespace corvane {

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

  // Reads the text and converts it, so "abc" gives the default.
  int ReadInteger(const std::string& file, const std::string& section, const std::string& key,
                  int default_value);
  bool WriteInteger(const std::string& file, const std::string& section, const std::string& key,
                    int value);
};

}  // namespace corvane
