#pragma once
// The main window's keys on screen: each row of the key table (ui/key_table.h) becomes a
// shortcut of the window or a key of the list it names, and runs its control's handler through
// the same delivery as the click it stands for.

#include <QObject>
#include <functional>

#include "ui/handler_table.h"

class QWidget;

namespace tunelark::qt {

// Runs the handler of `control` for `event`, as the window delivers a click.
using KeySink = std::function<void(ControlId control, UserEvent event)>;

class WindowKeys : public QObject {
 public:
  // The lists the table names are found among `window`'s children by their control names.
  WindowKeys(QWidget* window, KeySink run);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  KeySink run_;
};

}  // namespace tunelark::qt
