// The FFmpeg the engine links holds every component of third_party/ffmpeg/components.list; the
// bundled one holds no decoder or protocol beyond it; and the scheme check of a playlist line
// admits every network protocol the list names.

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <set>
#include <string>
#include <string_view>

#include "player/engine/ffmpeg_components.h"
#include "player/engine/source_line.h"

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

// The list names decoders as FFmpeg's configure does; two of them go by another name once built.
std::set<std::string> listedDecoders() {
  std::set<std::string> names;
  for (auto name : split(kListedDecoders)) {
    if (name == "ra_144") name = "real_144";
    if (name == "ra_288") name = "real_288";
    names.insert(name);
  }
  return names;
}

std::set<std::string> builtDecoders() {
  std::set<std::string> names;
  void* at = nullptr;
  while (const AVCodec* codec = av_codec_iterate(&at)) {
    if (av_codec_is_decoder(codec)) names.insert(codec->name);
  }
  return names;
}

std::set<std::string> builtProtocols() {
  std::set<std::string> names;
  void* at = nullptr;
  while (const char* name = avio_enum_protocols(&at, 0)) names.insert(name);
  return names;
}

TEST(FfmpegComponents, EveryListedComponentIsInTheLinkedFfmpeg) {
  for (const auto& name : split(kListedDemuxers))
    EXPECT_NE(av_find_input_format(name.c_str()), nullptr) << "demuxer " << name;
  const auto decoders = builtDecoders();
  for (const auto& name : listedDecoders())
    EXPECT_TRUE(decoders.contains(name)) << "decoder " << name;
  const auto protocols = builtProtocols();
  for (const auto& name : split(kListedProtocols))
    EXPECT_TRUE(protocols.contains(name)) << "protocol " << name;
}

TEST(FfmpegComponents, BundledBuildHoldsNoUnlistedDecoderOrProtocol) {
  if (!kBundledFfmpeg) GTEST_SKIP() << "linked against the system's FFmpeg";
  const auto listed = listedDecoders();
  for (const auto& name : builtDecoders())
    EXPECT_TRUE(listed.contains(name)) << "unlisted decoder " << name;
  const auto listedProtocols = split(kListedProtocols);
  for (const auto& name : builtProtocols())
    EXPECT_TRUE(listedProtocols.contains(name)) << "unlisted protocol " << name;
}

TEST(FfmpegComponents, PlaylistLinesAdmitEveryListedNetworkProtocol) {
  for (const auto& name : split(kNetworkProtocols))
    EXPECT_TRUE(isAllowedNetworkScheme(name)) << name;
}

}  // namespace
}  // namespace tunelark::engine
