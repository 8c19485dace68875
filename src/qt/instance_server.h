#pragma once
// The first start's side of the one-window rule: accepts later starts on the listening socket
// (see platform/instance_socket.h), reads the files each hands over, answers, and passes them on.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QByteArray;
class QSocketNotifier;

namespace tunelark::qt {

class InstanceServer : public QObject {
 public:
  using FilesHandler = std::function<void(const std::vector<std::string>& files)>;
  // Takes over `listenFd`; removes the socket at `socketPath` when destroyed.
  InstanceServer(int listenFd, std::string socketPath, FilesHandler onFiles);
  ~InstanceServer() override;

 private:
  void accept();
  void read(int fd, QSocketNotifier* notifier, QByteArray& bytes);

  int listenFd_;
  std::string socketPath_;
  FilesHandler onFiles_;
};

}  // namespace tunelark::qt
