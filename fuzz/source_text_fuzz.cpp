// Fuzz target: the text of a .ram playlist and each of its lines as a source. Every input must
// come back as entries and clips without a crash, and what comes back must hold together.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "player/engine/clip.h"
#include "player/engine/source_line.h"
#include "playlist/ram_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tunelark;
  using namespace tunelark::engine;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  looksLikeText(text);
  const auto entries = parseRamText(text, 64);
  if (entries.lines.size() > 64) std::abort();
  for (const auto& line : entries.lines) {
    if (line.empty() || line.front() == '#') std::abort();
    const auto clip = parseSourceLine(line);
    if (clip.kind == ClipKind::Unplayable && clip.refusal.empty()) std::abort();
    if (clip.kind == ClipKind::NetworkUrl) {
      const auto scheme = clip.location.substr(0, clip.location.find(':'));
      std::string lower;
      for (char c : scheme) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
      if (!isAllowedNetworkScheme(lower)) std::abort();
    }
    if (clip.kind == ClipKind::LocalFile && clip.location.empty()) std::abort();
    clip.displayName();
  }
  parseSourceLine(text);
  return 0;
}
