#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/win32_com.h"
#include "platform/win32/win32_shell.h"

namespace corvane {
namespace {

struct Link {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
};

Link NewLink() {
  Link l;
  l.link = CreateComObject<IShellLinkA>(CLSID_ShellLink, IID_IShellLinkA);
  l.file = QueryComInterface<IPersistFile>(l.link.get(), IID_IPersistFile);
  return l;
}

}  // namespace

bool Win32ShellLinks::Save(const std::string& file, const ShellLinkFields& fields) {
  Link l = NewLink();
  if (!l.file) return false;
  IShellLinkA* link = l.link.get();
  if (FAILED(link->SetPath(fields.target.c_str())) ||
      FAILED(link->SetArguments(fields.arguments.c_str())) ||
      FAILED(link->SetWorkingDirectory(fields.working_directory.c_str())))
    return false;
  // The link stays unnamed: the object is not made the file's current one.
  return SUCCEEDED(l.file.get()->Save(Wide(file).c_str(), FALSE));
}

std::optional<ShellLinkFields> Win32ShellLinks::Load(const std::string& file) {
  Link l = NewLink();
  if (!l.file || FAILED(l.file.get()->Load(Wide(file).c_str(), STGM_READ))) return std::nullopt;
  IShellLinkA* link = l.link.get();
  ShellLinkFields f;
  char text[MAX_PATH * 2] = {};
  if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) f.target = text;
  text[0] = '\0';
  if (SUCCEEDED(link->GetArguments(text, sizeof text))) f.arguments = text;
  text[0] = '\0';
  if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) f.working_directory = text;
  text[0] = '\0';
  int index = 0;
  if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &index))) f.icon_location = text;
  return f;
}

}  // namespace corvane
