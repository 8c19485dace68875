#pragma once
// A dialog of the main window drawn from its model: a fixed-size window with a title and no
// close, minimise or maximise buttons, in the model's colours, placed over the main window.
// However it is closed (its own buttons, the window manager, the Escape key) the model is
// unloaded, so the main window never stays disabled.

#include <QWidget>
#include <functional>
#include <string>

#include "platform/host_services.h"
#include "qt/model_view.h"

class QKeyEvent;
class QLabel;

namespace tunelark {
struct Control;
}

namespace tunelark::qt {

// The keys every dialog of the window takes: Escape closes it as its close or Cancel does, Enter
// presses the focused push button, else the default one. False when `event` is none of them.
bool dialogKey(QWidget* dialog, QKeyEvent* event);

class ModelDialog : public QWidget {
 public:
  // `unload` unloads the model when it is still loaded; `after` brings the window in line.
  ModelDialog(HostServices& host, QWidget* parent, const char* objectName,
              const std::string& caption, int widthTwips, int heightTwips, unsigned backColor,
              unsigned foreColor, std::function<void()> unload, AfterHandler after);

  // Runs a handler of the dialog's model, then lets the window catch up.
  void run(const std::function<void()>& handler);

 protected:
  // A label drawn from `c` in its colour, placed in `parent`; wide enough for its text where the
  // design's box is narrower than this font needs and the parent has room.
  QLabel* makeLabel(const Control& c, QWidget* parent);
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  HostServices& host_;
  std::function<void()> unload_;
  AfterHandler after_;
};

}  // namespace tunelark::qt
