#include "player/module/hosted_player.h"
#include "player/module/sound_output.h"

namespace tunelark::module {

std::unique_ptr<engine::AudioSink> makeOutputSink() { return std::make_unique<SoundOutput>(); }

}  // namespace tunelark::module
