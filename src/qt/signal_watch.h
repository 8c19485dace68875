#pragma once
// Turns POSIX signals (SIGTERM for an orderly end, SIGUSR1 for test hooks) into calls on the
// UI thread, through a self-pipe watched by a QSocketNotifier: a signal handler may do nothing
// but write a byte.

#include <QObject>
#include <csignal>
#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace tunelark::qt {

class SignalWatch : public QObject {
 public:
  // Only one watch may exist at a time: the signal handler has a single pipe to write to.
  SignalWatch();
  ~SignalWatch() override;
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  // Installs a handler for `signo` that runs `onSignal` on the UI thread. False if the pipe
  // could not be made or another watch exists.
  bool watch(int signo, std::function<void()> onSignal);
  bool valid() const { return readFd_ >= 0; }

 private:
  void drain();

  int readFd_ = -1;
  int writeFd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  std::map<int, std::function<void()>> handlers_;
  std::map<int, struct sigaction> previous_;  // handlers to put back, by signal
};

}  // namespace tunelark::qt
