#include "shell/form4.h"

#include <algorithm>
#include <utility>

#include "shell/presentation.h"
#include "shell/presentation_setting.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

struct Place {
  Control Form4::*control = nullptr;
  OptionButton Form4::*option = nullptr;
  const char* name;
  ControlKind kind;
  const char* frame;
  const char* caption;
  int left, top, width, height;
  int tabIndex;
};

// Option buttons and check boxes have no kind of their own in the window model; the dialog
// draws them from their names.
constexpr auto L = ControlKind::Label;
const Place kPlaces[] = {
    {&Form4::Frame1, nullptr, "Frame1", ControlKind::Frame, "", "Window ", 120, 0, 3015, 1455, 0},
    {&Form4::Label1, nullptr, "Label1", L, "Frame1", "Show Tunelark in :", 120, 240, 1575, 255, 4},
    {nullptr, &Form4::taskbar, "taskbar", L, "Frame1", "Taskbar Only", 240, 480, 2415, 255, 1},
    {nullptr, &Form4::tray, "tray", L, "Frame1", "System Tray Only", 240, 720, 2535, 255, 2},
    {nullptr, &Form4::taskbartray, "taskbartray", L, "Frame1", "Both Taskbar and System Tray", 240,
     960, 2535, 255, 3},
    {&Form4::Command3, nullptr, "Command3", L, "", "&Cancel", 1680, 1560, 1095, 375, 5},
    {&Form4::Command2, nullptr, "Command2", L, "", "&OK", 480, 1560, 1095, 375, 6},
};

}  // namespace

Form4::Form4(Form1& owner) : owner_(owner) {
  for (const Place& p : kPlaces) {
    Control c = makeControl(p.name, p.kind, p.frame, p.left, p.top, p.width, p.height);
    c.caption = p.caption;
    c.color = ForeColor;
    Control& target = p.option ? (this->*p.option).box : this->*p.control;
    target = std::move(c);
  }
  // Not preset from the settings file: every opening starts at Taskbar Only.
  taskbar.Value = true;
  owner_.Enabled = false;
}

std::vector<std::string> Form4::tabOrder() const {
  std::vector<const Place*> order;
  for (const Place& p : kPlaces) order.push_back(&p);
  std::sort(order.begin(), order.end(),
            [](const Place* a, const Place* b) { return a->tabIndex < b->tabIndex; });
  std::vector<std::string> names;
  for (const Place* p : order) names.emplace_back(p->name);
  return names;
}

void Form4::choose(OptionButton Form4::*chosen) {
  for (OptionButton Form4::*option : {&Form4::taskbar, &Form4::tray, &Form4::taskbartray})
    (this->*option).Value = option == chosen;
}

void Form4::Command2_Click() {
  Form1& form = owner_;
  int value = kTaskbarOnly;
  // Tested in this order; exactly one is set, so the order only matters to a reader.
  if (taskbartray.Value) {
    enterTray(form);
    form.Visible = true;
    value = kTaskbarAndTray;
  } else if (taskbar.Value) {
    form.SystemTray.deletetray();
    form.Visible = true;
    value = kTaskbarOnly;
  } else if (tray.Value) {
    // Without a tray the window stays reachable, minimised in the taskbar.
    if (enterTray(form))
      form.Visible = false;
    else
      form.WindowState = ShowState::Minimised;
    value = kTrayOnly;
  }
  if (!storePresentation(form.app.settingsPath, value)) form.host.beep();
  // Unloading enables the main window and destroys this dialog: nothing of it may be touched
  // afterwards.
  unloadForm4(form);
}

void Form4::Command3_Click() { unloadForm4(owner_); }

void unloadForm4(Form1& form) {
  if (!form.form4) return;
  form.form4.reset();
  form.dialogUnloaded();
}

}  // namespace tunelark
