#pragma once
// Widgets for the plain controls of a window model (frames, images, labels, shapes, lines):
// each draws one Control and follows it on sync(); image clicks are reported by control.

#include <functional>
#include <memory>

#include "qt/model_view.h"
#include "qt/skin_pictures.h"
#include "ui/control.h"
#include "ui/control_id.h"

namespace tunelark::qt {

// Receives the control the user clicked (mouse released inside it).
using ClickSink = std::function<void(ControlId control)>;

// The view of `control`, the box of `id`, a child of `parent` named after the control. Kinds that
// need a model of their own (list boxes, the tree, the player) are not made here: returns
// nullptr for them.
std::unique_ptr<ModelView> makeControlView(ControlId id, Control& control, QWidget* parent,
                                           SkinPictures& skin, ClickSink onClick);

// Gives every picture button below `root` its pointing hand cursor and the three lists their
// accessible names; both wait until the window's first frame is out.
void finishButtons(QWidget* root);

// Colours of the skin that are not in the model.
inline constexpr unsigned kShapeOutline = 0x2E8B9A;  // dimmed cyan, quieter than the text

}  // namespace tunelark::qt
