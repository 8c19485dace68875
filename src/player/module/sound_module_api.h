#pragma once
// What the sound module exports: one factory, found by name when the player first starts to
// play. The module carries Qt Multimedia and the PulseAudio client, with the libraries they
// pull in; a window that is never asked to play never maps them.

#include "player/engine/audio_sink.h"

namespace tunelark::module {
inline constexpr const char* kSoundModuleFile = "libtunelark_sound.so";
}  // namespace tunelark::module

// Creates the sound output in the given format. Returns nullptr on failure.
extern "C" using TunelarkCreateSoundFn =
    tunelark::engine::AudioSink * (*)(int sampleRate, int channels);
#define TUNELARK_SOUND_FACTORY "tunelark_create_sound"
