#pragma once
// The About box on screen, drawn from the Form2 model while it is loaded: its icons, lines and
// two links (the up-arrow pointer over them), and OK.

#include "qt/model_dialog.h"

namespace tunelark {
class Form1;
}

namespace tunelark::qt {

class SkinPictures;

class Form2Dialog : public ModelDialog {
 public:
  Form2Dialog(Form1& form, QWidget* parent, SkinPictures& skin, AfterHandler after);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Form1& form_;
};

}  // namespace tunelark::qt
