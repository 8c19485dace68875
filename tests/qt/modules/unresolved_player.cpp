// A module needing a symbol no library provides, as when module and program come from different
// builds. Its factory would die at the first call of that symbol.
#include "player/module/player_module_api.h"

extern "C" tunelark::PlayerComponent* tunelark_symbol_nobody_defines(QWidget* parent);

extern "C" __attribute__((visibility("default"))) tunelark::PlayerComponent* tunelark_create_player(
    QWidget* parent) {
  return tunelark_symbol_nobody_defines(parent);
}
