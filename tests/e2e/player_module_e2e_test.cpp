// The executable stays light and survives without its player: it links neither FFmpeg nor Qt
// Multimedia, and a missing or broken module leaves a working window.
#include <filesystem>

#include "e2e_fixture.h"

namespace tunelark::e2e {
namespace {

TEST(Executable, LinksNeitherFfmpegNorMultimedia) {
  const auto libs = capture(std::string("ldd ") + TUNELARK_EXE);
  ASSERT_TRUE(libs.has_value());
  EXPECT_NE(libs->find("libQt6Widgets"), std::string::npos) << *libs;
  for (const char* heavy :
       {"libavcodec", "libavformat", "libavutil", "libswresample", "libQt6Multimedia", "libpulse"})
    EXPECT_EQ(libs->find(heavy), std::string::npos) << heavy;
}

// The module carries the FFmpeg built from the component list inside itself: no FFmpeg library
// or codec library is loaded with it, and no FFmpeg function can be reached from outside.
// (Left out on the system's FFmpeg rather than skipped: a skip marks the whole run skipped.)
#if TUNELARK_FFMPEG_BUNDLED
TEST(PlayerModule, KeepsItsOwnFfmpegInside) {
  const auto libs = capture(std::string("ldd ") + TUNELARK_PLAYER_MODULE);
  ASSERT_TRUE(libs.has_value());
  EXPECT_NE(libs->find("libQt6Multimedia"), std::string::npos) << *libs;
  // libpulse brings its own few audio codec libraries (through libsndfile); FFmpeg's are these,
  // and GnuTLS comes only with the first TLS connection.
  for (const char* heavy : {"libavcodec", "libavformat", "libavutil", "libswresample", "libx26",
                            "libdav1d", "libvpx", "librsvg", "libcrypto", "libgnutls"})
    EXPECT_EQ(libs->find(heavy), std::string::npos) << heavy;
  const auto exported = capture(std::string("nm -D --defined-only ") + TUNELARK_PLAYER_MODULE);
  ASSERT_TRUE(exported.has_value());
  for (const char* prefix : {" av_", " avcodec_", " avformat_", " avio_", " swr_", " ff_"})
    EXPECT_EQ(exported->find(prefix), std::string::npos) << prefix << " in\n" << *exported;
}
#endif

struct BadModule {
  const char* what;
  std::string (*path)(const tunelark::testing::TempDir&);
};

class WithoutPlayer : public ProgramTest, public ::testing::WithParamInterface<BadModule> {};

TEST_P(WithoutPlayer, WindowStillWorksAndSaysSo) {
  const std::string module = GetParam().path(folder);
  RunningProgram& p = start({{"TUNELARK_PLAYER_MODULE", module}});
  ASSERT_FALSE(p.window().empty());
  ASSERT_TRUE(waitFor([&] {
    return p.errors().find("player module could not be loaded") != std::string::npos;
  })) << p.errors();

  const std::string shot =
      std::string(TUNELARK_ARTIFACT_DIR) + "/no-player-" + GetParam().what + ".png";
  EXPECT_TRUE(p.screenshot(shot));

  p.click(kPlaylistToggle.x, kPlaylistToggle.y);
  EXPECT_TRUE(waitFor([&] {
    const auto g = p.geometry();
    return g && g->height == 374;
  })) << "the toggles still work";

  p.click(kExitButton.x, kExitButton.y);
  ASSERT_TRUE(p.waitForExit().has_value());
  EXPECT_TRUE(std::filesystem::exists(p.settingsPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Modules, WithoutPlayer,
    ::testing::Values(
        BadModule{"absent", [](const auto& d) { return d.str() + "/nowhere/libplayer.so"; }},
        BadModule{"not_a_module",
                  [](const auto& d) { return d.write("libplayer.so", "#!/bin/sh\necho hi\n"); }}),
    [](const auto& p) { return std::string(p.param.what); });

}  // namespace
}  // namespace tunelark::e2e
