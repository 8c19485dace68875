// The sound output is loaded at the first play, and a sound module that cannot be loaded leaves
// the player going on the clock, saying why.

#include "player/module/lazy_sound.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "player/module/hosted_player.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

TEST(LazySound, LoadsAtFirstPlayOrPlaysOnTheClockSayingWhy) {
  const std::string reason = testing::soundUnavailableReason();
  if (!reason.empty()) GTEST_SKIP() << reason;
  testing::TempDir dir;
  const std::string clip = testing::makeTone(dir.str() + "/tone.rm", 440, 2);

  struct Case {
    std::string modulePath;  // empty: the real module beside this code
    bool sounds;
  };
  for (const Case& c : {Case{"", true}, Case{dir.str() + "/libtunelark_sound.so", false}}) {
    SCOPED_TRACE(c.modulePath);
    auto owned = std::make_unique<LazySound>(c.modulePath);
    LazySound& sound = *owned;
    QWidget window;
    HostedPlayer player(std::move(owned), &window);
    EXPECT_FALSE(sound.loaded()) << "nothing is loaded before the first play";
    player.control().setAutoStart(true);
    player.control().setSource("file:" + clip);
    testing::pumpEvents(500);
    const auto status = player.engine().status();
    EXPECT_EQ(status.state, engine::PlayState::Playing);
    EXPECT_EQ(sound.loaded(), c.sounds);
    EXPECT_EQ(status.noDevice, !c.sounds);
    if (!c.sounds) {
      EXPECT_NE(status.message.detail.find("could not be loaded"), std::string::npos)
          << status.message.detail;
    }
  }
}

}  // namespace
}  // namespace tunelark::module
