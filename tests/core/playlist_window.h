#pragma once
// A started window over a fresh settings folder, with scripted dialogs and a recording player,
// for the tests of the playlist and of the files given from outside.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/recording_player.h"
#include "core/scoped_env.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_line.h"
#include "support/fake_host.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::testing {

using Lines = std::vector<std::string>;

struct Window {
  Window() : windir("TUNELARK_WINDIR", dir.str() + "/win") {
    form.Form_Load();
    form.RealAudio1.attach(&player);
    player.calls.clear();
  }
  std::string temp() const { return app.workingListFile(); }
  // `text` with each "@" replaced by the folder.
  std::string at(std::string text) const {
    for (auto p = text.find('@'); p != std::string::npos; p = text.find('@', p + 1))
      text.replace(p, 1, dir.str());
    return text;
  }
  // Clip files below the folder, listed in File1, `rows` of them selected.
  void listClips(const Lines& names, const std::vector<int>& rows) {
    for (const auto& name : names) dir.write("clips/" + name, "clip");
    ASSERT_TRUE(form.File1.setPath(dir.str() + "/clips"));
    for (const int r : rows) form.File1.setSelected(r, true);
  }
  // Puts `lines` into the playlist as a load would, `rows` of them selected.
  void setEntries(const Lines& lines, const std::vector<int>& rows = {}) {
    form.List1.Clear();
    app.entryCount = 0;
    for (const auto& line : lines) {
      form.List1.AddItem(rowFromLine(app.entryCount, line));
      appendEntry(app, line);
    }
    for (const int r : rows) form.List1.setSelected(r, true);
  }
  Lines entries() const { return {app.entries.begin(), app.entries.begin() + app.entryCount}; }
  Lines rows() const {
    Lines out;
    for (int i = 0; i < form.List1.ListCount(); ++i) out.push_back(form.List1.List(i));
    return out;
  }

  TempDir dir;
  ScopedEnv windir;
  AppState app;
  FakeHost host;
  ScriptedDialogs dialogs;
  RecordingPlayer player;
  Form1 form{app, host, dialogs};
};

}  // namespace tunelark::testing
