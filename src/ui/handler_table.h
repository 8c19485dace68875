#pragma once
// Which Form1 handler a user's action on a control runs, by the control's name and the kind of
// action. Controls without a handler for an action (backgrounds, decoration, labels) are simply
// not in the table. Adding a button is one control in Form1 and one row here.

#include <span>
#include <string_view>

#include "ui/form1.h"

namespace tunelark {

enum class UserEvent { Click, DblClick, DragDrop };

using Handler = void (Form1::*)();

struct HandlerRow {
  std::string_view control;
  UserEvent event;
  Handler handler;
};

// Every row of the table.
std::span<const HandlerRow> handlerTable();

// The handler for `event` on `control`, or nullptr when that does nothing.
Handler handlerFor(std::string_view control, UserEvent event = UserEvent::Click);

}  // namespace tunelark
