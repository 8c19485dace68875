// The module's one exported symbol. Everything else is built with hidden visibility, so the
// window can reach the player only through this factory.

#include <exception>
#include <string_view>

#include "player/module/hosted_player.h"
#include "player/module/player_module_api.h"

static_assert(std::string_view(TUNELARK_PLAYER_FACTORY) == "tunelark_create_player",
              "the exported name must be the one the window looks up");

extern "C" __attribute__((visibility("default"))) tunelark::PlayerComponent* tunelark_create_player(
    QWidget* parent) {
  // An exception must not cross into the window, which may have been built differently.
  try {
    return new tunelark::module::HostedPlayer(tunelark::module::makeOutputSink(), parent);
  } catch (const std::exception&) {
    return nullptr;
  } catch (...) {
    return nullptr;
  }
}

// Checked against the window's pointer type, so a change on either side fails the build.
[[maybe_unused]] static constexpr TunelarkCreatePlayerFn kFactoryMatches = &tunelark_create_player;
