#pragma once
// The file-type dialog ("Option") as a model: three check boxes choosing which clip types
// File1 lists. Loaded when shown and unloaded when closed; the main window is disabled
// while it is loaded.

#include <string>

#include "ui/control.h"

namespace tunelark {

class Form1;

// A check box's value: 0 off, 1 ticked, 2 grey. Only 1 counts as on.
struct CheckBox {
  Control box;
  int Value = 1;
};

class Form5 {
 public:
  // Loading the dialog disables the main window.
  explicit Form5(Form1& owner);
  Form5(const Form5&) = delete;
  Form5& operator=(const Form5&) = delete;

  std::string Caption = "Option";
  // Client area and design-time position on the screen (twips).
  int Left = 6780;
  int Top = 4305;
  int Width = 1440;
  int Height = 1875;
  unsigned BackColor = 0x404040;  // RGB(64,64,64)
  unsigned ForeColor = 0x00FF00;  // RGB(0,255,0), the frame's and the boxes' text

  Control Frame1;  // "File Type"
  CheckBox ram;    // inside Frame1, positions relative to it
  CheckBox ra;
  CheckBox rm;
  Control Command1;  // OK

  // OK: applies the boxes' filter to File1 and Label5, lists File1 again, enables the main
  // window and unloads the dialog. The dialog no longer exists when this returns.
  void Command1_Click();

 private:
  Form1& owner_;
};

// Unloads the dialog, however it is closed (OK or the close box), and lets the main window
// know. Does nothing when it is not loaded.
void unloadForm5(Form1& form);

}  // namespace tunelark
