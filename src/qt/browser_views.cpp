// Placeholder views until the browser widgets land.
#include "qt/model_view.h"

namespace tunelark::qt {

std::unique_ptr<ModelView> makeTreeView(Form1&, QWidget*, AfterHandler) { return nullptr; }
std::unique_ptr<ModelView> makeFileListView(Form1&, QWidget*, AfterHandler) { return nullptr; }
void syncForm5Dialog(Form1&, QWidget*, AfterHandler) {}

}  // namespace tunelark::qt
