// File1's refresh on a folder of 20,000 files of which 10,000 match the design-time pattern,
// side by side with `ls -f` on the same folder. Prints medians; asserts nothing.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

#include "bench_folder.h"
#include "browser/file_list_box.h"

extern char** environ;

namespace {

using tunelark::bench::median;
using tunelark::bench::millisecondsSince;

// Runs `ls -f folder` with its output thrown away, as the baseline a listing can hardly beat.
double timeLs(const std::string& folder) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"ls", "-f", folder.c_str(), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "ls", &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double ms = millisecondsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
  tunelark::bench::ScratchFolder folder;
  char name[64];
  for (int i = 0; i < 20000; ++i) {
    // Half clips in the three types, half other files, names interleaved as in a real folder.
    static const char* const kExtensions[] = {".ra", ".rm", ".ram", ".mp3", ".txt", ".jpg"};
    const char* ext = i % 2 == 0 ? kExtensions[(i / 2) % 3] : kExtensions[3 + (i / 2) % 3];
    std::snprintf(name, sizeof name, "track %05d%s", i, ext);
    folder.touch(name);
  }
  tunelark::FileListBox list;
  if (!list.setPath(folder.path().string())) {
    std::fprintf(stderr, "cannot list %s\n", folder.path().c_str());
    return 1;
  }
  std::vector<double> refresh, ls;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    list.Refresh();
    refresh.push_back(millisecondsSince(start));
    ls.push_back(timeLs(folder.path().string()));
  }
  const double refreshMs = median(refresh);
  const double lsMs = median(ls);
  std::printf("File1 refresh, 20000 files, %d listed: median %.2f ms over %d runs (target < 100)\n",
              list.ListCount(), refreshMs, runs);
  std::printf("ls -f on the same folder: median %.2f ms\n", lsMs);
  std::printf("ratio refresh / ls -f: %.2f (target <= 3)\n", lsMs > 0 ? refreshMs / lsMs : 0.0);
  return 0;
}
