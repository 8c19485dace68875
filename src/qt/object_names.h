#pragma once
// The widget of a main-window control is named after the control, as the control list spells
// it: the keys, the screen reader's names and the tests find it by that name.

#include <QString>
#include <string_view>

#include "ui/control_id.h"

namespace tunelark::qt {

inline QString objectNameOf(ControlId control) {
  const std::string_view name = controlName(control);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace tunelark::qt
