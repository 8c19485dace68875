#pragma once
// Runs a handler of the window model on behalf of a widget. An exception must not cross Qt's
// event dispatch (it would end the process and lose the user's work): it is reported to the
// user in a message box instead, and the window carries on.

#include <functional>

#include "platform/host_services.h"

namespace tunelark::qt {

// Runs `handler`; true when it returned normally.
bool runHandler(HostServices& host, const std::function<void()>& handler);

}  // namespace tunelark::qt
