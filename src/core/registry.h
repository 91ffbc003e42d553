// The registry backend: the advapi32 key and value calls, reduced to what the
// registry accessor needs. Results are Windows error codes (0 is success).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

using RegHandle = std::uintptr_t;  // 0 is no key

namespace reg {
inline constexpr RegHandle kClassesRoot = 0x80000000u;
inline constexpr RegHandle kCurrentUser = 0x80000001u;
inline constexpr RegHandle kLocalMachine = 0x80000002u;

inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;

inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyRead = 0x20019;
// What a key-existence test opens with.
inline constexpr std::uint32_t kKeyProbe = 0x20009;

inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kMoreData = 234;
inline constexpr long kNoMoreItems = 259;
}  // namespace reg

struct RegValue {
  std::uint32_t type = reg::kNone;
  std::string data;  // raw bytes as stored
};

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  virtual long OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
                       RegHandle* out) = 0;
  // Creates the key and any missing parents.
  virtual long CreateKey(RegHandle parent, const std::string& path, std::uint32_t access,
                         RegHandle* out) = 0;
  virtual long CloseKey(RegHandle key) = 0;
  virtual long QueryValue(RegHandle key, const std::string& name, RegValue* out) = 0;
  virtual long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                        const std::string& data) = 0;
  virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
  // Deletes a key that has no subkeys.
  virtual long DeleteKey(RegHandle parent, const std::string& path) = 0;
  virtual long EnumSubKeys(RegHandle key, std::vector<std::string>* names) = 0;
  // The names of the key's values, the default value as "".
  virtual long EnumValues(RegHandle key, std::vector<std::string>* names) = 0;
};

// Value encodings.
std::string DwordData(std::uint32_t value);
std::string SzData(const std::string& text);  // with its terminating NUL

// "HKCR\...", "HKCU\..." or "HKLM\..." split into the root and the rest,
// and back: how a key is named where a person reads it.
std::optional<std::pair<RegHandle, std::string>> SplitKeyPath(std::string_view key);
std::string KeyPath(RegHandle root, std::string_view relative);

}  // namespace corvane
