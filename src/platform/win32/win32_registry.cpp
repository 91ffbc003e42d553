#include <windows.h>

#include "platform/win32/win32_services.h"

namespace corvane {
namespace {
HKEY H(RegHandle h) { return reinterpret_cast<HKEY>(h); }
}  // namespace

long Win32Registry::OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
                            RegHandle* out) {
  HKEY k = nullptr;
  long rc = RegOpenKeyExA(H(parent), path.c_str(), 0, access, &k);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegHandle>(k);
  return rc;
}

long Win32Registry::CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                              RegHandle* out) {
  HKEY k = nullptr;
  long rc = RegCreateKeyExA(H(parent), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                            nullptr, &k, nullptr);
  if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegHandle>(k);
  return rc;
}

long Win32Registry::CloseKey(RegHandle key) { return RegCloseKey(H(key)); }

long Win32Registry::QueryValue(RegHandle key, const std::string& name, RegValue* out) {
  DWORD type = 0, size = 0;
  long rc = RegQueryValueExA(H(key), name.c_str(), nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return rc;
  // Values of this program are small; a huge one is not ours to read.
  if (size > (1u << 20)) return ERROR_MORE_DATA;
  std::string data(size, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD got = static_cast<DWORD>(data.size());
    rc = RegQueryValueExA(H(key), name.c_str(), nullptr, &type,
                          reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &got);
    if (rc == ERROR_MORE_DATA && got <= (1u << 20)) {
      data.resize(got);
      continue;
    }
    if (rc != ERROR_SUCCESS) return rc;
    data.resize(got);
    out->type = type;
    out->data = std::move(data);
    return ERROR_SUCCESS;
  }
  return rc;
}

long Win32Registry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                             const std::string& data) {
  return RegSetValueExA(H(key), name.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size()));
}

long Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
  return RegDeleteValueA(H(key), name.c_str());
}

long Win32Registry::DeleteKey(RegHandle parent, const std::string& path) {
  return RegDeleteKeyA(H(parent), path.c_str());
}

namespace {

// count names by index through enum_at. The system gives the longest in
// characters, and a double-byte name takes two bytes for each.
template <typename EnumAt>
long NamesByIndex(DWORD count, DWORD longest, std::vector<std::string>* names, EnumAt enum_at) {
  names->clear();
  std::string buf(2 * static_cast<std::size_t>(longest) + 2, '\0');
  for (DWORD i = 0; i < count; ++i) {
    DWORD len = static_cast<DWORD>(buf.size());
    long rc = enum_at(i, &buf[0], &len);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) return rc;
    names->emplace_back(buf.data(), len);
  }
  return ERROR_SUCCESS;
}

}  // namespace

long Win32Registry::EnumSubKeys(RegHandle key, std::vector<std::string>* names) {
  DWORD count = 0, longest = 0;
  long rc = RegQueryInfoKeyA(H(key), nullptr, nullptr, nullptr, &count, &longest, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return NamesByIndex(count, longest, names, [&](DWORD i, char* buf, DWORD* len) {
    return RegEnumKeyExA(H(key), i, buf, len, nullptr, nullptr, nullptr, nullptr);
  });
}

long Win32Registry::EnumValues(RegHandle key, std::vector<std::string>* names) {
  DWORD count = 0, longest = 0;
  long rc = RegQueryInfoKeyA(H(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             &count, &longest, nullptr, nullptr, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return NamesByIndex(count, longest, names, [&](DWORD i, char* buf, DWORD* len) {
    return RegEnumValueA(H(key), i, buf, len, nullptr, nullptr, nullptr, nullptr);
  });
}

}  // namespace corvane
