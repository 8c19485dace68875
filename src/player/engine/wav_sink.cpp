#include "player/engine/wav_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/write_all.h"

namespace tunelark::engine {
namespace {

static_assert(std::endian::native == std::endian::little,
              "WAV data is little-endian and is written as it lies in memory");

void put16(std::array<unsigned char, 44>& h, std::size_t at, std::uint32_t v) {
  h[at] = static_cast<unsigned char>(v & 0xff);
  h[at + 1] = static_cast<unsigned char>((v >> 8) & 0xff);
}

void put32(std::array<unsigned char, 44>& h, std::size_t at, std::uint32_t v) {
  put16(h, at, v & 0xffff);
  put16(h, at + 2, v >> 16);
}

}  // namespace

WavSink::WavSink(std::string path, AudioFormat format, Pacing pacing)
    : ThreadedSink(format, pacing), path_(std::move(path)) {}

WavSink::~WavSink() {
  stopThread();
  close();
}

bool WavSink::writeHeader(std::uint32_t dataBytes) {
  const auto fmt = format();
  const auto channels = static_cast<std::uint32_t>(fmt.channels);
  const auto rate = static_cast<std::uint32_t>(fmt.sampleRate);
  std::array<unsigned char, 44> h{};
  std::memcpy(&h[0], "RIFF", 4);
  put32(h, 4, 36 + dataBytes);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  put32(h, 16, 16);
  put16(h, 20, 1);  // PCM
  put16(h, 22, channels);
  put32(h, 24, rate);
  put32(h, 28, rate * channels * 2);
  put16(h, 32, channels * 2);
  put16(h, 34, 16);
  std::memcpy(&h[36], "data", 4);
  put32(h, 40, dataBytes);
  return ::lseek(fd_, 0, SEEK_SET) == 0 &&
         writeAll(fd_, {reinterpret_cast<const char*>(h.data()), h.size()}) == 0;
}

bool WavSink::open() {
  frames_ = 0;
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0 || !writeHeader(0)) {
    fail("cannot write " + path_ + ": " + std::strerror(errno));
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

bool WavSink::consume(const std::int16_t* samples, std::size_t frames) {
  const auto bytes = frames * static_cast<std::size_t>(format().channels) * 2;
  if (const int err = writeAll(fd_, {reinterpret_cast<const char*>(samples), bytes}); err != 0) {
    fail("cannot write " + path_ + ": " + std::strerror(err));
    return false;
  }
  frames_ += static_cast<std::int64_t>(frames);
  return true;
}

void WavSink::close() {
  if (fd_ < 0) return;
  const auto bytes =
      static_cast<std::uint64_t>(frames_) * static_cast<std::uint64_t>(format().channels) * 2;
  // A WAV header cannot say more than 4 GiB; a longer file keeps the largest size it can.
  writeHeader(static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, 0xffffffffu - 36)));
  ::close(fd_);
  fd_ = -1;
}

}  // namespace tunelark::engine
