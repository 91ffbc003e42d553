#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "core/text.h"
#include "platform/win32/win32_handle.h"

namespace corvane {
namespace {

class Win32Token : public ProcessToken {
 public:
  explicit Win32Token(HANDLE h) : token_(h) {}
  void EnablePrivilege(const Luid& privilege) override {
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Luid.LowPart = privilege.low;
    tp.Privileges[0].Luid.HighPart = privilege.high;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD returned = 0;
    AdjustTokenPrivileges(token_.get(), FALSE, &tp, 0, nullptr, &returned);
  }

 private:
  KernelHandle token_;
};

}  // namespace

bool Win32NotifyIcons::Notify(std::uint32_t message, const NotifyIconRecord& record) {
  // The first form of the record, which every shell understands: 88 bytes on
  // 32-bit Windows; on x64 its fields are wider and the headers know the size.
  NOTIFYICONDATAA data{};
  static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == notify_icon::kRecordSize,
                "record size");
  data.cbSize = record.size == notify_icon::kRecordSize ? NOTIFYICONDATAA_V1_SIZE : record.size;
  data.hWnd = reinterpret_cast<HWND>(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callback_message;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  std::string tip = text::TruncateChars(record.tip, notify_icon::kTipMax);
  std::memcpy(data.szTip, tip.c_str(), tip.size() + 1);
  return Shell_NotifyIconA(message, &data) != FALSE;
}

std::unique_ptr<ProcessToken> Win32Power::OpenProcessToken(std::uint32_t access) {
  HANDLE h = nullptr;
  if (!::OpenProcessToken(GetCurrentProcess(), access, &h)) return nullptr;
  return std::make_unique<Win32Token>(h);
}

std::optional<std::uint32_t> Win32Power::PlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
  static_assert(sizeof(OSVERSIONINFOA) == 148, "version record size");
  if (!GetVersionExA(&info)) return std::nullopt;
  return info.dwPlatformId;
}

std::optional<Luid> Win32Power::LookupPrivilege(const std::string& name) {
  LUID luid{};
  if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid)) return std::nullopt;
  return Luid{luid.LowPart, luid.HighPart};
}

void Win32Power::EndSession(std::uint32_t flags, std::uint32_t reason) {
  ExitWindowsEx(flags, reason);
}

}  // namespace corvane
