#include "qt/instance_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <memory>

#include "platform/instance_socket.h"

namespace tunelark::qt {

namespace {

constexpr std::size_t kMostBytes = 4 << 20;  // far more than any command line

}  // namespace

InstanceServer::InstanceServer(int listenFd, std::string socketPath, FilesHandler onFiles)
    : listenFd_(listenFd), socketPath_(std::move(socketPath)), onFiles_(std::move(onFiles)) {
  auto* notifier = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] { accept(); });
}

InstanceServer::~InstanceServer() {
  ::close(listenFd_);
  ::unlink(socketPath_.c_str());
}

void InstanceServer::accept() {
  for (;;) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    // Only the same user may hand us files (the runtime folder is private anyway).
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::getuid()) {
      ::close(fd);
      continue;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    auto bytes = std::make_shared<QByteArray>();
    connect(notifier, &QSocketNotifier::activated, this,
            [this, fd, notifier, bytes] { read(fd, notifier, *bytes); });
  }
}

void InstanceServer::read(int fd, QSocketNotifier* notifier, QByteArray& bytes) {
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) bytes.append(buf, n);
  const bool ended = n == 0 || (errno != EAGAIN && errno != EINTR);
  if (!ended && static_cast<std::size_t>(bytes.size()) <= kMostBytes) return;
  notifier->setEnabled(false);
  notifier->deleteLater();
  auto files =
      n == 0 ? readHandOff(std::string_view(bytes.constData(), bytes.size())) : std::nullopt;
  if (files) ::send(fd, kHandOffTaken.data(), kHandOffTaken.size(), MSG_NOSIGNAL);
  ::close(fd);
  // The later start has its answer and ends; the files are taken on the next turn of the loop,
  // where a message box about them cannot hold up this socket.
  if (files) QTimer::singleShot(0, this, [this, list = std::move(*files)] { onFiles_(list); });
}

}  // namespace tunelark::qt
