// Starts a program and reports how long it took from the spawn to the first window of that
// program (or of a process it started) being mapped on the X display, and the resident memory
// of all its processes a settle time later; then ends the program and everything it started.
// The map is seen as the X server's MapNotify event on the root window, so the figure does not
// depend on a polling interval and every program is measured alike, whatever toolkit it uses.
// Prints one line, for bench/peers/peer_bench.sh to read:
//   mapped_ms=123.4 rss_kib=45678 tree_rss_kib=45678 processes=1 helpers=-
// or `error=...` when no window came.
//
//   first_window [--settle-ms N] [--timeout-ms N] [--min-size PX] [--log FILE] -- PROGRAM [ARGS]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Set when this helper is asked to stop (say, the benchmark is interrupted): the program it
// started is in a process group of its own and would not hear that, so it is ended here.
volatile sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }

long long monotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Sleeps for `ms`, or less when a stop is requested.
void sleepMs(long long ms) {
  timespec pause{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (::nanosleep(&pause, &pause) != 0 && !stopRequested) {
  }
}

pid_t parentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  // The command name in parentheses may hold spaces; the fields after its ')' do not.
  const auto close = text.rfind(')');
  if (close == std::string::npos) return 0;
  char state = 0;
  int ppid = 0;
  if (std::sscanf(text.c_str() + close + 1, " %c %d", &state, &ppid) != 2) return 0;
  return ppid;
}

// This helper is a child subreaper, so whatever the program starts stays below it even when
// the process in between exits: "the program's processes" are simply all of our descendants.
bool isDescendant(pid_t pid) {
  const pid_t self = ::getpid();
  for (int depth = 0; depth < 32 && pid > 1; ++depth) {
    pid = parentOf(pid);
    if (pid == self) return true;
  }
  return false;
}

std::vector<pid_t> descendants() {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = std::atoi(name.c_str());
    if (isDescendant(pid)) found.push_back(pid);
  }
  return found;
}

std::string statusField(pid_t pid, const char* field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  const std::string tag = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(tag, 0) == 0) {
      const auto start = line.find_first_not_of(" \t", tag.size());
      return start == std::string::npos ? std::string() : line.substr(start);
    }
  }
  return {};
}

long rssKiB(pid_t pid) { return std::atol(statusField(pid, "VmRSS").c_str()); }

xcb_atom_t internAtom(xcb_connection_t* x, const char* name) {
  auto* reply = xcb_intern_atom_reply(
      x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// The process that says it owns `window`, from _NET_WM_PID, which Qt, GTK and SDL all set
// before the window is first mapped; 0 when it says nothing.
pid_t windowPid(xcb_connection_t* x, xcb_window_t window, xcb_atom_t netWmPid) {
  auto* reply = xcb_get_property_reply(
      x, xcb_get_property(x, 0, window, netWmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  pid_t pid = 0;
  if (reply && xcb_get_property_value_length(reply) >= 4)
    pid = static_cast<pid_t>(*static_cast<uint32_t*>(xcb_get_property_value(reply)));
  std::free(reply);
  return pid;
}

bool bigEnough(xcb_connection_t* x, xcb_window_t window, int minSize) {
  auto* reply = xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
  const bool big = reply && reply->width >= minSize && reply->height >= minSize;
  std::free(reply);
  return big;
}

// Asks every process of the program to end, waits a while for them, then forces the rest, and
// reaps them all so that the next program starts on a quiet machine (and a single-instance
// program does not hand its command line to a previous copy still shutting down).
void endAll(pid_t child) {
  ::kill(-child, SIGTERM);
  for (pid_t pid : descendants()) ::kill(pid, SIGTERM);
  const long long deadline = monotonicNs() + 5000LL * 1000 * 1000;
  while (monotonicNs() < deadline) {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    if (descendants().empty()) return;
    sleepMs(20);
  }
  for (pid_t pid : descendants()) ::kill(pid, SIGKILL);
  while (::waitpid(-1, nullptr, 0) > 0) {
  }
}

int usage() {
  std::fprintf(stderr,
               "usage: first_window [--settle-ms N] [--timeout-ms N] [--min-size PX] "
               "[--log FILE] -- PROGRAM [ARGS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long long settleMs = 1500;
  long long timeoutMs = 30000;
  int minSize = 64;  // tray icons and one-pixel helper windows are not "the window"
  std::string log = "/dev/null";
  int first = 1;
  for (; first < argc; ++first) {
    const std::string arg = argv[first];
    if (arg == "--") {
      ++first;
      break;
    }
    if (first + 1 >= argc) return usage();
    if (arg == "--settle-ms") {
      settleMs = std::atoll(argv[++first]);
    } else if (arg == "--timeout-ms") {
      timeoutMs = std::atoll(argv[++first]);
    } else if (arg == "--min-size") {
      minSize = std::atoi(argv[++first]);
    } else if (arg == "--log") {
      log = argv[++first];
    } else {
      return usage();
    }
  }
  if (first >= argc) return usage();

  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    std::printf("error=no-display\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const xcb_atom_t netWmPid = internAtom(x, "_NET_WM_PID");
  // SubstructureNotify on the root reports every top-level window being mapped; unlike
  // SubstructureRedirect, any number of clients may select it.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x);
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  struct sigaction onStop {};
  onStop.sa_handler = requestStop;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &onStop, nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);

  pid_t child = -1;
  const long long start = monotonicNs();
  const int spawned = posix_spawnp(&child, argv[first], &actions, &attr, argv + first, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (spawned != 0) {
    std::printf("error=cannot-start-%s\n", argv[first]);
    return 1;
  }

  long long mappedNs = -1;
  const long long deadline = start + timeoutMs * 1000000LL;
  pollfd watch{xcb_get_file_descriptor(x), POLLIN, 0};
  while (mappedNs < 0 && monotonicNs() < deadline && !stopRequested) {
    ::poll(&watch, 1, 5);
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      const long long seen = monotonicNs();
      if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && mappedNs < 0) {
        const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
        const pid_t owner = windowPid(x, window, netWmPid);
        if (owner > 0 && isDescendant(owner) && bigEnough(x, window, minSize)) mappedNs = seen;
      }
      std::free(event);
    }
    if (xcb_connection_has_error(x)) break;
    int status = 0;
    if (mappedNs < 0 && ::waitpid(child, &status, WNOHANG) == child) {
      std::printf("error=exited-before-a-window\n");
      endAll(child);
      return 1;
    }
  }
  if (stopRequested) {
    endAll(child);
    return 1;
  }
  if (mappedNs < 0) {
    std::printf("error=no-window-within-%lld-ms\n", timeoutMs);
    endAll(child);
    return 1;
  }

  const long long wait = mappedNs + settleMs * 1000000LL - monotonicNs();
  if (wait > 0) sleepMs(wait / 1000000);
  if (stopRequested) {
    endAll(child);
    return 1;
  }
  long tree = 0;
  int processes = 0;
  std::string helpers;
  for (pid_t pid : descendants()) {
    tree += rssKiB(pid);
    ++processes;
    if (pid != child) helpers += (helpers.empty() ? "" : ",") + statusField(pid, "Name");
  }
  std::printf("mapped_ms=%.1f rss_kib=%ld tree_rss_kib=%ld processes=%d helpers=%s\n",
              static_cast<double>(mappedNs - start) / 1e6, rssKiB(child), tree, processes,
              helpers.empty() ? "-" : helpers.c_str());
  std::fflush(stdout);
  endAll(child);
  xcb_disconnect(x);
  return 0;
}
