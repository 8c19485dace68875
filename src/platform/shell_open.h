#pragma once
// Opening a link with the desktop's default action, as the shell's ShellExecuteA does when it is
// given no operation, no parameters and the normal show command.

#include <cstdint>
#include <string>

namespace tunelark {

class ShellOpen {
 public:
  virtual ~ShellOpen() = default;
  // Opens `file` for the window `hWnd`: a "mailto:" link, or a web site's bare host name.
  // Nothing is reported when nothing can open it.
  virtual void ShellExecuteA(std::uint32_t hWnd, const std::string& file) = 0;
};

}  // namespace tunelark
