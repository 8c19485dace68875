#pragma once
// The Preferences dialog on screen, drawn from the Form4 model while it is loaded: the three
// presentations as radio buttons in the "Window " frame, OK and Cancel.

#include "qt/model_dialog.h"

class QRadioButton;

namespace tunelark {
class Form1;
class Form4;
struct OptionButton;
}  // namespace tunelark

namespace tunelark::qt {

class Form4Dialog : public ModelDialog {
 public:
  Form4Dialog(Form1& form, QWidget* parent, AfterHandler after);
  // Brings the radio buttons in line with the model.
  void sync();

 private:
  QRadioButton* makeOption(QWidget* frame, OptionButton Form4::*member);

  Form1& form_;
};

}  // namespace tunelark::qt
