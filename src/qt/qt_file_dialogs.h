#pragma once
// The Open and Save As dialogs on screen: Qt's own file dialog (the same on every desktop, so
// the filters read exactly as the window gives them), modal over the main window.

#include <functional>

#include "platform/file_dialogs.h"

class QWidget;

namespace tunelark::qt {

class QtFileDialogs : public FileDialogs {
 public:
  // `beforeShow` runs just before a dialog appears, so the window can show what the handler
  // changed on the way there (the Open button's pressed look).
  void attach(QWidget* parent, std::function<void()> beforeShow) {
    parent_ = parent;
    beforeShow_ = std::move(beforeShow);
  }
  bool ShowOpen(CommonDialog& dialog) override { return show(dialog, false); }
  bool ShowSave(CommonDialog& dialog) override { return show(dialog, true); }

 private:
  bool show(CommonDialog& dialog, bool save);

  QWidget* parent_ = nullptr;
  std::function<void()> beforeShow_;
};

}  // namespace tunelark::qt
