#include "qt/delivery.h"

#include <exception>
#include <string>

#include "ui/handler_table.h"

namespace tunelark::qt {

void deliver(HostServices& host, const std::function<void()>& handler, const AfterHandler& after) {
  try {
    handler();
  } catch (const std::exception& e) {
    host.messageBox(std::string("That could not be done: ") + e.what());
  } catch (...) {
    host.messageBox("That could not be done.");
  }
  if (after) after();
}

void deliver(Form1& form, ControlId control, UserEvent event, const AfterHandler& after) {
  const Handler handler = handlerFor(control, event);
  if (!handler) return;
  deliver(
      form.host, [&form, handler] { (form.*handler)(); }, after);
}

}  // namespace tunelark::qt
