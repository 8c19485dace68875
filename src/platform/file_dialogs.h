#pragma once
// The common Open and Save As dialogs as a host service. The window keeps one dialog record
// for both, so what the last choice left in it (its folder, its name) is where the next dialog
// starts; on screen the Qt front end shows QFileDialog, in tests a scripted fake answers.

#include <string>

namespace tunelark {

// The dialog's settings and its result, as the playlist code sets them before showing it.
struct CommonDialog {
  std::string DialogTitle;
  // Pairs of "description|patterns" joined by "|"; patterns are ";"-separated wildcards.
  std::string Filter;
  int FilterIndex = 1;      // the filter selected at first, counted from 1
  int Flags = 0;            // 4: no read-only check box (the only option used)
  bool CancelError = true;  // cancel is reported to the caller as cancel
  std::string InitDir;      // the folder the dialog opens in; "" for the dialog's own choice
  std::string FileName;     // preset in the name field; the chosen full path afterwards
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Shows the dialog. True when the user chose a file: its full path is then in
  // `dialog.FileName`. False when the user cancelled; the record is left as it was.
  virtual bool ShowOpen(CommonDialog& dialog) = 0;
  virtual bool ShowSave(CommonDialog& dialog) = 0;
};

// Dialogs that are never answered, for a window that has no screen to show them on.
class NoFileDialogs : public FileDialogs {
 public:
  bool ShowOpen(CommonDialog&) override { return false; }
  bool ShowSave(CommonDialog&) override { return false; }
};

}  // namespace tunelark
