// The FFmpeg the engine links holds every component of third_party/ffmpeg/components.list; the
// bundled one holds no decoder or protocol beyond it; the scheme check of a playlist line
// admits every network protocol the list names; and https reaches a real TLS server.

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

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

// `openssl s_server -WWW` serving a folder over TLS on a local port, with a key and certificate
// made for the run (FFmpeg checks certificates only when asked to).
class TlsFileServer {
 public:
  explicit TlsFileServer(const std::string& folder) {
    port_ = freePort();
    const std::string script =
        "cd '" + folder +
        "' && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
        "-keyout key.pem -out cert.pem -days 1 -subj /CN=localhost 2>/dev/null && exec openssl "
        "s_server -quiet -WWW -cert cert.pem -key key.pem -accept 127.0.0.1:" +
        std::to_string(port_) + " >/dev/null 2>&1";
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 100 && !accepting(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ~TlsFileServer() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  std::string url(const std::string& name) const {
    return "https://127.0.0.1:" + std::to_string(port_) + "/" + name;
  }

 private:
  static sockaddr_in loopback(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    return addr;
  }
  static int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = loopback(0);
    socklen_t size = sizeof addr;
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), size) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &size) == 0;
    ::close(fd);
    if (!bound) throw std::runtime_error("no free port");
    return ntohs(addr.sin_port);
  }
  bool accepting() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in addr = loopback(port_);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
  }

  int port_ = 0;
  pid_t pid_ = -1;
};

TEST(FfmpegComponents, ClipOverHttpsPlaysWhole) {
  testing::TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip);
  TlsFileServer server(dir.str());
  const auto out = dir.str() + "/out.wav";
  {
    PlayerEngine player(std::make_unique<WavSink>(out, AudioFormat{8000, 1}));
    player.setSource(server.url("tone.rm"));
    ASSERT_TRUE(testing::pollUntilStopped(player));
  }
  EXPECT_EQ(testing::readWav(out).fileFrames, testing::ffmpegDecodedFrames(clip, 1));
}

}  // namespace
}  // namespace tunelark::engine
