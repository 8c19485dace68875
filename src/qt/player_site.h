#pragma once
// Where the player component sits in the window: the RealAudio1 box. The component comes from
// a module loaded after the first frame; until it is there, or when it cannot be loaded, the box
// stays usable and says so, and the window works without it.

#include <QString>
#include <memory>

#include "qt/model_view.h"

class QLabel;

namespace tunelark {
class ControlSite;
class PlayerComponent;
}  // namespace tunelark

namespace tunelark::qt {

inline constexpr const char* kPlayerModuleFile = "libtunelark_player.so";
inline constexpr const char* kPlayerNotLoaded = "The player could not be loaded";

class PlayerSite : public ModelView {
 public:
  PlayerSite(ControlSite& site, QWidget* parent);
  ~PlayerSite() override;
  QWidget* widget() override { return box_; }
  void sync() override;

  // Loads the module at `path`, creates the component in the box and attaches it to the site,
  // which hands over what it was told so far. On failure the box shows kPlayerNotLoaded and the
  // reason is returned; an empty string means the player is attached.
  QString load(const QString& path);
  bool loaded() const { return component_ != nullptr; }
  // The loaded component, or nullptr.
  PlayerComponent* component() { return component_.get(); }

  // The module path: TUNELARK_PLAYER_MODULE when set, else the file next to the executable (a
  // build folder), else the one in the installed modules folder relative to it.
  static QString modulePath();

 private:
  void showFailure();

  ControlSite& site_;
  QWidget* box_;
  QLabel* failure_ = nullptr;
  std::unique_ptr<PlayerComponent> component_;
};

}  // namespace tunelark::qt
