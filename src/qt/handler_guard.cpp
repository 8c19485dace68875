#include "qt/handler_guard.h"

#include <exception>
#include <string>

namespace tunelark::qt {

bool runHandler(HostServices& host, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    host.messageBox(std::string("That could not be done: ") + e.what());
  } catch (...) {
    host.messageBox("That could not be done.");
  }
  return false;
}

}  // namespace tunelark::qt
