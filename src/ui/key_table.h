#pragma once
// The keys of the main window, each standing for a click (or a double-click) on a control, so a
// key runs exactly the handler that the mouse would. A row's key acts while the focus is in
// `where`, or anywhere in the window when it names no control. Keys are written as the user reads
// them in a tooltip ("Ctrl+S", "Alt+Up", "Enter").

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/control_id.h"
#include "ui/handler_table.h"

namespace tunelark {

struct KeyRow {
  std::string_view key;
  std::optional<ControlId> where;
  ControlId control;  // whose handler runs
  UserEvent event = UserEvent::Click;
};

std::span<const KeyRow> keyTable();

// The key that stands for a click on `control`, or "" when none does.
std::string_view keyFor(ControlId control);

// The control's tooltip with its key, as "Save the playlist (Ctrl+S)"; "" for a control without
// a tooltip.
std::string tooltipWithKey(ControlId control, const std::string& tooltip);

}  // namespace tunelark
