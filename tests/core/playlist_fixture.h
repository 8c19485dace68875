#pragma once
// A started main window over a fresh settings folder, with scripted file dialogs and a
// recording player attached, and helpers to fill the clip list and the playlist.

#include <gtest/gtest.h>

#include <string>

#include "core/recording_player.h"
#include "core/scoped_env.h"
#include "playlist/playlist_line.h"
#include "support/fake_host.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::testing {

class PlaylistFixture : public ::testing::Test {
 protected:
  PlaylistFixture() : windir_("TUNELARK_WINDIR", dir.str() + "/win") {
    form.Form_Load();
    form.RealAudio1.attach(&player);
    player.calls.clear();
  }

  std::string temp() const { return app.workingListFile(); }

  // Clip files named `names` in `folder` (below the temporary folder), listed in File1.
  void listClips(const std::vector<std::string>& names, const std::string& folder = "clips") {
    for (const auto& name : names) dir.write(folder + "/" + name, "clip");
    ASSERT_TRUE(form.File1.setPath(dir.str() + "/" + folder));
  }
  void selectClips(const std::vector<int>& rows) {
    for (int i = 0; i < form.File1.ListCount(); ++i) form.File1.setSelected(i, false);
    for (const int r : rows) form.File1.setSelected(r, true);
  }
  // Puts `lines` into the playlist as a load would.
  void setEntries(const std::vector<std::string>& lines) {
    form.List1.Clear();
    app.entryCount = 0;
    for (const auto& line : lines) {
      app.entries[static_cast<std::size_t>(app.entryCount)] = line;
      form.List1.AddItem(rowFromLine(app.entryCount++, line));
    }
  }
  void selectRows(const std::vector<int>& rows) {
    for (int i = 0; i < form.List1.ListCount(); ++i) form.List1.setSelected(i, false);
    for (const int r : rows) form.List1.setSelected(r, true);
  }
  std::vector<std::string> entries() const {
    return {app.entries.begin(), app.entries.begin() + app.entryCount};
  }
  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < form.List1.ListCount(); ++i) out.push_back(form.List1.List(i));
    return out;
  }

  TempDir dir;
  ScopedEnv windir_;
  AppState app;
  FakeHost host;
  ScriptedDialogs dialogs;
  RecordingPlayer player;
  Form1 form{app, host, dialogs};
};

}  // namespace tunelark::testing
