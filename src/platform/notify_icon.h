#pragma once
// The shell's notification icon (the tray icon): the record that describes one icon, and the one
// call that adds or deletes an icon. The record keeps the original's fields in their order and
// size; the shell here reads its fields by name, and takes a cbSize other than the record's size
// as a record never filled.

#include <array>
#include <cstdint>
#include <type_traits>

namespace tunelark {

// What Shell_NotifyIconA is asked to do.
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_DELETE = 2;

// Which fields of the record an add uses (uFlags).
inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;

// Mouse messages. An icon reports what the mouse did on it as one of these, sent to its window
// as the low word of the callback message's lParam.
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x201;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x204;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x207;

// NOTIFYICONDATAA in its original ANSI form: six 32-bit fields and a 64-byte tip, 88 bytes.
struct NotifyIconData {
  std::uint32_t cbSize = 0;            // size of the whole record; 0 until it is filled
  std::uint32_t hWnd = 0;              // window that receives the icon's messages
  std::uint32_t uID = 0;               // the icon's number among that window's icons
  std::uint32_t uFlags = 0;            // NIF_* of the fields below that count
  std::uint32_t uCallbackMessage = 0;  // message the window receives for mouse actions
  std::uint32_t hIcon = 0;             // the picture
  std::array<char, 64> szTip{};        // tip text, NUL-terminated
};
static_assert(sizeof(NotifyIconData) == 88, "the record keeps the original's size");
static_assert(std::is_standard_layout_v<NotifyIconData>);

class NotifyIconService {
 public:
  virtual ~NotifyIconService() = default;
  // NIM_ADD or NIM_DELETE for the icon the record names (its hWnd and uID). False when the shell
  // refused: an add of an icon that exists, a delete of one that does not, a record that was
  // never filled, or no tray to put an icon in.
  virtual bool Shell_NotifyIconA(std::uint32_t dwMessage, const NotifyIconData& data) = 0;
  // Whether the desktop has a tray (a notification area) at all.
  virtual bool trayAvailable() const = 0;
};

}  // namespace tunelark
