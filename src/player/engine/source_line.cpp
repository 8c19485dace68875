#include "player/engine/source_line.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ascii.h"
#include "platform/path_parts.h"
#include "player/engine/ffmpeg_components.h"

namespace tunelark::engine {
namespace {

// What stands before the first colon, in lower case, when the line may name a protocol: FFmpeg
// also reads "name,option,value,...:" as a protocol, so anything before a colon that is not
// part of a path counts. A single letter is a drive, so "C:..." stays a path.
std::string schemeOf(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos || colon < 2) return {};
  if (!isAsciiLetter(line[0])) return {};
  const auto prefix = line.substr(0, colon);
  if (prefix.find('/') != std::string_view::npos) return {};
  std::string scheme;
  for (char c : prefix) scheme += asciiLower(c);
  return scheme;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = asciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string percentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int hi = hexValue(text[i + 1]);
      const int lo = hexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += text[i] == '+' ? ' ' : text[i];
  }
  return out;
}

// The parts of "a&b&c", empty ones included.
std::vector<std::string_view> ampersandParts(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    auto end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// "name=value&name=value": every part has a name and an equals sign. Only such a tail is taken
// as parameters, so a file whose name holds a '?' keeps its whole name.
bool isParameterList(std::string_view text) {
  if (text.empty() || text.find('?') != std::string_view::npos) return false;
  for (std::string_view part : ampersandParts(text)) {
    const auto eq = part.find('=');
    if (eq == std::string_view::npos || eq == 0) return false;
  }
  return true;
}

std::string titleParameter(std::string_view params) {
  for (std::string_view part : ampersandParts(params)) {
    const auto eq = part.find('=');
    if (eq != std::string_view::npos && percentDecode(part.substr(0, eq)) == "title")
      return percentDecode(part.substr(eq + 1));
  }
  return {};
}

Clip localClip(std::string_view path) {
  Clip clip;
  clip.kind = ClipKind::LocalFile;
  for (auto q = path.find('?'); q != std::string_view::npos; q = path.find('?', q + 1)) {
    if (isParameterList(path.substr(q + 1))) {
      clip.title = titleParameter(path.substr(q + 1));
      path = path.substr(0, q);
      break;
    }
  }
  clip.location = std::string(path);
  clip.relative = path.empty() || path.front() != '/';
  if (path.empty()) {
    clip.kind = ClipKind::Unplayable;
    clip.refusal = "no file named";
  }
  return clip;
}

Clip unplayable(std::string_view line, std::string reason) {
  Clip clip;
  clip.location = std::string(line);
  clip.refusal = std::move(reason);
  return clip;
}

}  // namespace

bool isAllowedNetworkScheme(std::string_view scheme) {
  // The same names the decoder's protocol whitelist is made of, so the two cannot disagree.
  std::string_view allowed = kNetworkProtocols;
  while (!allowed.empty()) {
    const auto comma = allowed.find(',');
    if (allowed.substr(0, comma) == scheme) return !scheme.empty();
    if (comma == std::string_view::npos) break;
    allowed.remove_prefix(comma + 1);
  }
  return false;
}

Clip parseSourceLine(std::string_view line) {
  line = trimLine(line);
  if (line.empty()) return unplayable(line, "empty line");
  if (startsWithNoCase(line, "file:")) {
    auto path = line.substr(5);
    // "file://localhost/a" and "file:///a" both name "/a"; "file:/a" is how our lists write it.
    if (startsWithNoCase(path, "//localhost/")) {
      path.remove_prefix(11);
    } else if (path.starts_with("///")) {
      path.remove_prefix(2);
    }
    return localClip(path);
  }
  const auto scheme = schemeOf(line);
  if (scheme.empty()) return localClip(line);
  if (scheme == "pnm") return unplayable(line, "pnm:// streams cannot be played");
  if (!isAllowedNetworkScheme(scheme)) {
    return unplayable(line, "the \"" + scheme + ":\" scheme is not allowed");
  }
  Clip clip;
  clip.kind = ClipKind::NetworkUrl;
  clip.location = std::string(line);
  return clip;
}

std::string Clip::displayName() const {
  if (kind != ClipKind::LocalFile) return location;
  return baseName(location);
}

}  // namespace tunelark::engine
