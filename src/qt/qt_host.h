#pragma once
// The host services on screen: Qt message boxes, the beep, the busy pointer and the immediate
// end of the process that the exit button relies on.

#include <functional>

#include "platform/host_services.h"

namespace tunelark::qt {

class QtHost : public HostServices {
 public:
  ~QtHost() override;
  void beep() override;
  void messageBox(const std::string& text) override;
  void processPendingEvents() override;
  void setBusy(bool busy) override;
  // Ends the process at once: no unload handler, no static destructors, no further flushing.
  void endProcess() override;
  // Called before each message box shows: the window brings itself in line with the model, so
  // the box is read over what the handler has done so far, not over the state before it.
  void beforeMessage(std::function<void()> sync) { beforeMessage_ = std::move(sync); }

 private:
  std::function<void()> beforeMessage_;
  bool busy_ = false;  // the override cursor is stacked in Qt, so only one push is kept
};

}  // namespace tunelark::qt
