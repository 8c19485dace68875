#pragma once
// A tiny HTTP server on 127.0.0.1 that serves one file, so a test can give the player a network
// clip (whose length the player cannot know before it has heard it all). It answers from the
// thread's event loop, so the test must keep that loop running.

#include <QByteArray>
#include <QTcpServer>
#include <string>

namespace tunelark::testing {

class ClipServer : public QObject {
 public:
  explicit ClipServer(const std::string& path);
  bool listening() const { return server_.isListening(); }
  // The address of the served file, e.g. "http://127.0.0.1:40123/clip.rm".
  std::string url(const std::string& name) const;

 private:
  void answer();

  QByteArray body_;
  QTcpServer server_;
};

}  // namespace tunelark::testing
