#include "platform/instance_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

namespace tunelark {

namespace {

constexpr std::string_view kMagic{"tunelark-files-1\0", 17};
constexpr int kAnswerWaitMs = 10000;

// Closes a descriptor when it goes out of scope, unless released.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  int release() { return std::exchange(fd, -1); }
};

bool addressOf(const std::string& path, sockaddr_un& addr) {
  addr = {};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Sends the files and waits for the answer; false when the listener did not take them.
bool sendFiles(int fd, const std::vector<std::string>& files) {
  const std::string message = handOffMessage(files);
  for (std::size_t sent = 0; sent < message.size();) {
    const ssize_t n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  ::shutdown(fd, SHUT_WR);
  std::string answer;
  char buf[64];
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, kAnswerWaitMs) > 0) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    answer.append(buf, static_cast<std::size_t>(n));
  }
  return answer == kHandOffTaken;
}

}  // namespace

std::string instanceSocketPath(const std::string& settingsFolder, const char* runtimeDir) {
  if (!runtimeDir || runtimeDir[0] != '/') return {};
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const unsigned char c : settingsFolder) hash = (hash ^ c) * 1099511628211ULL;
  char name[64];
  std::snprintf(name, sizeof name, "/tunelark-%016llx.sock", static_cast<unsigned long long>(hash));
  return runtimeDir + std::string(name);
}

InstanceClaim claimOrHandOff(const std::string& socketPath, const std::vector<std::string>& files) {
  InstanceClaim claim;
  sockaddr_un addr{};
  if (!addressOf(socketPath, addr)) {
    claim.failure = "the socket path is too long: " + socketPath;
    return claim;
  }
  Fd lock{::open((socketPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)};
  if (lock.fd < 0 || ::flock(lock.fd, LOCK_EX) != 0) {
    claim.failure = "cannot lock " + socketPath + ".lock: " + std::strerror(errno);
    return claim;
  }
  Fd client{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  if (client.fd >= 0 &&
      ::connect(client.fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
    claim.handedOff = sendFiles(client.fd, files);
    if (claim.handedOff) return claim;
    // A window on its way out, or one hung for good: this start takes its place.
  }
  // Nobody listens: whatever is left there is a killed program's socket.
  ::unlink(socketPath.c_str());
  Fd server{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
  if (server.fd < 0 || ::bind(server.fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) ||
      ::listen(server.fd, 8)) {
    claim.failure = "cannot listen on " + socketPath + ": " + std::strerror(errno);
    return claim;
  }
  ::chmod(socketPath.c_str(), 0600);
  claim.listenFd = server.release();
  return claim;
}

std::string handOffMessage(const std::vector<std::string>& files) {
  std::string message(kMagic);
  for (const auto& file : files) message.append(file).push_back('\0');
  return message;
}

std::optional<std::vector<std::string>> readHandOff(std::string_view message) {
  if (!message.starts_with(kMagic) || (message.size() > kMagic.size() && message.back() != '\0'))
    return std::nullopt;
  std::vector<std::string> files;
  message.remove_prefix(kMagic.size());
  while (!message.empty()) {
    const auto end = message.find('\0');
    files.emplace_back(message.substr(0, end));
    message.remove_prefix(end + 1);
  }
  return files;
}

}  // namespace tunelark
