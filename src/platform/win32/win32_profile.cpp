#include <windows.h>

#include "core/ini.h"
#include "platform/win32/win32_services.h"

namespace corvane {
namespace {
// Windows may hold profile writes in a cache; this hands them to the file.
void Flush(const std::string& file) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); }

std::uint64_t Ticks(FILETIME t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// A write within this long (100 ns units) of the last one may keep its time
// (FAT keeps two seconds), so a file written so lately vouches for nothing.
constexpr std::uint64_t kSettled = 3ull * 10000000;
}  // namespace

std::optional<FileStamp> Win32ProfileStore::Stamp(const std::string& file) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) {
    DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return FileStamp{};
    return std::nullopt;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FILETIME now_time;
  GetSystemTimeAsFileTime(&now_time);
  std::uint64_t written = Ticks(data.ftLastWriteTime), now = Ticks(now_time);
  if (written > now || now - written < kSettled) return std::nullopt;
  return FileStamp{true, (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                   written};
}

std::string Win32ProfileStore::ReadString(const std::string& file, const std::string& section,
                                          const std::string& key,
                                          const std::string& default_value) {
  char buf[kProfileValueMax + 1];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(), buf,
                                     sizeof buf, file.c_str());
  return std::string(buf, n);
}

bool Win32ProfileStore::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
  if (section.empty() || key.empty()) return false;
  bool ok = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                       file.c_str()) != 0;
  Flush(file);
  return ok;
}

bool Win32ProfileStore::DeleteKey(const std::string& file, const std::string& section,
                                  const std::string& key) {
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  bool ok = WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != 0;
  Flush(file);
  return ok;
}

std::vector<std::string> Win32ProfileStore::ReadKeys(const std::string& file,
                                                     const std::string& section) {
  std::vector<char> buf(4096);
  for (;;) {
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buf.data(),
                                       static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 2 < buf.size() || buf.size() >= (1u << 20)) {
      std::vector<std::string> keys;
      for (DWORD i = 0; i < n;) {
        std::string k(&buf[i]);
        i += static_cast<DWORD>(k.size()) + 1;
        if (!k.empty()) keys.push_back(k);
      }
      return keys;
    }
    buf.resize(buf.size() * 4);
  }
}

}  // namespace corvane
