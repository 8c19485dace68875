#include "sound_check.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "support/tone_power.h"

namespace tunelark::testing {

namespace {

std::string testSink() {
  const char* sink = std::getenv("TUNELARK_TEST_SINK");
  return sink ? sink : "";
}

// The frequency (whole hertz, from `low` to `high`) with the most energy in `samples`: one
// Goertzel filter per hertz.
int strongestFrequency(const std::vector<std::int16_t>& samples, int rate, int low, int high) {
  int best = low;
  double bestPower = -1;
  for (int f = low; f <= high; ++f) {
    const double power = tonePower(samples, f, rate);
    if (power > bestPower) {
      bestPower = power;
      best = f;
    }
  }
  return best;
}

}  // namespace

std::string makeTone(const std::string& path, int hertz, int seconds) {
  QProcess ffmpeg;
  ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                          QString("sine=frequency=%1:duration=%2").arg(hertz).arg(seconds), "-ar",
                          "8000", "-ac", "1", "-c:a", "real_144", QString::fromStdString(path)});
  const bool made = ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
                    ffmpeg.exitCode() == 0;
  EXPECT_TRUE(made) << "ffmpeg could not make " << path;
  return path;
}

std::string soundUnavailableReason() {
  if (!std::getenv("DISPLAY")) return "no X display (run under scripts/test-env)";
  if (!std::getenv("PULSE_SERVER") || testSink().empty())
    return "no PulseAudio test sink (run under scripts/test-env)";
  return "";
}

MonitorRecording::MonitorRecording() : parec_(std::make_unique<QProcess>()) {
  // With its default latency parec holds seconds of sound and loses them when told to stop.
  parec_->start("parec",
                {"--latency-msec=50", "-d", QString::fromStdString(testSink() + ".monitor"),
                 "--format=s16le", "--rate=" + QString::number(kRate), "--channels=1"});
  // What parec hears before it is ready is dropped: the recording holds what the test caused.
  if (!parec_->waitForStarted(5000)) return;
  pumpEvents(8000, [this] { return parec_->bytesAvailable() > 0; });
  ready_ = parec_->bytesAvailable() > 0;
  parec_->readAllStandardOutput();
}

MonitorRecording::~MonitorRecording() {
  parec_->kill();
  parec_->waitForFinished(5000);
}

bool MonitorRecording::started() const { return ready_ && parec_->state() == QProcess::Running; }

std::vector<std::int16_t> MonitorRecording::finish() {
  parec_->terminate();
  parec_->waitForFinished(5000);
  const QByteArray bytes = parec_->readAllStandardOutput();
  std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes.size()) / 2);
  std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
  return samples;
}

void pumpEvents(int ms, const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    if (done && done()) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

double rms(const std::vector<std::int16_t>& samples) {
  if (samples.empty()) return 0;
  double sum = 0;
  for (const std::int16_t s : samples) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

void expectHeardTone(const std::vector<std::int16_t>& heard, int hertz) {
  EXPECT_GT(heard.size(), MonitorRecording::kRate / 2u) << "too little was recorded";
  EXPECT_GT(rms(heard), 1000) << "the sound server's monitor stayed silent";
  EXPECT_NEAR(strongestFrequency(heard, MonitorRecording::kRate, 100, 2000), hertz, 5);
}

}  // namespace tunelark::testing
