#include "player/engine/list_change.h"

#include <cstddef>

namespace tunelark::engine {
namespace {

bool samePlay(const Clip& a, const Clip& b) { return a.kind == b.kind && a.location == b.location; }

// The index in `after` of the occurrence of before[at] that has as many equal clips above it as
// it has in `before` (the last one when `after` lists it less often), or -1.
int match(const std::vector<Clip>& before, std::size_t at, const std::vector<Clip>& after) {
  int above = 0;
  for (std::size_t i = 0; i < at; ++i) above += samePlay(before[i], before[at]);
  int found = -1;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (!samePlay(after[i], before[at])) continue;
    found = static_cast<int>(i);
    if (above-- == 0) break;
  }
  return found;
}

}  // namespace

NewPlace placeIn(const std::vector<Clip>& before, int at, const std::vector<Clip>& after) {
  if (at < 0 || static_cast<std::size_t>(at) >= before.size()) return {0, false};
  if (const int same = match(before, static_cast<std::size_t>(at), after); same >= 0)
    return {same, true};
  for (auto next = static_cast<std::size_t>(at) + 1; next < before.size(); ++next)
    if (const int followed = match(before, next, after); followed >= 0) return {followed, false};
  return {static_cast<int>(after.size()), false};
}

}  // namespace tunelark::engine
