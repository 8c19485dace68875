// A module whose factory fails, as one would when its sound system cannot start.
#include "player/module/player_module_api.h"

extern "C" __attribute__((visibility("default"))) tunelark::PlayerComponent* tunelark_create_player(
    QWidget*) {
  return nullptr;
}
