#include "player/control_site.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/recording_player.h"

namespace tunelark {
namespace {

using Calls = std::vector<std::string>;

// Operations are written as the recording player writes them; "attach" attaches it.
struct SiteCase {
  const char* what;
  Calls operations;
  Calls received;
};

TEST(ControlSite, ThePlayerGetsWhatTheWindowMeantWhenItAttachesAndEverythingAfter) {
  const SiteCase cases[] = {
      {"start-up calls kept until attach",
       {"auto:0", "source:/home/ann/list.ram", "attach"},
       {"auto:0", "source:/home/ann/list.ram"}},
      {"forwarded once attached",
       {"attach", "source:", "source:file:/a.rm", "auto:1", "playpause", "stop", "next", "prev"},
       {"auto:1", "source:", "source:file:/a.rm", "auto:1", "playpause", "stop", "next", "prev"}},
      // The window shows "stopped" after Play then Stop: the component must end stopped too.
      {"transport calls replayed in order",
       {"auto:0", "source:", "source:/home/ann/list.ram", "auto:1", "stop", "next", "attach"},
       {"auto:1", "source:/home/ann/list.ram", "stop", "next"}},
      {"a new source drops calls made for the old one",
       {"source:/old.ram", "playpause", "source:/new.ram", "attach"},
       {"auto:1", "source:/new.ram"}},
      {"an empty source is not replayed", {"auto:0", "attach"}, {"auto:0"}}};
  for (const SiteCase& c : cases) {
    SCOPED_TRACE(c.what);
    ControlSite site{Control{}};
    testing::RecordingPlayer player;
    for (const std::string& op : c.operations) {
      if (op == "attach") site.attach(&player);
      if (op.rfind("source:", 0) == 0) site.setSource(op.substr(7));
      if (op.rfind("auto:", 0) == 0) site.setAutoStart(op == "auto:1");
      if (op == "playpause") site.playPause();
      if (op == "stop") site.stop();
      if (op == "next") site.nextClip();
      if (op == "prev") site.previousClip();
    }
    EXPECT_EQ(player.calls, c.received);
  }
}

}  // namespace
}  // namespace tunelark
