#pragma once
// The main window's desktop dialogs, Preferences (Form4) and the About box (Form2): shown while
// their model is loaded, removed once it is not. Call after every handler.

#include "qt/model_view.h"

namespace tunelark {
class Form1;
}

namespace tunelark::qt {

class SkinPictures;

void syncDesktopDialogs(Form1& form, QWidget* parent, SkinPictures& skin, AfterHandler after);

}  // namespace tunelark::qt
