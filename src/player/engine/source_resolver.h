#pragma once
// Turns a source (one playlist line, or the path of a .ram file) into the clip list the player
// walks through. This is the step that reads files: the .ram text itself is parsed by
// parseRamText and each line by parseSourceLine.

#include <cstddef>
#include <string>
#include <vector>

#include "player/engine/clip.h"

namespace tunelark::engine {

struct ResolvedSource {
  std::vector<Clip> clips;
  std::string message;  // what was left out and why; "" when everything was taken
};

struct ResolveLimits {
  std::size_t maxClips = 10000;
  int maxDepth = 4;  // .ram files listed inside .ram files, counting the outermost as 1
  std::size_t maxFileBytes = 16u << 20;
  // All the playlist text read for one source, so that lists of lists cannot keep the UI busy.
  std::size_t maxTotalBytes = 64u << 20;
};

// A .ram file is one whose name ends in ".ram" or ".rpm" and whose bytes read as text; a
// binary clip under such a name is a clip. Relative entries resolve against the folder of the
// .ram that lists them; a relative source against `baseFolder`, the folder of the list the
// line was taken from (as given when it is empty). A .ram reached again while it is being
// expanded is left out.
ResolvedSource resolveSource(const std::string& source, const ResolveLimits& limits = {},
                             const std::string& baseFolder = {});

// The path of the local file `source` names, resolved as resolveSource() would; "" when it
// names no local file.
std::string localPathOf(const std::string& source, const std::string& baseFolder = {});

}  // namespace tunelark::engine
