#include "browser/form5.h"

#include "browser/filter_table.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

Control part(std::string name, ControlKind kind, std::string frame, int left, int top, int width,
             int height, std::string caption) {
  Control c = makeControl(std::move(name), kind, std::move(frame), left, top, width, height);
  c.caption = std::move(caption);
  c.color = 0x00FF00;
  return c;
}

}  // namespace

Form5::Form5(Form1& owner) : owner_(owner) {
  Frame1 = part("Frame1", ControlKind::Frame, "", 120, 0, 1215, 1455, "File Type");
  // Check boxes have no kind of their own in the window model; they are drawn as labels with
  // a box by the dialog.
  ram.box = part("ram", ControlKind::Label, "Frame1", 240, 240, 855, 375, "*.ram");
  ra.box = part("ra", ControlKind::Label, "Frame1", 240, 600, 735, 375, "*.ra");
  rm.box = part("rm", ControlKind::Label, "Frame1", 240, 960, 615, 375, "*.rm");
  Command1 = part("Command1", ControlKind::Label, "", 360, 1560, 855, 255, "&OK");
  Command1.color = 0x000000;
  owner_.Enabled = false;
}

void Form5::Command1_Click() {
  const FilterRow& row = filterFor(ram.Value == 1, ra.Value == 1, rm.Value == 1);
  owner_.File1.setPattern(std::string(row.pattern));
  owner_.Label5.caption = std::string(row.caption);
  owner_.File1.Refresh();
  owner_.Enabled = true;
  // Unloading destroys this dialog: nothing of it may be touched afterwards.
  unloadForm5(owner_);
}

void unloadForm5(Form1& form) {
  if (!form.form5) return;
  form.form5.reset();
  form.dialogUnloaded();
}

}  // namespace tunelark
