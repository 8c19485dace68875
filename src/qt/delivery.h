#pragma once
// The one way user input reaches the model: every widget of every window hands its event here.
// The handler runs under the guard (an exception becomes a "Tunelark" message box instead of
// crossing Qt's event loop), and the window is brought in line with the model afterwards.

#include <functional>

#include "qt/model_view.h"
#include "ui/handler_table.h"

namespace tunelark::qt {

// Runs `handler` under the guard, then `after`. An exception must not cross Qt's event
// dispatch (it would end the process and lose the user's work): it becomes a message box.
void deliver(HostServices& host, const std::function<void()>& handler, const AfterHandler& after);

// Runs the handler the table gives `control` for `event`, as above; nothing when it has none.
void deliver(Form1& form, ControlId control, UserEvent event, const AfterHandler& after);

}  // namespace tunelark::qt
