#pragma once
// The keys of the main window, each standing for a click (or a double-click) on a control, so a
// key runs exactly the handler that the mouse would. A row's key acts while the focus is in
// `where`, or anywhere in the window when `where` is empty. Keys are written as the user reads
// them in a tooltip ("Ctrl+S", "Alt+Up", "Enter").

#include <span>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/handler_table.h"

namespace tunelark {

struct KeyRow {
  std::string_view key;
  std::string_view where;
  std::string_view control;  // whose handler runs
  UserEvent event = UserEvent::Click;
};

std::span<const KeyRow> keyTable();

// The key that stands for a click on `control`, or "" when none does.
std::string_view keyFor(std::string_view control);

// The control's tooltip with its key, as "Save the playlist (Ctrl+S)"; "" for a control without
// a tooltip.
std::string tooltipWithKey(const Control& control);

}  // namespace tunelark
