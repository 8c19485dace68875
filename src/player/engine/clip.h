#pragma once
// One entry of a source's clip list, as the parser understood it: a local file, a network URL,
// or something kept in the list only to be shown as unplayable.

#include <string>

namespace tunelark::engine {

enum class ClipKind { LocalFile, NetworkUrl, Unplayable };

struct Clip {
  ClipKind kind = ClipKind::Unplayable;
  std::string location;   // the file's path or the URL, bytes as written in the source
  std::string title;      // the "title" parameter of the line, "" when absent
  std::string refusal;    // why an Unplayable entry cannot be played
  bool relative = false;  // a LocalFile path still to be resolved against the list's folder

  // What the display calls the clip when it has no title: the file name, or the URL.
  std::string displayName() const;
  bool operator==(const Clip&) const = default;
};

}  // namespace tunelark::engine
