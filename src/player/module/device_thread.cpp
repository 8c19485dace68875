#include "player/module/device_thread.h"

#include <stdlib.h>

#include <QAbstractEventDispatcher>
#include <QAudioSink>
#include <chrono>
#include <future>

#include "player/module/sample_feed.h"

namespace tunelark::module {

namespace {

std::string describe(QAudio::Error error) {
  switch (error) {
    case QAudio::OpenError:
      return "The sound device could not be opened.";
    case QAudio::IOError:
      return "The sound device stopped taking sound.";
    case QAudio::FatalError:
      return "The sound server went away.";
    default:
      return "The sound device failed.";
  }
}

}  // namespace

DeviceThread::DeviceThread(const QAudioDevice& device, const QAudioFormat& format)
    : device_(device), format_(format) {
  setObjectName("tunelark-sound");
  start();
}

// Qt ends the process with exit() when its X server goes away (as at log-off), from inside the
// event loop: none of our destructors runs, and the exit handlers destroy Qt Multimedia's
// PulseAudio engine while this thread may still be topping up a device that uses it, every
// 100 ms; the next top-up then reads freed memory and the process dies by a signal. Exit
// handlers run in the reverse order of their registration, so one registered once the device
// has opened, when everything it uses exists, runs first and closes the device before any of
// that goes. The handler can outlive this object: it reaches the thread through a link that the
// destructor cuts, and it owns the link, which it deletes once it has run.
struct DeviceThread::ExitLink {
  std::mutex mutex;
  DeviceThread* thread = nullptr;  // guarded by mutex; null once the thread object is gone
};

void DeviceThread::finishAtExit(int /*status*/, void* link) {
  const std::unique_ptr<ExitLink> exitLink(static_cast<ExitLink*>(link));
  std::lock_guard lock(exitLink->mutex);
  if (!exitLink->thread) return;
  exitLink->thread->exitLink_ = nullptr;  // a destructor that still runs finds no link
  exitLink->thread->finish();
}

DeviceThread::~DeviceThread() {
  if (exitLink_) {
    std::lock_guard lock(exitLink_->mutex);
    exitLink_->thread = nullptr;
  }
  finish();
}

void DeviceThread::finish() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  wait();
}

void DeviceThread::call(const std::function<void()>& task) {
  std::promise<void> done;
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back([&] {
      task();
      done.set_value();
    });
  }
  wake_.notify_one();
  done.get_future().wait();
}

bool DeviceThread::startFeeding(engine::SampleSource& source) {
  bool opened = false;
  call([&] { opened = open(source); });
  if (opened && !exitLink_) {
    auto link = std::make_unique<ExitLink>();
    link->thread = this;
    if (::on_exit(&DeviceThread::finishAtExit, link.get()) == 0) exitLink_ = link.release();
  }
  return opened;
}

void DeviceThread::stopFeeding() {
  call([this] { close(); });
}

void DeviceThread::setPaused(bool paused) {
  call([this, paused] {
    paused_ = paused;
    if (!sink_) return;
    if (paused) {
      sink_->suspend();
    } else {
      sink_->resume();
      topUp();
    }
  });
}

void DeviceThread::setVolume(double volume) {
  call([this, volume] {
    volume_ = volume;
    if (sink_) sink_->setVolume(volume);
  });
}

std::string DeviceThread::error() const {
  std::lock_guard lock(errorMutex_);
  return error_;
}

void DeviceThread::setError(const std::string& why) {
  std::lock_guard lock(errorMutex_);
  error_ = why;
}

void DeviceThread::run() {
  using std::chrono::milliseconds;
  for (;;) {
    std::deque<std::function<void()>> todo;
    {
      std::unique_lock lock(mutex_);
      const auto ready = [this] { return quit_ || !tasks_.empty(); };
      if (sink_ && !paused_)
        wake_.wait_for(lock, milliseconds(kFeedMilliseconds), ready);
      else if (sink_)
        wake_.wait_for(lock, milliseconds(500), ready);  // still hear of a lost server
      else
        wake_.wait(lock, ready);  // nothing to feed: sleep until asked
      if (quit_) break;
      todo.swap(tasks_);
    }
    for (auto& task : todo) task();
    topUp();
    // Qt's own business for the device: its timer (at most once per wake-up) and queued
    // signals such as the sound server's loss.
    if (QAbstractEventDispatcher* dispatcher = eventDispatcher())
      dispatcher->processEvents(QEventLoop::AllEvents);
    if (closeNow_) close();
  }
  close();
  std::lock_guard lock(mutex_);
  for (auto& task : tasks_) task();  // let no caller wait forever
  tasks_.clear();
}

bool DeviceThread::open(engine::SampleSource& source) {
  close();
  lost_ = false;
  setError("");
  feed_ = std::make_unique<SampleFeed>(source, format_.channelCount());
  feed_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  sink_ = std::make_unique<QAudioSink>(device_, format_);
  sink_->setBufferSize(format_.bytesForDuration(kBufferMilliseconds * 1000));
  sink_->setVolume(volume_);
  output_ = sink_->start();
  if (!output_ || sink_->state() == QAudio::StoppedState || sink_->error() != QAudio::NoError) {
    setError(describe(sink_->error()));
    output_ = nullptr;
    sink_.reset();
    feed_.reset();
    return false;
  }
  // Connected only after a successful start, so the failures above are reported by the return
  // value alone and not a second time as a loss.
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                   [this] { onStateChanged(); });
  if (paused_)
    sink_->suspend();
  else
    topUp();
  return true;
}

void DeviceThread::close() {
  closeNow_ = false;
  if (!sink_) return;
  // Disconnect first: the device reports its own stop as a state change, which is no loss.
  sink_->disconnect();
  sink_->stop();
  output_ = nullptr;
  sink_.reset();
  feed_.reset();
}

void DeviceThread::topUp() {
  if (!sink_ || !output_ || paused_ || closeNow_) return;
  const qint64 frameBytes = format_.bytesPerFrame();
  qint64 room = sink_->bytesFree();
  room -= room % frameBytes;
  if (room <= 0) return;
  if (chunk_.size() < static_cast<std::size_t>(room)) chunk_.resize(static_cast<std::size_t>(room));
  const qint64 got = feed_->read(chunk_.data(), room);
  if (got > 0) output_->write(chunk_.data(), got);
}

void DeviceThread::onStateChanged() {
  const QAudio::Error error = sink_->error();
  if (sink_->state() != QAudio::StoppedState && error != QAudio::FatalError &&
      error != QAudio::IOError)
    return;
  // Stopped while we still hold it: the server died or the device vanished. It is closed once
  // its own signal has returned; the engine sees lost() on its next poll and stops.
  setError(describe(error));
  lost_ = true;
  closeNow_ = true;
}

}  // namespace tunelark::module
