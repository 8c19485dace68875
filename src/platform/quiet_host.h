#pragma once
// A host that provides nothing: for programs that build the window model only to read it (the
// build's skin tool, benchmarks), where no handler that needs a host ever runs.

#include <string>

#include "platform/host_services.h"

namespace tunelark {

class QuietHost : public HostServices {
 public:
  void beep() override {}
  void messageBox(const std::string&) override {}
  void processPendingEvents() override {}
  void setBusy(bool) override {}
  void endProcess() override {}
};

}  // namespace tunelark
