#include "qt/window_keys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "qt/object_names.h"
#include "ui/key_table.h"

namespace tunelark::qt {

namespace {

QKeySequence sequenceOf(std::string_view key) {
  return QKeySequence::fromString(
      QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())),
      QKeySequence::PortableText);
}

// The main keyboard's Return and the keypad's Enter are the one key a user calls Enter.
QKeyCombination combinationOf(const QKeyEvent* e) {
  const Qt::Key key = e->key() == Qt::Key_Return ? Qt::Key_Enter : static_cast<Qt::Key>(e->key());
  return QKeyCombination(e->modifiers() & ~Qt::KeypadModifier, key);
}

}  // namespace

WindowKeys::WindowKeys(QWidget* window, KeySink run) : QObject(window), run_(std::move(run)) {
  for (const KeyRow& row : keyTable()) {
    if (row.where) {
      if (auto* list = window->findChild<QWidget*>(objectNameOf(*row.where)))
        list->installEventFilter(this);
      continue;
    }
    auto* shortcut = new QShortcut(sequenceOf(row.key), window);
    QObject::connect(shortcut, &QShortcut::activated, this,
                     [this, row] { run_(row.control, row.event); });
  }
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat()) return false;
  const QKeyCombination pressed = combinationOf(key);
  for (const KeyRow& row : keyTable()) {
    if (!row.where || watched->objectName() != objectNameOf(*row.where)) continue;
    if (sequenceOf(row.key)[0] != pressed) continue;
    run_(row.control, row.event);
    return true;
  }
  return false;
}

}  // namespace tunelark::qt
