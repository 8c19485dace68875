#include "player/module/lazy_sound.h"

#include <dlfcn.h>

#include "player/module/sound_module_api.h"

namespace tunelark::module {

std::string ownFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ownFolder), &info) == 0 || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

LazySound::LazySound(std::string modulePath) : modulePath_(std::move(modulePath)) {
  if (modulePath_.empty()) modulePath_ = ownFolder() + kSoundModuleFile;
}

LazySound::~LazySound() { stop(); }

bool LazySound::load() {
  if (output_) return true;
  if (!refusal_.empty()) return false;  // a module that failed once fails again: don't retry
  // Never unloaded: Qt Multimedia keeps threads and registrations of its own once it is up.
  void* handle = dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    const char* why = dlerror();
    refusal_ = "The sound output could not be loaded: " + std::string(why ? why : modulePath_);
    return false;
  }
  auto create = reinterpret_cast<TunelarkCreateSoundFn>(dlsym(handle, TUNELARK_SOUND_FACTORY));
  engine::AudioSink* made = create ? create(format_.sampleRate, format_.channels) : nullptr;
  if (!made) {
    refusal_ = "The sound output could not be made from " + modulePath_ + ".";
    return false;
  }
  output_.reset(made);
  choose(output_.get());
  return true;
}

bool LazySound::start(engine::SampleSource& source) { return load() && output_->start(source); }

void LazySound::stop() {
  if (output_) output_->stop();
}

// Before the first start nothing is known of the server; a device is assumed, so the display
// does not claim silence before anything has tried to play.
bool LazySound::hasDevice() const { return output_ ? output_->hasDevice() : refusal_.empty(); }

}  // namespace tunelark::module
