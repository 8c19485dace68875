#pragma once
// The file-type dialog ("Option") on screen: a fixed-size window with a close box, drawn from
// the Form5 model while it is loaded, its boxes and OK button wired to the model.

#include <QWidget>

#include "qt/model_view.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace tunelark {
class Form1;
class Form5;
struct CheckBox;
}  // namespace tunelark

namespace tunelark::qt {

class Form5Dialog : public QWidget {
 public:
  Form5Dialog(Form1& form, QWidget* parent, AfterHandler after);
  // Brings the boxes in line with the model.
  void sync();
  QCheckBox* box(const char* name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape closes it as the close box does; Enter is OK.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QCheckBox* makeBox(QWidget* frame, const CheckBox& model, CheckBox Form5::*member);

  Form1& form_;
  AfterHandler after_;
};

}  // namespace tunelark::qt
