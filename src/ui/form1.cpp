// The main window's controls: made from the layout table, and found by their identity.
#include "ui/form1.h"

#include <chrono>
#include <exception>
#include <optional>
#include <utility>

#include "browser/form5.h"
#include "ui/form1_layout.h"

namespace tunelark {

namespace {

// The box of a control held in a list, the tree or the player site.
Control& boxOf(Control& control) { return control; }
template <class Holder>
Control& boxOf(Holder& holder) {
  return holder.box;
}

// Stateless, so one shared instance serves every window without dialogs.
FileDialogs& noFileDialogs() {
  static NoFileDialogs none;
  return none;
}

// The clock and the system's entropy together: two runs started in the same instant still
// shuffle differently.
std::uint64_t clockSeed() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::random_device entropy;
  return static_cast<std::uint64_t>(now) ^ (std::uint64_t{entropy()} << 32 | entropy());
}

}  // namespace

Form1::Form1(AppState& appState, HostServices& hostServices)
    : Form1(appState, hostServices, noFileDialogs()) {}

Form1::Form1(AppState& appState, HostServices& hostServices, FileDialogs& fileDialogs)
    : RealAudio1(Control{}),
      random(clockSeed()),
      app(appState),
      host(hostServices),
      dialogs(fileDialogs) {
  layoutControls();
  // The same file Play gives the player: its lines are relative to it.
  RealAudio1.followListFile([this] { return !app.lastfile.empty() ? app.lastfile : workfile; });
}

Form1::~Form1() = default;

void Form1::layoutControls() {
  for (const LayoutRow& row : form1Layout()) {
    Control& c = control(row.control);
    c = makeControl(std::string(controlName(row.control)), row.kind,
                    row.frame ? std::string(controlName(*row.frame)) : std::string(), row.left,
                    row.top, row.width, row.height);
    c.visible = row.shown;
    c.picture = row.picture;
    c.tooltip = row.tooltip;
    c.color = row.color;
    c.caption = row.caption;
  }
}

Control& Form1::control(ControlId id) {
#define TUNELARK_CONTROL_CASE(type, name) \
  case ControlId::name:                   \
    return boxOf(name);
#define TUNELARK_ELEMENT_CASE(array, index) \
  case ControlId::array##_##index:          \
    return array[index];
  switch (id) { TUNELARK_FORM1_CONTROLS(TUNELARK_CONTROL_CASE, TUNELARK_ELEMENT_CASE) }
#undef TUNELARK_CONTROL_CASE
#undef TUNELARK_ELEMENT_CASE
  std::terminate();  // not a ControlId
}

const Control& Form1::control(ControlId id) const { return const_cast<Form1*>(this)->control(id); }

bool Form1::isShown(ControlId id) const {
  const std::optional<ControlId> frame = frameOf(id);
  return control(id).visible && (!frame || control(*frame).visible);
}

std::vector<Control*> Form1::controls() {
  std::vector<Control*> all;
  for (const LayoutRow& row : form1Layout()) all.push_back(&control(row.control));
  return all;
}

}  // namespace tunelark
