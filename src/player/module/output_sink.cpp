#include "player/engine/null_sink.h"
#include "player/module/hosted_player.h"
#include "player/module/qt_audio_sink.h"

namespace tunelark::module {

std::unique_ptr<engine::AudioSink> makeOutputSink() {
  if (QtAudioSink::outputAvailable())
    return std::make_unique<QtAudioSink>(QtAudioSink::defaultOutput());
  return std::make_unique<engine::NullSink>();
}

}  // namespace tunelark::module
