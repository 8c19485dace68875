#include "ui/key_table.h"

#include <algorithm>
#include <array>

namespace tunelark {

namespace {

using enum ControlId;
constexpr auto C = UserEvent::Click;

// Enter on the playlist does what a double-click does; the rest are the editing buttons.
constexpr std::array kKeys = {
    KeyRow{"Enter", List1, List1, UserEvent::DblClick},
    KeyRow{"Delete", List1, Image22, C},
    KeyRow{"Alt+Up", List1, Image31, C},
    KeyRow{"Alt+Down", List1, Image32, C},
    KeyRow{"Enter", File1, Image5, C},
    KeyRow{"Enter", tvwControl, tvwControl, C},
    KeyRow{"Ctrl+N", {}, Image26, C},
    KeyRow{"Ctrl+O", {}, Image10, C},
    KeyRow{"Ctrl+S", {}, Image28, C},
};

}  // namespace

std::span<const KeyRow> keyTable() { return kKeys; }

std::string_view keyFor(ControlId control) {
  const auto it = std::find_if(kKeys.begin(), kKeys.end(), [&](const KeyRow& row) {
    return row.control == control && row.event == C;
  });
  return it == kKeys.end() ? std::string_view() : it->key;
}

std::string tooltipWithKey(ControlId control, const std::string& tooltip) {
  const std::string_view key = keyFor(control);
  if (tooltip.empty() || key.empty()) return tooltip;
  return tooltip + " (" + std::string(key) + ")";
}

}  // namespace tunelark
