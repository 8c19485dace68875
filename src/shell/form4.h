#pragma once
// The Preferences dialog as a model: three option buttons choosing where the main window lives
// (taskbar, tray or both), applied and stored by OK. Loaded when shown and unloaded when
// closed; the main window is disabled while it is loaded.

#include <string>
#include <vector>

#include "ui/control.h"

namespace tunelark {

class Form1;

// One of a group of option buttons: exactly one of the group is set.
struct OptionButton {
  Control box;
  bool Value = false;
};

class Form4 {
 public:
  // Loading the dialog disables the main window.
  explicit Form4(Form1& owner);
  Form4(const Form4&) = delete;
  Form4& operator=(const Form4&) = delete;

  std::string Caption = "Preferences";
  int Width = 3285;  // client area (twips)
  int Height = 2010;
  unsigned BackColor = 0x404040;  // RGB(64,64,64)
  unsigned ForeColor = 0x00FFFF;  // RGB(0,255,255), the options' and the label's text

  Control Frame1;            // "Window "
  Control Label1;            // "Show Tunelark in :", inside Frame1 like the options
  OptionButton taskbar;      // presentation 1
  OptionButton tray;         // presentation 2
  OptionButton taskbartray;  // presentation 3
  Control Command3;          // Cancel
  Control Command2;          // OK

  // Names of the controls in tab order.
  std::vector<std::string> tabOrder() const;

  // OK: applies the chosen presentation, stores it, enables the main window and unloads the
  // dialog. The dialog no longer exists when this returns.
  void Command2_Click();
  // Cancel: unloads the dialog and enables the main window; nothing is applied or stored.
  void Command3_Click();

  // Sets `chosen` and clears the other two, as a click on an option button does.
  void choose(OptionButton Form4::*chosen);

 private:
  Form1& owner_;
};

// Unloads the dialog, however it is closed, and gives the main window back. Does nothing when it
// is not loaded.
void unloadForm4(Form1& form);

}  // namespace tunelark
