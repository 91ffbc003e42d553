// Shell shortcut files through the system's shell link object.
#pragma once
#include <optional>
#include <string>

namespace corvane {

// The fields of a shortcut the program sets and reads back.
struct ShellLinkFields {
  std::string target;
  std::string arguments;
  std::string working_directory;
  std::string icon_location;  // read back only; never written
  bool operator==(const ShellLinkFields& o) const {
    return target == o.target && arguments == o.arguments &&
           working_directory == o.working_directory && icon_location == o.icon_location;
  }
};

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // Writes a link with the target, arguments and working folder set and
  // nothing else, to file (whose folder must exist); true when saved.
  virtual bool Save(const std::string& file, const ShellLinkFields& fields) = 0;
  // The link in file as the shell link object loads it; nothing when the
  // file is missing or no link.
  virtual std::optional<ShellLinkFields> Load(const std::string& file) = 0;
};

}  // namespace corvane
