// Starts tunelark and the floor window alternately, 10 times each, and prints the median time
// from spawn to the first painted frame and the resident memory at that moment, and the memory
// 1.5 s later; for tunelark also the time from that frame until the player module is attached.
// Other tunelark builds given as arguments (say, one linking the system's FFmpeg) are started
// in the same rotation and get a column of their own:
//   scripts/test-env build/release/bin/startup_bench [--remembered-playlist] [other/bin/tunelark
//   ...]
// With --remembered-playlist every tunelark starts on a remembered playlist of 80 entries whose
// clips exist, as a returning user's would.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 10;

long long monotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long rssKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int sharedObjects(pid_t pid) {
  std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
  std::vector<std::string> seen;
  std::string line;
  while (std::getline(maps, line)) {
    const auto slash = line.find('/');
    if (slash == std::string::npos) continue;
    const std::string path = line.substr(slash);
    if (path.find(".so") != std::string::npos &&
        std::find(seen.begin(), seen.end(), path) == seen.end())
      seen.push_back(path);
  }
  return static_cast<int>(seen.size());
}

// How long after the first frame the settled memory is read: the player module is attached by
// then, and whatever start-up does on later turns of the event loop has been done.
constexpr long long kSettleNs = 1500LL * 1000 * 1000;

struct Sample {
  double firstFrameMs = 0;
  double rssMiB = 0;
  double attachMs = 0;       // tunelark only: from the first frame to the module attached
  double playerRssMiB = 0;   // tunelark only: as the module is attached
  double settledRssMiB = 0;  // kSettleNs after the first frame
  int libraries = 0;
};

// Reads one line from `fd` that starts with `tag`; its number, or nullopt at end of output.
std::optional<long long> readTagged(int fd, const std::string& tag, std::string& pending) {
  char buf[256];
  for (;;) {
    const auto nl = pending.find('\n');
    if (nl != std::string::npos) {
      const std::string line = pending.substr(0, nl);
      pending.erase(0, nl + 1);
      if (line.rfind(tag + " ", 0) == 0) return std::atoll(line.c_str() + tag.size() + 1);
      continue;
    }
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return std::nullopt;
    pending.append(buf, static_cast<size_t>(n));
  }
}

std::optional<Sample> runOnce(const char* exe, bool hasPlayer, const std::string& windir) {
  int out[2];
  if (::pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.push_back("TUNELARK_BENCH_FIRST_FRAME=1");
  env.push_back("TUNELARK_WINDIR=" + windir);
  std::vector<char*> envp;
  for (auto& s : env) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::string path = exe;
  char* argv[] = {path.data(), nullptr};

  pid_t pid = -1;
  const long long start = monotonicNs();
  const int spawned = posix_spawn(&pid, exe, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    return std::nullopt;
  }

  std::optional<Sample> sample;
  std::string pending;
  if (auto frame = readTagged(out[0], "first-frame", pending)) {
    Sample s;
    s.firstFrameMs = static_cast<double>(*frame - start) / 1e6;
    s.rssMiB = static_cast<double>(rssKiB(pid)) / 1024.0;
    s.libraries = sharedObjects(pid);
    if (hasPlayer) {
      if (auto ready = readTagged(out[0], "player-ready", pending)) {
        s.playerRssMiB = static_cast<double>(rssKiB(pid)) / 1024.0;
        s.attachMs = static_cast<double>(*ready - *frame) / 1e6;
      }
    }
    const long long wait = *frame + kSettleNs - monotonicNs();
    if (wait > 0) {
      const timespec pause{static_cast<time_t>(wait / 1000000000),
                           static_cast<long>(wait % 1000000000)};
      ::nanosleep(&pause, nullptr);
    }
    s.settledRssMiB = static_cast<double>(rssKiB(pid)) / 1024.0;
    sample = s;
  }
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  ::close(out[0]);
  return sample;
}

// A settings folder that remembers a playlist of 80 existing clips.
void rememberPlaylist(const std::string& windir) {
  std::string list;
  for (int i = 0; i < 80; ++i) {
    const std::string clip = windir + "/clip" + std::to_string(i) + ".ra";
    std::ofstream(clip) << "x";
    list += "file:" + clip + "\r\n";
  }
  std::ofstream(windir + "/remembered.ram", std::ios::binary) << list;
  std::ofstream(windir + "/tunelark.ini", std::ios::binary)
      << "[Dirlagu]\r\nfile=" << windir << "/remembered.ram\r\n";
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0
                   : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "startup_bench: needs an X display; run it under scripts/test-env\n");
    return 1;
  }
  char folder[] = "/tmp/tunelark-bench.XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  const std::string windir = folder;

  std::vector<const char*> programs = {TUNELARK_EXE};
  bool remembered = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--remembered-playlist")
      remembered = true;
    else
      programs.push_back(argv[i]);
  }
  if (remembered) rememberPlaylist(windir);
  std::vector<std::vector<Sample>> apps(programs.size());
  std::vector<Sample> floor;
  for (int i = 0; i < kRuns; ++i) {
    // Alternating spreads any drift of the machine's load over all programs alike.
    for (std::size_t p = 0; p < programs.size(); ++p)
      if (auto s = runOnce(programs[p], true, windir)) apps[p].push_back(*s);
    if (auto s = runOnce(FLOOR_EXE, false, windir)) floor.push_back(*s);
  }
  std::filesystem::remove_all(windir);
  for (const auto& app : apps) {
    if (app.empty() || floor.empty()) {
      std::fprintf(stderr, "startup_bench: a program never reported its first frame\n");
      return 1;
    }
  }

  auto pick = [](const std::vector<Sample>& v, auto field) {
    std::vector<double> xs;
    for (const Sample& s : v) xs.push_back(static_cast<double>(s.*field));
    return median(xs);
  };
  // The machine is shared; its load says how far these figures can be trusted.
  std::ifstream loadavg("/proc/loadavg");
  std::string load1;
  loadavg >> load1;
  std::printf("load average over the last minute: %s\n", load1.c_str());
  if (remembered) std::printf("tunelark starts on a remembered playlist of 80 entries\n");
  std::printf("startup, median of %zu runs each\n", floor.size());
  for (std::size_t p = 0; p < programs.size(); ++p) std::printf("  [%zu] %s\n", p + 1, programs[p]);
  std::printf("%-42s", "");
  for (std::size_t p = 0; p < programs.size(); ++p) std::printf("      [%zu]  ratio", p + 1);
  std::printf("      floor\n");
  // One row: each program's figure and its ratio to the floor's (when the floor has one).
  auto row = [&](const char* label, auto field, bool ratio) {
    std::printf("%-42s", label);
    const double base = pick(floor, field);
    for (const auto& app : apps) {
      const double value = pick(app, field);
      if (ratio) {
        std::printf(" %9.1f  %5.2f", value, value / base);
      } else {
        std::printf(" %9.1f       ", value);
      }
    }
    if (ratio) {
      std::printf(" %10.1f\n", base);
    } else {
      std::printf("\n");
    }
  };
  row("spawn to first painted frame (ms)", &Sample::firstFrameMs, true);
  row("resident memory at that frame (MiB)", &Sample::rssMiB, true);
  row("shared objects mapped at that frame", &Sample::libraries, true);
  row("first frame to player attached (ms)", &Sample::attachMs, false);
  row("resident memory as it is attached (MiB)", &Sample::playerRssMiB, false);
  row("resident memory 1.5 s after the frame (MiB)", &Sample::settledRssMiB, true);
  std::printf("targets: first frame ratio <= 1.30; memory 1.5 s after the frame ratio <= 1.25\n");
  return 0;
}
