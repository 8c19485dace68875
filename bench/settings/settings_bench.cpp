// Prints the median and the slowest time of the settings read, of a whole start-up
// (Form_Load) and of the atomic store that exit performs, in a fresh temporary folder.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/last_playlist_setting.h"
#include "platform/quiet_host.h"
#include "ui/form1.h"

namespace {

using Clock = std::chrono::steady_clock;
using tunelark::QuietHost;

void report(const char* what, int runs, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%-44s median %8.3f ms   slowest %8.3f ms   (%d runs)\n", what, ms[ms.size() / 2],
              ms.back(), runs);
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tunelark-bench.XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const std::string folder = pattern;
  const std::string settings = folder + "/tunelark.ini";
  setenv("TUNELARK_WINDIR", folder.c_str(), 1);

  const std::string path = folder + "/" + std::string(200, 'p') + ".ram";
  tunelark::storeLastPlaylist(settings, path);
  report("settings read (Dirlagu/file)", 1000, [&] { tunelark::readLastPlaylist(settings); });
  report("Form_Load with a settings file", 200, [] {
    tunelark::AppState app;
    QuietHost host;
    tunelark::Form1 form(app, host);
    form.Form_Load();
  });
  report("settings store (atomic, with fsync)", 100,
         [&] { tunelark::storeLastPlaylist(settings, path); });

  std::filesystem::remove_all(folder);
  return 0;
}
