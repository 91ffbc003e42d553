// The notification area: the program's one icon there, described by the
// 88-byte ANSI record Shell_NotifyIconA takes.
#pragma once
#include <cstdint>
#include <string>

namespace corvane {

namespace notify_icon {
inline constexpr std::uint32_t kAdd = 0;     // NIM_ADD
inline constexpr std::uint32_t kDelete = 2;  // NIM_DELETE
// The first form of the record as 32-bit Windows sizes it; the win32 layer
// gives the shell the first form's size on the architecture it runs on.
inline constexpr std::uint32_t kRecordSize = 88;
inline constexpr std::uint32_t kMessageIconTip = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::size_t kTipMax = 63;           // bytes, before the NUL
}  // namespace notify_icon

struct NotifyIconRecord {
  std::uint32_t size = notify_icon::kRecordSize;
  std::uintptr_t window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callback_message = 0;
  std::uintptr_t icon = 0;
  std::string tip;
};

class NotifyIconService {
 public:
  virtual ~NotifyIconService() = default;
  // Shell_NotifyIconA; true on success.
  virtual bool Notify(std::uint32_t message, const NotifyIconRecord& record) = 0;
};

}  // namespace corvane
