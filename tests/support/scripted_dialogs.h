#pragma once
// File dialogs answered by a script instead of a user: each show takes the next answer (a path,
// or nothing for cancel) and records the dialog as the program set it up.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"

namespace tunelark::testing {

class ScriptedDialogs : public FileDialogs {
 public:
  struct Shown {
    bool save = false;
    CommonDialog dialog;  // as it was when shown
  };

  bool ShowOpen(CommonDialog& dialog) override { return answer(dialog, false); }
  bool ShowSave(CommonDialog& dialog) override { return answer(dialog, true); }

  std::deque<std::optional<std::string>> answers;  // a missing answer cancels
  std::vector<Shown> shown;

 private:
  bool answer(CommonDialog& dialog, bool save) {
    shown.push_back({save, dialog});
    if (answers.empty()) return false;
    auto next = answers.front();
    answers.pop_front();
    if (!next) return false;
    dialog.FileName = *next;
    return true;
  }
};

}  // namespace tunelark::testing
