// Counts the demuxers, decoders, parsers and protocols in the FFmpeg the engine links, next to
// those of Debian's shared FFmpeg libraries (loaded here on their own, when installed), as
// FFmpeg's own iterate functions list them.
//   build/release/bin/bench_ffmpeg_components
#include <dlfcn.h>

#include <cstdio>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "player/engine/ffmpeg_components.h"

namespace {

struct Counts {
  int demuxers = 0;
  int decoders = 0;
  int parsers = 0;
  int protocols = 0;
};

// The iterate functions of one copy of FFmpeg.
struct Iterators {
  decltype(&av_demuxer_iterate) demuxer;
  decltype(&av_codec_iterate) codec;
  decltype(&av_codec_is_decoder) isDecoder;
  decltype(&av_parser_iterate) parser;
  decltype(&avio_enum_protocols) protocol;
};

Counts count(const Iterators& it) {
  Counts c;
  void* at = nullptr;
  while (it.demuxer(&at)) ++c.demuxers;
  at = nullptr;
  while (const AVCodec* codec = it.codec(&at)) c.decoders += it.isDecoder(codec) ? 1 : 0;
  at = nullptr;
  while (it.parser(&at)) ++c.parsers;
  at = nullptr;
  while (it.protocol(&at, 0)) ++c.protocols;
  return c;
}

// Debian's libraries under their own sonames, bound to themselves so that nothing of the
// FFmpeg linked into this program stands in for their functions.
bool countShared(Counts& out) {
  const int flags = RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND;
  const auto codecLib = "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR);
  const auto formatLib = "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR);
  void* codec = ::dlopen(codecLib.c_str(), flags);
  void* format = ::dlopen(formatLib.c_str(), flags);
  if (!codec || !format) return false;
  Iterators it{
      reinterpret_cast<decltype(&av_demuxer_iterate)>(::dlsym(format, "av_demuxer_iterate")),
      reinterpret_cast<decltype(&av_codec_iterate)>(::dlsym(codec, "av_codec_iterate")),
      reinterpret_cast<decltype(&av_codec_is_decoder)>(::dlsym(codec, "av_codec_is_decoder")),
      reinterpret_cast<decltype(&av_parser_iterate)>(::dlsym(codec, "av_parser_iterate")),
      reinterpret_cast<decltype(&avio_enum_protocols)>(::dlsym(format, "avio_enum_protocols"))};
  if (!it.demuxer || !it.codec || !it.isDecoder || !it.parser || !it.protocol) return false;
  out = count(it);
  return true;
}

}  // namespace

int main() {
  const Counts linked = count(Iterators{av_demuxer_iterate, av_codec_iterate, av_codec_is_decoder,
                                        av_parser_iterate, avio_enum_protocols});
  Counts shared;
  const bool haveShared = countShared(shared);
  std::printf("FFmpeg components          linked (%s)   Debian's shared libraries\n",
              tunelark::engine::kBundledFfmpeg ? "bundled" : "system");
  const auto row = [&](const char* what, int Counts::*field) {
    if (haveShared) {
      std::printf("  %-12s %18d %20d\n", what, linked.*field, shared.*field);
    } else {
      std::printf("  %-12s %18d %20s\n", what, linked.*field, "not installed");
    }
  };
  row("demuxers", &Counts::demuxers);
  row("decoders", &Counts::decoders);
  row("parsers", &Counts::parsers);
  row("protocols", &Counts::protocols);
  return 0;
}
