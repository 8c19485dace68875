#include "player/engine/clip_decoder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libswresample/swresample.h>
}

#include "player/engine/local_file_io.h"

namespace tunelark::engine {
namespace {

// Samples at the stream's own rate in `packet`: what the codec's frame layout says a packet of
// that size holds, else the demuxer's duration for it; 0 when neither says.
std::int64_t packetSamples(const AVStream& stream, const AVPacket& packet) {
  const int rate = stream.codecpar->sample_rate;
  std::int64_t held = av_get_audio_frame_duration2(stream.codecpar, packet.size);
  if (held <= 0 && packet.duration > 0 && rate > 0)
    held = av_rescale_q(packet.duration, stream.time_base, AVRational{1, rate});
  return std::max<std::int64_t>(held, 0);
}

// A clip whose packets keep failing is broken beyond what skipping a packet can mend.
constexpr int kMaxBadPacketsInARow = 50;

std::string describe(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// RealMedia files announce themselves in their first four bytes. Naming the demuxer for them
// spares FFmpeg's content probe, which asks every demuxer it has in turn and so pulls pages of
// many libraries into memory for nothing. Anything else is probed, within the whitelist.
const AVInputFormat* realMediaFormat(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  char magic[4] = {};
  const bool read = ::read(fd, magic, sizeof magic) == static_cast<ssize_t>(sizeof magic);
  ::close(fd);
  if (read && (std::memcmp(magic, ".RMF", 4) == 0 || std::memcmp(magic, ".ra\xfd", 4) == 0))
    return av_find_input_format("rm");
  return nullptr;
}

// The most and the least a clip may claim: beyond these no real recording goes. A tiny crafted
// header claiming a rate of a gigahertz, or of one hertz (each frame then resampled into tens of
// millions), would have the resampler allocate gigabytes.
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;
constexpr int kMaxChannels = 64;
constexpr const char* kImpossibleAudio =
    "its sound has a sample rate or channel count no recording has";

// A rate of 0 is one the container does not know; the decoded frames will tell.
bool saneAudio(int rate, int channels) {
  return (rate == 0 || (rate >= kMinSampleRate && rate <= kMaxSampleRate)) && channels >= 0 &&
         channels <= kMaxChannels;
}

bool audioParametersKnown(const AVFormatContext* format) {
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters* p = format->streams[i]->codecpar;
    if (p->codec_type == AVMEDIA_TYPE_AUDIO && p->codec_id != AV_CODEC_ID_NONE &&
        p->sample_rate > 0 && p->ch_layout.nb_channels > 0)
      return true;
  }
  return false;
}

}  // namespace

struct ClipDecoder::Ffmpeg {
  std::optional<LocalFileIo> io;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* resampler = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool packetPending = false;  // a packet the decoder refused with EAGAIN, to send again
  int stream = -1;
  AVChannelLayout resamplerLayout{};
  int resamplerFormat = -1;
  int resamplerRate = 0;

