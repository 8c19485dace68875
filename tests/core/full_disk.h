#pragma once
// Real ways to run out of room for a write: a tiny tmpfs mounted for the test, and a child
// process with a small file-size limit (RLIMIT_FSIZE).

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace tunelark::testing {

// A tmpfs of `bytes` mounted on a fresh folder below `parent`, unmounted at the end. Mounting
// needs privileges; mounted() says whether it worked.
class SmallTmpfs {
 public:
  SmallTmpfs(const std::filesystem::path& parent, std::size_t bytes)
      : path_((parent / "small-tmpfs").string()) {
    std::filesystem::create_directories(path_);
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

// How a child run under a file-size limit ended.
struct ChildOutcome {
  bool exited = false;  // false when a signal ended it
  int status = -1;      // exit status, or the signal number
};

// Runs `body` in a forked child whose files may not grow past `limit` bytes, with SIGXFSZ
// ignored or left at its default action (which ends the process). The child's exit status is
// what `body` returns.
inline ChildOutcome runWithFileSizeLimit(rlim_t limit, bool ignoreSignal,
                                         const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (ignoreSignal) ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) ::_exit(100);
    ::_exit(body());
  }
  ChildOutcome outcome;
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return outcome;
  outcome.exited = WIFEXITED(status);
  outcome.status = outcome.exited ? WEXITSTATUS(status) : WTERMSIG(status);
  return outcome;
}

}  // namespace tunelark::testing
