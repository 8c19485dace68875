// The popup menu's player items call the player and nothing else: the play state and the
// transport buttons keep their look until a transport button sets them again.
#include <gtest/gtest.h>

#include "recording_player.h"
#include "support/fake_host.h"
#include "transport_looks.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

TEST(OptionsMenu, PlayerItemsCallThePlayerDirectly) {
  const std::pair<int, const char*> items[] = {
      {kMnuPlay, "playpause"}, {kMnuStop, "stop"}, {kMnuPrevClip, "prev"}, {kMnuNextClip, "next"}};
  for (const auto& [index, call] : items) {
    SCOPED_TRACE(call);
    AppState app;
    testing::FakeHost host;
    Form1 form(app, host);
    testing::RecordingPlayer player;
    form.RealAudio1.attach(&player);
    form.Image9_Click();
    player.calls.clear();
    form.mnuopt_Click(index);
    EXPECT_EQ(player.calls, std::vector<std::string>{call});
    EXPECT_EQ(form.playstate, 1);
    EXPECT_EQ(testing::playerLook(form), "pause/stop");
  }
}

}  // namespace
}  // namespace tunelark
