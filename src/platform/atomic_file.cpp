#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <random>
#include <string_view>
#include <system_error>

#include "platform/path_parts.h"
#include "platform/write_all.h"

namespace tunelark {

namespace {

std::string describe(const std::string& what, const std::string& path, int err) {
  return "Cannot " + what + " \"" + path + "\": " + std::generic_category().message(err) + ".";
}

void setError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

// A write past the file-size limit raises SIGXFSZ, whose default action ends the process. While
// this guard lives the signal is blocked for the calling thread, so the write fails with EFBIG
// instead; a signal raised meanwhile is consumed before the old mask comes back.
class FileSizeSignalGuard {
 public:
  FileSizeSignalGuard() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGXFSZ) == 1;
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGXFSZ);
    active_ = pthread_sigmask(SIG_BLOCK, &block, &old_) == 0;
  }
  ~FileSizeSignalGuard() {
    if (!active_) return;
    sigset_t pending;
    sigemptyset(&pending);
    if (!wasPending_ && sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1) {
      sigset_t only;
      sigemptyset(&only);
      sigaddset(&only, SIGXFSZ);
      const timespec now{0, 0};
      while (sigtimedwait(&only, nullptr, &now) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  FileSizeSignalGuard(const FileSizeSignalGuard&) = delete;
  FileSizeSignalGuard& operator=(const FileSizeSignalGuard&) = delete;

 private:
  sigset_t old_;
  bool active_ = false;
  bool wasPending_ = false;
};

// The start of every temporary file name for `base`; the writer's process id follows it.
std::string tempPrefix(const std::string& base) { return "." + base.substr(0, 200) + ".tmp"; }

// Removes the temporary files of `base` left in `folder` by writers that were killed before
// they could clean up (their process is gone), so that they do not pile up. A writer that is
// still running keeps its file.
// Closes a folder listing when it goes out of scope.
struct FolderCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

void removeAbandonedTemps(const std::string& folder, const std::string& base) {
  const std::unique_ptr<DIR, FolderCloser> dir(::opendir(folder.empty() ? "/" : folder.c_str()));
  if (!dir) return;
  const std::string prefix = tempPrefix(base);
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.substr(0, prefix.size()) != prefix) continue;
    const std::string rest(name.substr(prefix.size()));
    char* end = nullptr;
    const long pid = std::strtol(rest.c_str(), &end, 10);
    if (end == rest.c_str() || *end != '.' || pid <= 0 || pid == static_cast<long>(::getpid()))
      continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
  }
}

// The temporary file: removed on destruction unless it was renamed into place.
class TempFile {
 public:
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  // Creates a new file next to `target` whose name starts with "." so that folder listings
  // skip it while it exists. Returns the errno of the last attempt on failure.
  int create(const std::string& folder, const std::string& base) {
    std::random_device seed;
    std::mt19937_64 pick(seed());
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
      // A shortened name keeps the temporary file within NAME_MAX when the target's own name is
      // near that limit.
      const std::string candidate = folder + "/" + tempPrefix(base) +
                                    std::to_string(static_cast<long>(getpid())) + "." +
                                    std::to_string(pick() % 1000000000ULL);
      const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        fd_ = fd;
        path_ = candidate;
        return 0;
      }
      err = errno;
    }
    return err;
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Closes the file, reporting the errno of a failed close (0 when it closed cleanly).
  int close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }
  void release() { path_.clear(); }

 private:
  int fd_ = -1;
  std::string path_;
};

// Follows a symbolic link to the file it names, so that a linked settings file stays linked.
bool resolveTarget(const std::string& path, std::string& target, std::string* error) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
    target = path;
    return true;
  }
  std::unique_ptr<char, decltype(&free)> real(::realpath(path.c_str(), nullptr), &free);
  if (!real) {
    setError(error, describe("write", path, errno));
    return false;
  }
  target = real.get();
  return true;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  if (path.empty()) {
    setError(error, describe("write", path, ENOENT));
    return false;
  }
  std::string target;
  if (!resolveTarget(path, target, error)) return false;

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) {
    setError(error, describe("write", path, errno));
    return false;
  }
  if (exists && !S_ISREG(old.st_mode)) {
    setError(error, "Cannot write \"" + path + "\": it is not an ordinary file.");
    return false;
  }
  // Root may write anything, so the permission bits are what say "read-only" here.
  if (exists && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    setError(error, "Cannot write \"" + path + "\": the file is read-only.");
    return false;
  }

  const std::string folder = folderOf(target);
  const std::string base = baseName(target);

  removeAbandonedTemps(folder, base);
  FileSizeSignalGuard sizeSignal;
  TempFile temp;
  if (const int err = temp.create(folder == "/" ? "" : folder, base); err != 0) {
    setError(error, describe("create a file in", folder, err));
    return false;
  }
  if (exists) {
    // Keep who may read the file and who owns it; failing to is no reason to lose the write.
    ::fchmod(temp.fd(), old.st_mode & 07777);
    [[maybe_unused]] const int owned = ::fchown(temp.fd(), old.st_uid, old.st_gid);
  }
  if (const int err = writeAll(temp.fd(), bytes); err != 0) {
    setError(error, describe("write", path, err));
    return false;
  }
  if (::fsync(temp.fd()) != 0) {
    setError(error, describe("write", path, errno));
    return false;
  }
  if (const int err = temp.close(); err != 0) {
    setError(error, describe("write", path, err));
    return false;
  }
  if (::rename(temp.path().c_str(), target.c_str()) != 0) {
    setError(error, describe("replace", path, errno));
    return false;
  }
  temp.release();

  // The rename is durable only once the folder itself is flushed. File systems that cannot
  // flush a folder say EINVAL; anything else means the new contents may not survive a crash.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) {
    setError(error, describe("flush the folder", folder, errno));
    return false;
  }
  const bool flushed = ::fsync(dir) == 0 || errno == EINVAL;
  const int flushErr = errno;
  ::close(dir);
  if (!flushed) {
    setError(error, describe("flush the folder", folder, flushErr));
    return false;
  }
  return true;
}

}  // namespace tunelark
