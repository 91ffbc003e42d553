#include "setup/shortcut.h"

#include "core/text.h"

namespace corvane::setup {

std::string ShortcutFileName(const std::string& target, const std::string& folder) {
  std::string name = text::ExtractFileName(target);
  name.resize(name.size() - text::ExtractFileExt(name).size());
  return folder + "\\" + name + ".LNK";
}

bool CreateShortcut(ShellLinks& links, const std::string& target, const std::string& arguments,
                    const std::string& folder) {
  ShellLinkFields fields;
  fields.target = target;
  fields.arguments = arguments;
  fields.working_directory = text::ExtractFilePath(target);
  return links.Save(ShortcutFileName(target, folder), fields);
}

}  // namespace corvane::setup
