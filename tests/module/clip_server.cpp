#include "clip_server.h"

#include <QFile>
#include <QTcpSocket>

namespace tunelark::testing {

ClipServer::ClipServer(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (file.open(QIODevice::ReadOnly)) body_ = file.readAll();
  connect(&server_, &QTcpServer::newConnection, this, &ClipServer::answer);
  server_.listen(QHostAddress::LocalHost);
}

std::string ClipServer::url(const std::string& name) const {
  return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/" + name;
}

void ClipServer::answer() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    // Whatever was asked (ffmpeg may ask for a range), the whole file is the answer; an answer
    // without Accept-Ranges tells the client it cannot seek.
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
      if (!socket->readAll().contains("\r\n\r\n")) return;
      socket->write(
          "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
          QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n");
      socket->write(body_);
      socket->disconnectFromHost();
    });
  }
}

}  // namespace tunelark::testing
