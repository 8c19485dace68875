#pragma once
// The byte stream QAudioSink pulls in pull mode: each read takes what the engine's buffer holds
// and pads the rest with silence, so the device never runs dry and drops into its idle state.

#include <QIODevice>
#include <atomic>
#include <cstdint>
#include <vector>

#include "player/engine/audio_sink.h"

namespace tunelark::module {

class SampleFeed : public QIODevice {
  Q_OBJECT

 public:
  SampleFeed(engine::SampleSource& source, int channels, QObject* parent = nullptr);

  bool isSequential() const override { return true; }
  // Always positive: an endless stream, so the device never drains it as finished.
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  engine::SampleSource& source_;
  int channels_;
  std::vector<std::int16_t> scratch_;  // the pull target, aligned for samples unlike `data`
};

}  // namespace tunelark::module
