#pragma once
// A widget that draws one model control of a window and reports user input to its handlers.
// After any handler has run, the window calls sync() on every view so widgets match the model.

#include <QWidget>
#include <functional>
#include <memory>

namespace tunelark {
class Form1;
}

namespace tunelark::qt {

class SkinPictures;

// Called by a view after it delivered input to a handler: the window then syncs every view.
using AfterHandler = std::function<void()>;

class ModelView {
 public:
  virtual ~ModelView() = default;
  virtual QWidget* widget() = 0;
  // Brings the widget in line with the model (contents, selection, geometry, visibility).
  virtual void sync() = 0;
  // Work that can wait until the window's first frame is on screen.
  virtual void afterFirstFrame() {}
};

// The drive and folder tree (tvwControl) and the clip list (File1), owned by the browser code.
std::unique_ptr<ModelView> makeTreeView(Form1& form, QWidget* parent, SkinPictures& skin,
                                        AfterHandler after);
std::unique_ptr<ModelView> makeFileListView(Form1& form, QWidget* parent, AfterHandler after);
// Shows the file-type dialog while form.form5 is loaded; call after every handler.
void syncForm5Dialog(Form1& form, QWidget* parent, AfterHandler after);

// Drag payload from File1 to List1.
inline constexpr const char* kClipDragMime = "application/x-tunelark-clips";

}  // namespace tunelark::qt
