#pragma once
// The playlist box List1 as a QListWidget: shows the model's rows and selection, writes the
// user's selection back into the model, and delivers double-clicks and clip drops to Form1.

#include <memory>

#include "qt/model_view.h"

namespace tunelark::qt {

std::unique_ptr<ModelView> makePlaylistView(Form1& form, QWidget* parent, AfterHandler after);

}  // namespace tunelark::qt
