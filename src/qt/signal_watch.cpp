#include "qt/signal_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace tunelark::qt {

namespace {

// The one process-wide value here: a signal handler cannot reach an object, so the write end
// of the active watch's pipe is published for it. -1 while no watch exists.
std::atomic<int> activeWriteFd{-1};

void onSignal(int signo) {
  const int saved = errno;
  const int fd = activeWriteFd.load();
  if (fd >= 0) {
    const unsigned char byte = static_cast<unsigned char>(signo);
    // A full pipe already holds a wake-up; losing this byte loses nothing but a duplicate.
    [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

SignalWatch::SignalWatch() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  int expected = -1;
  if (!activeWriteFd.compare_exchange_strong(expected, fds[1])) {
    ::close(fds[0]);
    ::close(fds[1]);
    return;
  }
  readFd_ = fds[0];
  writeFd_ = fds[1];
  notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
}

SignalWatch::~SignalWatch() {
  for (const auto& [signo, old] : previous_) ::sigaction(signo, &old, nullptr);
  if (writeFd_ >= 0) {
    activeWriteFd.store(-1);
    ::close(writeFd_);
    ::close(readFd_);
  }
}

bool SignalWatch::watch(int signo, std::function<void()> handler) {
  if (!valid()) return false;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  struct sigaction old;
  if (::sigaction(signo, &action, &old) != 0) return false;
  // Keep the handler that was there before this watch first took the signal.
  previous_.try_emplace(signo, old);
  handlers_[signo] = std::move(handler);
  return true;
}

void SignalWatch::drain() {
  unsigned char buf[64];
  ssize_t n;
  while ((n = ::read(readFd_, buf, sizeof buf)) > 0) {
    for (ssize_t i = 0; i < n; ++i) {
      auto it = handlers_.find(buf[i]);
      if (it != handlers_.end() && it->second) it->second();
    }
  }
}

}  // namespace tunelark::qt
