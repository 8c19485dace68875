#include "player/module/hosted_player.h"
#include "player/module/lazy_sound.h"

namespace tunelark::module {

std::unique_ptr<engine::AudioSink> makeOutputSink() { return std::make_unique<LazySound>(); }

}  // namespace tunelark::module
