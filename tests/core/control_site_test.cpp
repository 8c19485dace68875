#include "player/control_site.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/recording_player.h"

namespace tunelark {
namespace {

using testing::RecordingPlayer;

TEST(ControlSite, KeepsStartupCallsUntilTheComponentAttaches) {
  ControlSite site{Control{}};
  site.setAutoStart(false);
  site.setSource("/home/ann/list.ram");
  RecordingPlayer player;
  site.attach(&player);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"auto:0", "source:/home/ann/list.ram"}));
}

TEST(ControlSite, ForwardsEveryOperationOnceAttached) {
  ControlSite site{Control{}};
  RecordingPlayer player;
  site.attach(&player);
  player.calls.clear();
  site.setSource("");
  site.setSource("file:/a.rm");
  site.setAutoStart(true);
  site.playPause();
  site.stop();
  site.nextClip();
  site.previousClip();
  EXPECT_EQ(player.calls, (std::vector<std::string>{"source:", "source:file:/a.rm", "auto:1",
                                                    "playpause", "stop", "next", "prev"}));
}

TEST(ControlSite, TransportCallsBeforeAttachAreReplayedInOrder) {
  ControlSite site{Control{}};
  site.setAutoStart(false);
  site.setSource("");
  site.setSource("/home/ann/list.ram");
  site.setAutoStart(true);
  site.stop();
  site.nextClip();
  RecordingPlayer player;
  site.attach(&player);
  // The window shows "stopped" after Play then Stop: the component must end stopped too.
  EXPECT_EQ(player.calls,
            (std::vector<std::string>{"auto:1", "source:/home/ann/list.ram", "stop", "next"}));
}

TEST(ControlSite, ANewSourceDropsTransportCallsMadeForTheOldOne) {
  ControlSite site{Control{}};
  site.setSource("/old.ram");
  site.playPause();
  site.setSource("/new.ram");
  RecordingPlayer player;
  site.attach(&player);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"auto:1", "source:/new.ram"}));
}

TEST(ControlSite, AnEmptySourceIsNotReplayedOnAttach) {
  ControlSite site{Control{}};
  site.setAutoStart(false);
  RecordingPlayer player;
  site.attach(&player);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"auto:0"}));
}

}  // namespace
}  // namespace tunelark
