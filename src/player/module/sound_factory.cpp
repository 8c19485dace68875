// The sound module's one exported symbol; everything else in it is hidden.

#include <exception>

#include "player/module/sound_module_api.h"
#include "player/module/sound_output.h"

extern "C" __attribute__((visibility("default"))) tunelark::engine::AudioSink*
tunelark_create_sound(int sampleRate, int channels) {
  // An exception must not cross into the player module.
  try {
    return new tunelark::module::SoundOutput({sampleRate, channels});
  } catch (const std::exception&) {
    return nullptr;
  } catch (...) {
    return nullptr;
  }
}

[[maybe_unused]] static constexpr TunelarkCreateSoundFn kFactoryMatches = &tunelark_create_sound;
