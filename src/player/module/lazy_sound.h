#pragma once
// The player's sound output, loaded from the sound module the first time the player starts to
// play. Until then the player costs no sound libraries and no connection to the sound server.
// The format is fixed up front (the engine sizes its buffer by it at construction): 44.1 kHz
// stereo, which every sound server takes and converts to its device's own when they differ.
//
// When the module cannot be loaded, start() fails with the loader's reason, as an output that
// found no device does, and the engine plays on the clock and says why.

#include <memory>
#include <string>

#include "player/module/forwarding_sink.h"

namespace tunelark::module {

class LazySound : public ForwardingSink {
 public:
  // `modulePath` is the sound module to load; empty means the one beside this code's own file.
  explicit LazySound(std::string modulePath = {});
  ~LazySound() override;

  engine::AudioFormat format() const override { return format_; }
  bool start(engine::SampleSource& source) override;
  void stop() override;
  bool hasDevice() const override;

  // True once the sound module is loaded and its output made.
  bool loaded() const { return output_ != nullptr; }

 private:
  bool load();

  engine::AudioFormat format_;
  std::string modulePath_;
  std::unique_ptr<engine::AudioSink> output_;  // the module's output, chosen once it is made
};

// The folder of the file (executable or shared object) that holds this code, ending in '/'.
std::string ownFolder();

}  // namespace tunelark::module
