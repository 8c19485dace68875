#pragma once
// Which Form1 handler a user's action on a control runs, by the control and the kind of action.
// Controls without a handler for an action (backgrounds, decoration, labels) are simply not in
// the table. Adding a button is its entry in the control list (ui/control_id.h), its row in the
// layout table (ui/form1_layout.cpp) and its row here; a control misspelt in any of them, or
// left out of the layout, does not compile.

#include <span>

#include "ui/form1.h"

namespace tunelark {

enum class UserEvent { Click, DblClick, DragDrop };

using Handler = void (Form1::*)();

struct HandlerRow {
  ControlId control;
  UserEvent event;
  Handler handler;
};

// Every row of the table.
std::span<const HandlerRow> handlerTable();

// The handler for `event` on `control`, or nullptr when that does nothing.
Handler handlerFor(ControlId control, UserEvent event = UserEvent::Click);

}  // namespace tunelark