  ~Ffmpeg() {
    swr_free(&resampler);
    av_channel_layout_uninit(&resamplerLayout);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    av_packet_free(&packet);
    av_frame_free(&frame);
  }
};

ClipDecoder::ClipDecoder(AudioFormat format, DecoderLimits limits)
    : format_(format), limits_(std::move(limits)), ff_(std::make_unique<Ffmpeg>()) {}

ClipDecoder::~ClipDecoder() = default;

std::unique_ptr<ClipDecoder> ClipDecoder::open(const Clip& clip, AudioFormat format,
                                               DecoderLimits limits, std::string& error) {
  if (clip.kind == ClipKind::Unplayable) {
    error = clip.refusal;
    return nullptr;
  }
  std::unique_ptr<ClipDecoder> decoder(new ClipDecoder(format, std::move(limits)));
  if (!decoder->ff_->packet || !decoder->ff_->frame) {
    error = "out of memory";
    return nullptr;
  }
  if (!decoder->openInput(clip, error) || !decoder->openCodec(error)) return nullptr;
  return decoder;
}

int ClipDecoder::interrupted(void* self) {
  const auto* decoder = static_cast<const ClipDecoder*>(self);
  if (decoder->limits_.cancelled && decoder->limits_.cancelled()) return 1;
  return decoder->network_ && std::chrono::steady_clock::now() > decoder->deadline_ ? 1 : 0;
}

bool ClipDecoder::openInput(const Clip& clip, std::string& error) {
  auto& ff = *ff_;
  ff.format = avformat_alloc_context();
  if (!ff.format) {
    error = "out of memory";
    return false;
  }
  network_ = clip.kind == ClipKind::NetworkUrl;
  ff.format->interrupt_callback = AVIOInterruptCB{&ClipDecoder::interrupted, this};
  // FFmpeg guesses the format from the content, whatever the name says; both lists are what
  // keeps a clip that is really a playlist or a pointer to other files from being followed.
  ff.format->protocol_whitelist = av_strdup(network_ ? kNetworkProtocols : kLocalProtocols);
  ff.format->format_whitelist = av_strdup(network_ ? kNetworkFormats : kClipFormats);
  std::string url = clip.location;
  if (!network_) {
    ff.io.emplace(clip.location);
    if (!ff.io->context()) {
      error = ff.io->error();
      return false;
    }
    ff.format->pb = ff.io->context();
    ff.format->flags |= AVFMT_FLAG_CUSTOM_IO;
    url = "file:" + clip.location;
  }
  deadline_ = std::chrono::steady_clock::now() + limits_.networkTimeout;
  const AVInputFormat* known = network_ ? nullptr : realMediaFormat(clip.location);
  int ret = avformat_open_input(&ff.format, url.c_str(), known, nullptr);
  if (ret < 0) {
    // avformat_open_input frees the context on failure.
    ff.format = nullptr;
    if (ret == AVERROR_EXIT) {
      error = network_ ? "the server did not answer in time" : "cancelled";
    } else if (ret == AVERROR_INVALIDDATA || ret == AVERROR(EINVAL)) {
      // EINVAL is how FFmpeg refuses a format that the whitelist leaves out.
      error = "not a clip format that can be played";
    } else {
      error = describe(ret);
    }
    return false;
  }
  // A RealMedia header already names each stream's codec, rate and channels. Reading ahead
  // for stream parameters would only look the codec up among all of FFmpeg's and decode a few
  // frames, pulling megabytes of the codec library into memory for nothing.
  if (!known || !audioParametersKnown(ff.format)) {
    deadline_ = std::chrono::steady_clock::now() + limits_.networkTimeout;
    ret = avformat_find_stream_info(ff.format, nullptr);
    if (ret < 0) {
      error = ret == AVERROR_EXIT ? "the server did not answer in time" : describe(ret);
      return false;
    }
  }
  ff.stream = av_find_best_stream(ff.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (ff.stream < 0) {
    error = "holds no sound";
    return false;
  }
  for (unsigned i = 0; i < ff.format->nb_streams; ++i) {
    if (static_cast<int>(i) != ff.stream) ff.format->streams[i]->discard = AVDISCARD_ALL;
  }
  return true;
}

bool ClipDecoder::openCodec(std::string& error) {
  auto& ff = *ff_;
  const AVStream* stream = ff.format->streams[ff.stream];
  if (!saneAudio(stream->codecpar->sample_rate, stream->codecpar->ch_layout.nb_channels)) {
    error = kImpossibleAudio;
    return false;
  }
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) {
    error = "no decoder for its sound";
    return false;
  }
  ff.codec = avcodec_alloc_context3(codec);
  if (!ff.codec || avcodec_parameters_to_context(ff.codec, stream->codecpar) < 0) {
    error = "out of memory";
    return false;
  }
  ff.codec->pkt_timebase = stream->time_base;
  // The worker is one thread per player; a decoder's own threads would only add wake-ups.
  ff.codec->thread_count = 1;
  const int ret = avcodec_open2(ff.codec, codec, nullptr);
  if (ret < 0) {
    error = "its sound cannot be decoded (" + describe(ret) + ")";
    return false;
  }
  return true;
}

std::string ClipDecoder::metadataTitle() const {
  const auto* entry = av_dict_get(ff_->format->metadata, "title", nullptr, 0);
  if (!entry && ff_->stream >= 0) {
    entry = av_dict_get(ff_->format->streams[ff_->stream]->metadata, "title", nullptr, 0);
  }
  return entry && entry->value ? entry->value : "";
}

bool ClipDecoder::convert(std::vector<std::int16_t>& out, bool drainResampler) {
  auto& ff = *ff_;
  AVFrame* frame = ff.frame;
  if (!drainResampler) {
    AVChannelLayout layout{};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels == 0) {
      av_channel_layout_default(&layout, std::max(1, frame->ch_layout.nb_channels));
    } else if (av_channel_layout_copy(&layout, &frame->ch_layout) < 0) {
      return false;
    }
    const bool same = ff.resampler && ff.resamplerFormat == frame->format &&
                      ff.resamplerRate == frame->sample_rate &&
                      av_channel_layout_compare(&layout, &ff.resamplerLayout) == 0;
    if (!same && (frame->sample_rate == 0 || !saneAudio(frame->sample_rate, layout.nb_channels))) {
      av_channel_layout_uninit(&layout);
      error_ = kImpossibleAudio;
      return false;
    }
    if (!same) {
      swr_free(&ff.resampler);
      av_channel_layout_uninit(&ff.resamplerLayout);
      AVChannelLayout outLayout{};
      av_channel_layout_default(&outLayout, format_.channels);
      const int ret = swr_alloc_set_opts2(
          &ff.resampler, &outLayout, AV_SAMPLE_FMT_S16, format_.sampleRate, &layout,
          static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
      av_channel_layout_uninit(&outLayout);
      if (ret < 0 || swr_init(ff.resampler) < 0) {
        av_channel_layout_uninit(&layout);
        error_ = "its sound cannot be converted";
        return false;
      }
      ff.resamplerLayout = layout;
      ff.resamplerFormat = frame->format;
      ff.resamplerRate = frame->sample_rate;
    } else {
      av_channel_layout_uninit(&layout);
    }
  }
  if (!ff.resampler) return true;
  const int inFrames = drainResampler ? 0 : frame->nb_samples;
  const int room = swr_get_out_samples(ff.resampler, inFrames);
  if (room <= 0) return true;
  const auto channels = static_cast<std::size_t>(format_.channels);
  const auto before = out.size();
  out.resize(before + static_cast<std::size_t>(room) * channels);
  auto* target = reinterpret_cast<std::uint8_t*>(out.data() + before);
  const int made = swr_convert(
      ff.resampler, &target, room,
      drainResampler ? nullptr : const_cast<const std::uint8_t**>(frame->extended_data), inFrames);
  out.resize(before + static_cast<std::size_t>(std::max(0, made)) * channels);
  return made >= 0;
}

bool ClipDecoder::nextFrame() {
  auto& ff = *ff_;
  while (!inputDone_) {
    int ret = avcodec_receive_frame(ff.codec, ff.frame);
    if (ret == 0) return true;
    if (ret == AVERROR_EOF) {
      inputDone_ = true;
      reachedEnd_ = true;
      break;
    }
    if (ret != AVERROR(EAGAIN)) {
      if (++badPackets_ > kMaxBadPacketsInARow) {
        error_ = "decoding failed (" + describe(ret) + ")";
        inputDone_ = true;
      }
      continue;
    }
    // The decoder wants input.
    if (!ff.packetPending) {
      if (inputEnded_) {
        // Only reached if a decoder keeps asking after the flush; nothing more will come.
        inputDone_ = true;
        break;
      }
      deadline_ = std::chrono::steady_clock::now() + limits_.networkTimeout;
      ret = av_read_frame(ff.format, ff.packet);
      if (ret == AVERROR(EAGAIN)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      if (ret < 0) {
        if (ret == AVERROR_EXIT) {
          error_ = network_ ? "the server stopped sending" : "cancelled";
        } else if (ret != AVERROR_EOF && !(ff.format->pb && avio_feof(ff.format->pb))) {
          error_ = "reading failed (" + describe(ret) + ")";
        }
        if (ret == AVERROR_EXIT) {
          inputDone_ = true;
          break;
        }
        inputEnded_ = true;
        avcodec_send_packet(ff.codec, nullptr);  // flush: the decoder hands out what it holds
        continue;
      }
      if (ff.packet->stream_index != ff.stream) {
        av_packet_unref(ff.packet);
        continue;
      }
    }
    ret = avcodec_send_packet(ff.codec, ff.packet);
    if (ret == AVERROR(EAGAIN)) {
      ff.packetPending = true;
      continue;
    }
    ff.packetPending = false;
    av_packet_unref(ff.packet);
    if (ret < 0) {
      // A damaged packet costs its few milliseconds of sound, not the clip.
      if (++badPackets_ > kMaxBadPacketsInARow) {
        error_ = "its sound is damaged (" + describe(ret) + ")";
        inputDone_ = true;
      }
    } else {
      badPackets_ = 0;
    }
  }
  return false;
}

bool ClipDecoder::decode(std::vector<std::int16_t>& out) {
  out.clear();
  while (out.empty() && !finished_) {
    if (nextFrame()) {
      const bool ok = convert(out, false);
      av_frame_unref(ff_->frame);
      if (!ok) finished_ = true;
    } else {
      // The resampler holds the last few frames of its filter; they belong to this clip.
      if (reachedEnd_) convert(out, true);
      finished_ = true;
    }
  }
  return !out.empty();
}

std::int64_t ClipDecoder::skipPackets(std::int64_t frames) {
  auto& ff = *ff_;
  const AVStream* stream = ff.format->streams[ff.stream];
  const int rate = stream->codecpar->sample_rate;
  if (rate <= 0 || frames <= 0 || ff.packetPending) return 0;
  const std::int64_t target = av_rescale(frames, rate, format_.sampleRate);
  std::int64_t skipped = 0;
  while (!(limits_.cancelled && limits_.cancelled())) {
    deadline_ = std::chrono::steady_clock::now() + limits_.networkTimeout;
    // At the end or on an error, decoding reads again and meets the same outcome.
    if (av_read_frame(ff.format, ff.packet) < 0) break;
    if (ff.packet->stream_index != ff.stream) {
      av_packet_unref(ff.packet);
      continue;
    }
    const std::int64_t held = packetSamples(*stream, *ff.packet);
    if (held <= 0 || skipped + held > target) {
      ff.packetPending = true;  // decoding starts with this packet
      break;
    }
    skipped += held;
    av_packet_unref(ff.packet);
  }
  return av_rescale(skipped, format_.sampleRate, rate);
}

std::optional<std::int64_t> ClipDecoder::countByPackets() {
  auto& ff = *ff_;
  const AVStream* stream = ff.format->streams[ff.stream];
  const int rate = stream->codecpar->sample_rate;
  if (rate <= 0) return std::nullopt;
  std::int64_t samples = 0;
  finished_ = true;  // the packets read here are not decoded afterwards
  for (;;) {
    if (limits_.cancelled && limits_.cancelled()) return std::nullopt;
    const int ret = av_read_frame(ff.format, ff.packet);
    if (ret == AVERROR_EOF) break;
    if (ret < 0) return std::nullopt;
    if (ff.packet->stream_index == ff.stream) {
      // A packet that says nothing of its length leaves the count to decoding.
      const std::int64_t held = packetSamples(*stream, *ff.packet);
      if (held <= 0) {
        av_packet_unref(ff.packet);
        return std::nullopt;
      }
      samples += held;
    }
    av_packet_unref(ff.packet);
  }
  return av_rescale(samples, format_.sampleRate, rate);
}

std::optional<std::int64_t> ClipDecoder::countRemaining() {
  double frames = 0;
  while (!finished_ && nextFrame()) {
    if (limits_.cancelled && limits_.cancelled()) {
      av_frame_unref(ff_->frame);
      finished_ = true;
      return std::nullopt;
    }
    const AVFrame* frame = ff_->frame;
    if (frame->sample_rate > 0) {
      frames += static_cast<double>(frame->nb_samples) * format_.sampleRate / frame->sample_rate;
    }
    av_frame_unref(ff_->frame);
  }
  finished_ = true;
  if (!reachedEnd_) return std::nullopt;
  return static_cast<std::int64_t>(std::llround(frames));
}

}  // namespace tunelark::engine
