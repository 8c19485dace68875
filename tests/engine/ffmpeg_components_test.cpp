// The FFmpeg the engine links holds every component of third_party/ffmpeg/components.list; the
// bundled one holds no decoder or protocol beyond it; the scheme check of a playlist line
// admits every network protocol the list names; and https reaches a real TLS server.

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

#include "engine/engine_fixtures.h"
#include "player/engine/ffmpeg_components.h"
#include "player/engine/player_engine.h"
#include "player/engine/source_line.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

std::set<std::string> split(std::string_view names) {
  std::set<std::string> out;
  while (!names.empty()) {
    const auto comma = names.find(',');
    out.emplace(names.substr(0, comma));
    names = comma == std::string_view::npos ? "" : names.substr(comma + 1);
  }
  return out;
}

TEST(FfmpegComponents, TheLinkedFfmpegHoldsTheListedComponentsAndTheBundledOneNoOthers) {
  std::set<std::string> decoders, protocols, listedDecoders;
  void* at = nullptr;
  while (const AVCodec* codec = av_codec_iterate(&at))
    if (av_codec_is_decoder(codec)) decoders.insert(codec->name);
  at = nullptr;
  while (const char* name = avio_enum_protocols(&at, 0)) protocols.insert(name);
  // The list names decoders as FFmpeg's configure does; two go by another name once built.
  for (const auto& name : split(kListedDecoders))
    listedDecoders.insert(name == "ra_144" ? "real_144" : name == "ra_288" ? "real_288" : name);
  for (const auto& name : split(kListedDemuxers))
    EXPECT_NE(av_find_input_format(name.c_str()), nullptr) << "demuxer " << name;
  const std::tuple<const char*, std::set<std::string>, std::set<std::string>> kinds[] = {
      {"decoder", listedDecoders, decoders}, {"protocol", split(kListedProtocols), protocols}};
  for (const auto& [kind, listed, built] : kinds) {
    for (const auto& name : listed) EXPECT_TRUE(built.contains(name)) << kind << " " << name;
    if (!kBundledFfmpeg) continue;  // the system's FFmpeg may hold more
    for (const auto& name : built)
      EXPECT_TRUE(listed.contains(name)) << "unlisted " << kind << " " << name;
  }
  // The scheme check of a playlist line admits every network protocol the list names.
  for (const auto& name : split(kNetworkProtocols))
    EXPECT_TRUE(isAllowedNetworkScheme(name)) << name;
}

// `openssl s_server -WWW` serves the folder over TLS on a free local port, with a key and a
// certificate made for the run (FFmpeg checks certificates only when asked to).
TEST(FfmpegComponents, ClipOverHttpsPlaysWhole) {
  testing::TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip);
  const auto script = "cd '" + dir.str() +
                      "' && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                      "-nodes -keyout k.pem -out c.pem -days 1 -subj /CN=localhost 2>/dev/null && "
                      "echo $$ && exec openssl s_server -WWW -cert c.pem -key k.pem -accept "
                      "127.0.0.1:0 2>/dev/null";
  FILE* server = ::popen(script.c_str(), "r");
  ASSERT_NE(server, nullptr);
  char line[256];
  pid_t pid = 0;
  std::string port;
  while (port.empty() && std::fgets(line, sizeof line, server)) {
    const std::string_view text(line);
    if (pid == 0) pid = std::atoi(line);
    if (text.starts_with("ACCEPT ")) port = std::to_string(std::atoi(line + text.rfind(':') + 1));
  }
  const auto out = dir.str() + "/out.wav";
  if (pid > 0 && !port.empty()) {
    PlayerEngine player(std::make_unique<WavSink>(out, AudioFormat{8000, 1}));
    player.setSource("https://127.0.0.1:" + port + "/tone.rm");
    EXPECT_TRUE(testing::pollUntilStopped(player));
  }
  if (pid > 0) ::kill(pid, SIGTERM);
  ::pclose(server);
  ASSERT_FALSE(port.empty()) << "openssl s_server did not start";
  EXPECT_EQ(testing::readWav(out).fileFrames, testing::ffmpegDecodedFrames(clip, 1));
}

}  // namespace
}  // namespace tunelark::engine
