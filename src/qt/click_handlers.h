#pragma once
// Which Form1 handler a click on a control runs, by the control's name. Controls without a
// click handler (backgrounds, decoration, labels) are simply not in the table.

#include <string>

#include "ui/form1.h"

namespace tunelark::qt {

using ClickHandler = void (Form1::*)();

// The Click handler for `controlName`, or nullptr when a click there does nothing.
ClickHandler clickHandlerFor(const std::string& controlName);

}  // namespace tunelark::qt
