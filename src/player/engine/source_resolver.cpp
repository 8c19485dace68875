#include "player/engine/source_resolver.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <set>

#include "platform/ascii.h"
#include "platform/path_parts.h"
#include "platform/regular_file.h"
#include "player/engine/source_line.h"
#include "playlist/ram_text.h"

namespace tunelark::engine {
namespace {

bool hasPlaylistName(const std::string& path) {
  return endsWithNoCase(path, ".ram") || endsWithNoCase(path, ".rpm");
}

struct FileText {
  std::string bytes;
  bool cut = false;  // the file holds more than was read
};

// The file's first `maxBytes` bytes when it is a regular file, cut back to whole lines: a line
// cut in two would name a clip that is not there.
std::optional<FileText> readListText(const std::string& path, std::size_t maxBytes) {
  RegularFileRead read = readRegularFile(path, maxBytes);
  if (read.status != RegularFileRead::Status::Ok) return std::nullopt;
  FileText text{std::move(read.bytes), read.cut};
  if (text.cut) {
    const auto lastLineEnd = text.bytes.find_last_of("\r\n");
    text.bytes.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
  }
  return text;
}

std::string canonical(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

class Expander {
 public:
  explicit Expander(const ResolveLimits& limits) : limits_(limits) {}

  // Adds `clip`, expanding it in place when it is a playlist file.
  void add(Clip clip, int depth) {
    if (full()) return;
    if (clip.kind == ClipKind::LocalFile && hasPlaylistName(clip.location)) {
      if (bytesRead_ >= limits_.maxTotalBytes) {
        note("playlists beyond " + std::to_string(limits_.maxTotalBytes >> 20) +
             " MiB of text were left out");
        return;
      }
      const auto budget = std::min(limits_.maxFileBytes, limits_.maxTotalBytes - bytesRead_);
      if (auto text = readListText(clip.location, budget); text && looksLikeText(text->bytes)) {
        bytesRead_ += text->bytes.size();
        if (text->cut) note(clip.displayName() + " was read only in part");
        // Whatever is read counts against the budget, even a part that holds no whole line.
        if (text->cut && text->bytes.empty()) bytesRead_ = limits_.maxTotalBytes;
        expand(clip.location, text->bytes, depth + 1);
        return;
      }
    }
    result_.clips.push_back(std::move(clip));
  }

  ResolvedSource take() { return std::move(result_); }

 private:
  bool full() {
    if (result_.clips.size() < limits_.maxClips) return false;
    truncated_ = true;
    return true;
  }

  void note(const std::string& text) {
    if (result_.message.find(text) != std::string::npos) return;
    if (!result_.message.empty()) result_.message += "; ";
    result_.message += text;
  }

  void expand(const std::string& path, const std::string& text, int depth) {
    const auto name = Clip{ClipKind::LocalFile, path, {}, {}, false}.displayName();
    if (depth > limits_.maxDepth) {
      note("playlists nested too deeply were left out (" + name + ")");
      return;
    }
    const auto key = canonical(path);
    if (!open_.insert(key).second) {
      note("a playlist that lists itself was left out (" + name + ")");
      return;
    }
    const auto entries = parseRamText(text, limits_.maxClips);
    const auto folder = folderOf(path);
    for (const auto& line : entries.lines) {
      if (full()) break;
      auto clip = parseSourceLine(line);
      if (clip.kind == ClipKind::LocalFile && clip.relative) {
        clip.location = folder + "/" + clip.location;
        clip.relative = false;
      }
      add(std::move(clip), depth);
    }
    if (entries.truncated) truncated_ = true;
    open_.erase(key);
    if (truncated_) {
      note("only the first " + std::to_string(limits_.maxClips) + " clips are played");
    }
  }

  const ResolveLimits& limits_;
  ResolvedSource result_;
  std::set<std::string> open_;  // playlists being expanded, to break cycles
  std::size_t bytesRead_ = 0;
  bool truncated_ = false;
};

}  // namespace

namespace {

Clip sourceClip(const std::string& source, const std::string& baseFolder) {
  auto clip = parseSourceLine(source);
  if (clip.kind == ClipKind::LocalFile && clip.relative && !baseFolder.empty()) {
    clip.location = baseFolder + "/" + clip.location;
    clip.relative = false;
  }
  return clip;
}

}  // namespace

ResolvedSource resolveSource(const std::string& source, const ResolveLimits& limits,
                             const std::string& baseFolder) {
  if (trimLine(source).empty()) return {};
  Expander expander(limits);
  expander.add(sourceClip(source, baseFolder), 0);
  return expander.take();
}

std::string localPathOf(const std::string& source, const std::string& baseFolder) {
  if (trimLine(source).empty()) return {};
  const auto clip = sourceClip(source, baseFolder);
  return clip.kind == ClipKind::LocalFile ? clip.location : std::string();
}

}  // namespace tunelark::engine
