#pragma once
// One control of a window as plain data: what the front end draws and where.
// Positions and sizes are in twips (15 per logical pixel), relative to the control's frame.

#include <string>
#include <utility>

namespace tunelark {

enum class ControlKind {
  Frame,
  Image,
  Label,
  Shape,
  Line,
  ListBox,
  FileListBox,
  TreeView,
  PictureBox,
  Player,
};

struct Control {
  std::string name;  // the control's name, e.g. "Image28" or "Image3(2)"
  ControlKind kind = ControlKind::Image;
  std::string frame;  // name of the frame it lies in; empty for frames
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool visible = true;
  bool enabled = true;
  std::string caption;  // label text
  std::string picture;  // skin picture name (without folder or extension); empty for none
  std::string tooltip;  // what the control does, also its accessible name
  unsigned color = 0;   // text or line colour as 0xRRGGBB (labels, lines, list boxes)
};

// A control at its design-time place, shown.
inline Control makeControl(std::string name, ControlKind kind, std::string frame, int left, int top,
                           int width, int height) {
  Control c;
  c.name = std::move(name);
  c.kind = kind;
  c.frame = std::move(frame);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

}  // namespace tunelark
