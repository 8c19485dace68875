// The window's playlist edits against the real player: a reordered list that is already the
// player's source goes on playing as it was (the player ignores the same source), while Play,
// or a different file, makes the rewritten list play.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/scoped_env.h"
#include "engine/engine_fixtures.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "support/fake_host.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

using testing::ToneSpec;

TEST(PlaylistSource, ASortOfThePlayingListTakesEffectAtTheNextPlay) {
  testing::TempDir dir;
  testing::ScopedEnv windir("TUNELARK_WINDIR", dir.str() + "/win");
  testing::makeTone(dir.str() + "/a.rm", ToneSpec{"real_144", 8000, 1, 8.0, 440, ""});
  testing::makeTone(dir.str() + "/b.rm", ToneSpec{"real_144", 8000, 1, 8.0, 660, ""});
  AppState app;
  testing::FakeHost host;
  testing::ScriptedDialogs dialogs;
  Form1 form(app, host, dialogs);
  form.Form_Load();
  engine::PlayerEngine player(std::make_unique<engine::NullSink>(engine::AudioFormat{8000, 1}));
  form.RealAudio1.attach(&player);
  app.entries[0] = "file:" + dir.str() + "/b.rm";
  app.entries[1] = "file:" + dir.str() + "/a.rm";
  app.entryCount = 2;
  form.List1.AddItem("1. ");
  form.List1.AddItem("2. ");

  form.Image25_Click();  // writes the working list file: b, then a
  form.Image9_Click();
  ASSERT_TRUE(testing::pollUntil(player, [&] { return player.status().elapsedSeconds > 0.3; }));
  EXPECT_EQ(player.status().title, "b.rm");

  form.Image23_Click();  // a, then b; the same file is the same source: playback goes on
  const double before = player.status().elapsedSeconds;
  ASSERT_TRUE(
      testing::pollUntil(player, [&] { return player.status().elapsedSeconds > before + 0.2; }));
  EXPECT_EQ(player.status().state, engine::PlayState::Playing);
  EXPECT_EQ(player.status().title, "b.rm");

  form.Image9_Click();  // Play clears the source first: the sorted list plays from its start
  ASSERT_TRUE(testing::pollUntil(player, [&] { return player.status().elapsedSeconds > 0.1; }));
  EXPECT_EQ(player.status().title, "a.rm");
  EXPECT_LT(player.status().elapsedSeconds, 2.0);

  // Saved under another name, the list's next sort hands the player a different file, which
  // plays at once because Play left auto-start on.
  dialogs.answers.push_back(dir.str() + "/saved.ram");
  form.Image28_Click();
  form.Image25_Click();
  ASSERT_TRUE(testing::pollUntil(player, [&] { return player.status().title == "b.rm"; }));
  EXPECT_EQ(player.status().state, engine::PlayState::Playing);
  EXPECT_EQ(player.status().clipCount, 2);
}

}  // namespace
}  // namespace tunelark
