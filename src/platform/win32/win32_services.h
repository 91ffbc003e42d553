// The real services: the A functions of kernel32, advapi32 and user32.
#pragma once
#include <functional>

#include "core/filesystem.h"
#include "core/profile.h"
#include "core/registry.h"
#include "core/system.h"

namespace corvane {

class Win32FileSystem : public FileSystem {
 public:
  std::vector<FileEntry> List(const std::string& folder, const std::string& pattern) override;
  bool Copy(const std::string& from, const std::string& to) override;
  bool CopyNew(const std::string& from, const std::string& to) override;
  bool Delete(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool Rename(const std::string& from, const std::string& to) override;
  std::string CurrentDirectory() override;
  bool ChangeDirectory(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& data) override;
  bool AppendFile(const std::string& path, const std::string& data) override;
  std::unique_ptr<FileAppender> OpenAppender(const std::string& path) override;
};

class Win32ProfileStore : public ProfileStore {
 public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& default_value) override;
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  std::vector<std::string> ReadKeys(const std::string& file, const std::string& section) override;
  std::optional<FileStamp> Stamp(const std::string& file) override;
};

class Win32Registry : public RegistryBackend {
 public:
  long OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
               RegHandle* out) override;
  long CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                 RegHandle* out) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::string& name, RegValue* out) override;
  long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                const std::string& data) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long DeleteKey(RegHandle parent, const std::string& path) override;
  long EnumSubKeys(RegHandle key, std::vector<std::string>* names) override;
  long EnumValues(RegHandle key, std::vector<std::string>* names) override;
};

class Win32System : public SystemServices {
 public:
  std::string WindowsDirectory() override;
  std::string UserName() override;
  std::string ExecutableFolder() override;
  std::uint32_t TickCount() override;
  LocalTime Now() override;
  void Beep(unsigned type) override;
  char DecimalSeparator() override;
  std::string DateTimeText(const LocalTime& t) override;
  void TrimWorkingSet() override;
  std::uint16_t FindAtom(const std::string& name) override;
  std::uint16_t AddAtom(const std::string& name) override;
  void DeleteAtom(std::uint16_t atom) override;
  bool ClaimAtom(const std::string& name) override;
};

// Message boxes owned by the window the owner function names at the time of
// the call (the application window once there is one).
class Win32UserInteraction : public UserInteraction {
 public:
  using OwnerFn = std::function<void*()>;
  explicit Win32UserInteraction(OwnerFn owner = {}) : owner_(std::move(owner)) {}
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style) override;

 private:
  OwnerFn owner_;
};

// Text helpers take their lead-byte rule from the system code page.
void UseSystemLeadByteRule();

}  // namespace corvane
