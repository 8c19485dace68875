#pragma once
// A host that records what the window model asked of it: beeps, message boxes, an end of the
// process. What a user would see or hear, counted so tests can assert on it.

#include <functional>
#include <string>
#include <vector>

#include "platform/host_services.h"

namespace tunelark::testing {

class FakeHost : public HostServices {
 public:
  void beep() override { ++beeps; }
  // A box shown under the busy pointer reads differently, so every test catches one.
  void messageBox(const std::string& text) override {
    messages.push_back(busy ? "(busy) " + text : text);
  }
  void processPendingEvents() override {
    ++eventPasses;
    if (duringEventPass) duringEventPass();
  }
  void setBusy(bool on) override {
    busy = on;
    busyCalls.push_back(on);
  }
  void endProcess() override { ended = true; }

  int beeps = 0;
  std::vector<std::string> messages;
  int eventPasses = 0;
  std::function<void()> duringEventPass;  // what other input does while events pass
  std::vector<bool> busyCalls;
  bool busy = false;
  bool ended = false;

  // ---- Desktop integration: the real services a test hands in, or none ----
  NotifyIconService* notifyIcons() override { return notifyIcon; }
  ShellOpen* shellOpen() override { return shell; }
  PopupMenus* popupMenus() override { return menus; }

  NotifyIconService* notifyIcon = nullptr;
  ShellOpen* shell = nullptr;
  PopupMenus* menus = nullptr;
};

}  // namespace tunelark::testing
