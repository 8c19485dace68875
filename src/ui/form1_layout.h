#pragma once
// The main window's controls as designed, one row each: frame, place and size in twips,
// whether it shows at start-up, skin picture, tooltip, kind, colour and caption. Rows are in
// drawing order, frames first, then each frame's controls back to front.

#include <optional>
#include <span>
#include <string_view>

#include "ui/control.h"
#include "ui/control_id.h"

namespace tunelark {

struct LayoutRow {
  ControlId control;
  std::optional<ControlId> frame;  // none for a frame
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool shown = true;
  std::string_view picture;
  std::string_view tooltip;  // what the control does, also its accessible name
  ControlKind kind = ControlKind::Image;
  unsigned color = 0;  // 0xRRGGBB
  std::string_view caption;
};

std::span<const LayoutRow> form1Layout();

// The frame `id` lies in; none for a frame.
std::optional<ControlId> frameOf(ControlId id);

}  // namespace tunelark
