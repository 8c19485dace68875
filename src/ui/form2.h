#pragma once
// The About box as a model: the product's name and version, a notice and a credit line, and two
// links, the web site and an e-mail address. Loaded when shown and unloaded when closed; the
// main window is disabled while it is loaded.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/control.h"

namespace tunelark {

class Form1;

// The web site's host name, as the links open it; the label shows it with its scheme.
inline constexpr const char* kWebHost = "www.example.org";
inline constexpr const char* kEmailAddress = "mail@example.org";

// What the shell is given to open each link.
std::string webLink();
std::string emailLink();

class Form2 {
 public:
  // Loading the box disables the main window.
  explicit Form2(Form1& owner);
  Form2(const Form2&) = delete;
  Form2& operator=(const Form2&) = delete;

  std::string Caption = "About Tunelark";
  int Width = 3705;  // client area (twips)
  int Height = 3120;
  unsigned BackColor = 0x404040;  // RGB(64,64,64)
  std::uint32_t hWnd = 0;         // the box's window handle once it is on screen
  bool toFront = false;           // asked for while loaded: brought to the front at the next draw

  Control Image1;    // the program's icon
  Control Label1;    // product line
  Control Label2;    // version
  Control Label3;    // notice
  Control Frame1;    // credits and links
  Control Image4;    // in Frame1: beside the credit line
  Control Label4;    // in Frame1: credit line
  Control Image3;    // in Frame1: beside the web link
  Control url;       // in Frame1: the web site
  Control Image2;    // in Frame1: beside the e-mail link
  Control email;     // in Frame1: the e-mail address
  Control Command1;  // OK

  // Every control, each frame before what lies in it.
  std::vector<const Control*> controls() const;

  void url_Click();
  void email_Click();
  // OK: unloads the box, then enables the main window. The box no longer exists afterwards.
  void Command1_Click();

 private:
  Form1& owner_;
};

// Unloads the box, however it is closed, and gives the main window back. Does nothing when it is
// not loaded.
void unloadForm2(Form1& form);

}  // namespace tunelark
