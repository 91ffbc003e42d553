// The message every control's message method receives. Numbers are the
// Windows ones, so the realisation passes window messages through unchanged;
// the library's own notifications live above 0xB000, and messages a parent
// reflects back to the control that sent them at 0xBC00 + the message.
#pragma once
#include <cstdint>

namespace corvane::ui {

using WindowHandle = std::uintptr_t;  // 0 is no window

struct Message {
  unsigned msg = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::intptr_t result = 0;
  WindowHandle window = 0;  // the target window when it came from a queue
};

namespace msg {
inline constexpr unsigned kDestroy = 0x0002;
inline constexpr unsigned kSize = 0x0005;
inline constexpr unsigned kSetFocus = 0x0007;
inline constexpr unsigned kKillFocus = 0x0008;
inline constexpr unsigned kEnable = 0x000A;
inline constexpr unsigned kSetText = 0x000C;
inline constexpr unsigned kPaint = 0x000F;
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kQueryEndSession = 0x0011;
inline constexpr unsigned kEndSession = 0x0016;
inline constexpr unsigned kNcDestroy = 0x0082;
inline constexpr unsigned kContextMenu = 0x007B;  // lparam: screen point, or -1,-1 from the keyboard
inline constexpr unsigned kKeyDown = 0x0100;
inline constexpr unsigned kKeyUp = 0x0101;
inline constexpr unsigned kCommand = 0x0111;
inline constexpr unsigned kSysCommand = 0x0112;
inline constexpr unsigned kTimer = 0x0113;
inline constexpr unsigned kMouseMove = 0x0200;
inline constexpr unsigned kLButtonDown = 0x0201;
inline constexpr unsigned kLButtonUp = 0x0202;
inline constexpr unsigned kLButtonDblClk = 0x0203;
inline constexpr unsigned kRButtonDown = 0x0204;
inline constexpr unsigned kRButtonUp = 0x0205;
inline constexpr unsigned kRButtonDblClk = 0x0206;
inline constexpr unsigned kMButtonDown = 0x0207;
inline constexpr unsigned kMButtonUp = 0x0208;
inline constexpr unsigned kMouseLeaveWindow = 0x02A3;  // the pointer left the window
inline constexpr unsigned kUser = 0x0400;

// The library's notifications.
inline constexpr unsigned kHostBase = 0xB000;
inline constexpr unsigned kEnabledChanged = kHostBase + 0x0C;
inline constexpr unsigned kMouseEnter = kHostBase + 0x13;
inline constexpr unsigned kMouseLeave = kHostBase + 0x14;
inline constexpr unsigned kTextChanged = kHostBase + 0x1B;
// Paint on the Canvas whose address is in wparam (windowless controls, and
// windows the library draws itself).
inline constexpr unsigned kCanvasPaint = kHostBase + 0x80;
// Sent to the form once a window of one of its controls (the WinControl in
// lparam) has been made, with its shown children.
inline constexpr unsigned kWindowMade = kHostBase + 0x81;

inline constexpr unsigned kReflectBase = 0xBC00;
inline constexpr unsigned kReflectCommand = kReflectBase + kCommand;

// Notification codes in the high word of a command's wparam.
inline constexpr unsigned kButtonClicked = 0;
inline constexpr unsigned kEditChange = 0x0300;

// Modifier bits in wparam of mouse messages.
inline constexpr unsigned kMkLButton = 0x0001;
inline constexpr unsigned kMkRButton = 0x0002;
inline constexpr unsigned kMkShift = 0x0004;
inline constexpr unsigned kMkControl = 0x0008;
}  // namespace msg

// The coordinates packed into a mouse message's lparam (signed 16-bit halves).
inline std::intptr_t PackPoint(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}
inline int PointX(std::intptr_t lparam) {
  return static_cast<std::int16_t>(static_cast<std::uint32_t>(lparam) & 0xFFFF);
}
inline int PointY(std::intptr_t lparam) {
  return static_cast<std::int16_t>((static_cast<std::uint32_t>(lparam) >> 16) & 0xFFFF);
}
inline unsigned HighWord(std::uintptr_t w) { return static_cast<unsigned>((w >> 16) & 0xFFFF); }

// A command the parent reflected back, with its notification code.
inline bool IsReflectedCommand(const Message& m, unsigned code) {
  return m.msg == msg::kReflectCommand && HighWord(m.wparam) == code;
}

}  // namespace corvane::ui
