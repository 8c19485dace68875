#pragma once
// Where the player stands in a list that was rewritten under it (sorted, shuffled, an entry
// removed or moved): the same clip in the new list, or, when it is gone, the place of the entry
// that followed it.

#include <vector>

#include "player/engine/clip.h"

namespace tunelark::engine {

struct NewPlace {
  int clip = 0;       // index in the new list
  bool kept = false;  // the clip itself is listed there; else `clip` is what followed it
};

// Clip `at` of `before`, looked for in `after` by what it plays (kind and location). A clip
// listed several times is matched to the same occurrence, counted from the top. When it is gone,
// the first clip after it in `before` that `after` still lists gives the place; with none,
// after.size().
NewPlace placeIn(const std::vector<Clip>& before, int at, const std::vector<Clip>& after);

}  // namespace tunelark::engine
