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

// The module keeps its own FFmpeg inside: no FFmpeg or codec library loaded, none exported.
// Nor does it map the sound libraries: those come with the sound module, at the first play.
#if TUNELARK_FFMPEG_BUNDLED
TEST(PlayerModule, KeepsItsOwnFfmpegInside) {
  const auto libs = capture(std::string("ldd ") + TUNELARK_PLAYER_MODULE);
  ASSERT_TRUE(libs.has_value());
  EXPECT_NE(libs->find("libQt6Widgets"), std::string::npos) << *libs;
  for (const char* heavy :
       {"libavcodec", "libavformat", "libavutil", "libswresample", "libx26", "libdav1d", "libvpx",
        "librsvg", "libcrypto", "libgnutls", "libQt6Multimedia", "libpulse"})
    EXPECT_EQ(libs->find(heavy), std::string::npos) << heavy;
  const auto exported = capture(std::string("nm -D --defined-only ") + TUNELARK_PLAYER_MODULE);
  ASSERT_TRUE(exported.has_value());
  for (const char* prefix : {" av_", " avcodec_", " avformat_", " avio_", " swr_", " ff_"})
    EXPECT_EQ(exported->find(prefix), std::string::npos) << prefix << " in\n" << *exported;
}
#endif

using WithoutPlayer = ProgramTest;

// A file that is no module: the window still works and says so (an absent one is checked
// offscreen).
TEST_F(WithoutPlayer, WindowStillWorksAndSaysSo) {
  RunningProgram& p =
      start({{"TUNELARK_PLAYER_MODULE", folder.write("libplayer.so", "#!/bin/sh\necho hi\n")}});
  ASSERT_FALSE(p.window().empty());
  ASSERT_TRUE(waitFor([&] {
    return p.errors().find("player module could not be loaded") != std::string::npos;
  })) << p.errors();
  EXPECT_TRUE(p.screenshot(std::string(TUNELARK_ARTIFACT_DIR) + "/no-player.png"));
  p.click(kPlaylistToggle.x, kPlaylistToggle.y);
  EXPECT_TRUE(waitFor([&] {
    const auto g = p.geometry();
    return g && g->height == 374;
  })) << "the toggles still work";
  p.click(kExitButton.x, kExitButton.y);
  ASSERT_TRUE(p.waitForExit().has_value());
  EXPECT_TRUE(std::filesystem::exists(p.settingsPath()));
}

}  // namespace
}  // namespace tunelark::e2e
