#include "player/engine/source_resolver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <optional>
#include <set>

#include "player/engine/ram_text.h"
#include "player/engine/source_line.h"

namespace tunelark::engine {
namespace {

bool hasPlaylistName(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".ram" || ext == ".rpm";
}

// The file's bytes when it is a regular file; O_NONBLOCK keeps a FIFO under a playlist's name
// from blocking the open, and fstat on the open descriptor leaves no window for a swap.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < maxBytes) {
    const auto n = ::read(fd, chunk, sizeof chunk);
    if (n <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (bytes.size() > maxBytes) bytes.resize(maxBytes);
  return bytes;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
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
      if (auto text = readRegularFile(clip.location, limits_.maxFileBytes);
          text && looksLikeText(*text)) {
        expand(clip.location, *text, depth + 1);
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
  bool truncated_ = false;
};

}  // namespace

ResolvedSource resolveSource(const std::string& source, const ResolveLimits& limits) {
  if (trimLine(source).empty()) return {};
  Expander expander(limits);
  expander.add(parseSourceLine(source), 0);
  return expander.take();
}

}  // namespace tunelark::engine
