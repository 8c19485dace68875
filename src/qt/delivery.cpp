#include "qt/delivery.h"

#include "qt/handler_guard.h"

namespace tunelark::qt {

void deliver(HostServices& host, const std::function<void()>& handler, const AfterHandler& after) {
  runHandler(host, handler);
  if (after) after();
}

void deliver(Form1& form, std::string_view control, UserEvent event, const AfterHandler& after) {
  const Handler handler = handlerFor(control, event);
  if (!handler) return;
  deliver(
      form.host, [&form, handler] { (form.*handler)(); }, after);
}

}  // namespace tunelark::qt
