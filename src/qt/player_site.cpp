#include "qt/player_site.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QVBoxLayout>

#include "player/control_site.h"
#include "player/module/player_module_api.h"
#include "qt/control_placement.h"
#include "qt/object_names.h"
#include "qt/skin_style.h"

namespace tunelark::qt {

PlayerSite::PlayerSite(ControlSite& site, QWidget* parent)
    : site_(site), box_(new QWidget(parent)) {
  box_->setObjectName(objectNameOf(ControlId::RealAudio1));
  QPalette pal = box_->palette();
  pal.setColor(QPalette::Window, Qt::black);
  box_->setPalette(pal);
  box_->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(box_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
}

PlayerSite::~PlayerSite() {
  // The window model outlives this view: it must not keep calling a component that is gone.
  if (component_) site_.detach();
  component_.reset();
}

void PlayerSite::sync() { placeAs(box_, site_.box); }

QString PlayerSite::modulePath() {
  const QByteArray env = qgetenv("TUNELARK_PLAYER_MODULE");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  // Beside the executable in a build folder; in the modules' own folder once installed.
  const QDir bin(QCoreApplication::applicationDirPath());
  const QString built = bin.filePath(QLatin1String(kPlayerModuleFile));
  if (QFile::exists(built)) return built;
  return QDir(bin.filePath(QStringLiteral(TUNELARK_MODULE_DIR_FROM_BIN)))
      .filePath(QLatin1String(kPlayerModuleFile));
}

QString PlayerSite::load(const QString& path) {
  if (component_) return {};
  // The module is never unloaded: its code backs widgets and threads until the process ends.
  QLibrary library(path);
  // Bind every symbol now: a module with an unresolved symbol must fail here, where we can show
  // it, and not end the process at its first call.
  library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  if (!library.load()) {
    showFailure();
    return library.errorString();
  }
  auto create = reinterpret_cast<TunelarkCreatePlayerFn>(library.resolve(TUNELARK_PLAYER_FACTORY));
  if (!create) {
    showFailure();
    return QStringLiteral("%1 has no %2").arg(path, QLatin1String(TUNELARK_PLAYER_FACTORY));
  }
  PlayerComponent* component = nullptr;
  try {
    component = create(box_);
  } catch (...) {
    component = nullptr;  // a factory that throws is a broken module like any other
  }
  if (!component || !component->display()) {
    delete component;
    showFailure();
    return QStringLiteral("%1 did not create a player").arg(path);
  }
  component_.reset(component);
  if (failure_) failure_->hide();
  QWidget* display = component_->display();
  if (display->parentWidget() != box_) display->setParent(box_);
  box_->layout()->addWidget(display);
  display->show();
  site_.attach(&component_->control());
  return {};
}

void PlayerSite::showFailure() {
  if (!failure_) {
    failure_ = new QLabel(QLatin1String(kPlayerNotLoaded), box_);
    failure_->setObjectName(QStringLiteral("playerNotLoaded"));
    failure_->setAlignment(Qt::AlignCenter);
    failure_->setWordWrap(true);
    QPalette pal = failure_->palette();
    pal.setColor(QPalette::WindowText, QColor(0x00, 0xff, 0xff));
    pal.setColor(QPalette::Window, Qt::black);
    failure_->setPalette(pal);
    failure_->setAutoFillBackground(true);
    failure_->setFont(skinFont(12));
    box_->layout()->addWidget(failure_);
  }
  failure_->show();
}

}  // namespace tunelark::qt
