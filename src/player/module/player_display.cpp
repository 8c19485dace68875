#include "player/module/player_display.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include "player/module/level_bar.h"

namespace tunelark::module {

namespace {

// The window's skin: black frames with cyan and green lettering.
const QColor kBackground(0x02, 0x08, 0x0a);
const QColor kBorder(0x00, 0x60, 0x66);
const QColor kCyan(0x00, 0xe5, 0xee);
const QColor kGreen(0x3c, 0xf0, 0x8c);
const QColor kAmber(0xff, 0xb4, 0x30);
const QColor kDim(0x00, 0x9a, 0xa0);

constexpr int kMargin = 8;
const QRect kTitleRect(PlayerDisplay::kLogoWidth + 4, 5, PlayerDisplay::kWidth - 88, 17);
const QRect kClipRect(PlayerDisplay::kLogoWidth + 4, 23, 110, 15);
const QRect kStateRect(PlayerDisplay::kLogoWidth + 116, 23, PlayerDisplay::kWidth - 200, 15);
const QRect kTimeRect(kMargin, 40, 150, 15);
const QRect kMessageRect(kMargin, 56, PlayerDisplay::kWidth - 2 * kMargin, 15);
const QRect kPositionRect(kMargin, 75, PlayerDisplay::kWidth - 2 * kMargin, 9);
const QRect kVolumeLabelRect(PlayerDisplay::kWidth - 120, 88, 30, 12);
const QRect kVolumeRect(PlayerDisplay::kWidth - 88, 90, 80, 8);

QFont fontOfSize(int pixels, bool bold) {
  QFont font;
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void drawText(QPainter& painter, const QRect& box, const std::string& text, const QColor& color,
              Qt::Alignment align = Qt::AlignLeft) {
  const QString elided =
      painter.fontMetrics().elidedText(QString::fromStdString(text), Qt::ElideRight, box.width());
  painter.setPen(color);
  painter.drawText(box, static_cast<int>(align | Qt::AlignVCenter), elided);
}

}  // namespace

// A text the display paints itself, held in a label that paints nothing: a screen reader reads
// it as static text where the eye reads it.
class SpokenText : public QLabel {
 public:
  SpokenText(const QRect& place, QWidget* parent) : QLabel(parent) {
    setGeometry(place);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
  }

 protected:
  void paintEvent(QPaintEvent*) override {}
};

PlayerDisplay::PlayerDisplay(QWidget* parent)
    : QWidget(parent), position_(new LevelBar(kCyan, this)), volume_(new LevelBar(kGreen, this)) {
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  position_->setGeometry(kPositionRect);
  position_->setToolTip("Position: click or drag to move within the clip");
  position_->setInteractive(false);
  position_->setAccessibleName("Position");
  volume_->setGeometry(kVolumeRect);
  volume_->setToolTip("Volume");
  volume_->setAccessibleName("Volume");
  // Lowered one by one from the last, so a screen reader meets them in reading order, before the
  // bars.
  const std::array places{kTitleRect, kClipRect, kStateRect, kTimeRect, kMessageRect};
  for (std::size_t i = places.size(); i-- > 0;) {
    spoken_[i] = new SpokenText(places[i], this);
    spoken_[i]->lower();
  }
  volume_->setValue(1.0);
  connect(position_, &LevelBar::picked, this, [this](double fraction) {
    if (total_ && *total_ > 0) emit seekRequested(fraction * *total_);
  });
  connect(volume_, &LevelBar::moved, this, &PlayerDisplay::volumeChanged);
  connect(volume_, &LevelBar::picked, this, &PlayerDisplay::volumeChanged);
  showStatus({});
}

void PlayerDisplay::showStatus(const engine::PlayerStatus& status) {
  DisplayText text = describe(status);
  total_ = status.totalSeconds;
  // Seeking needs a known length; until the decoder has found the end there is nowhere to go.
  position_->setInteractive(total_ && *total_ > 0);
  position_->setValue(progressOf(status));
  // While playing, only the time changes from one second to the next: repaint just that.
  QRegion dirty;
  if (text.title != text_.title) dirty += kTitleRect;
  if (text.clip != text_.clip) dirty += kClipRect;
  if (text.state != text_.state) dirty += kStateRect;
  if (text.time != text_.time) dirty += kTimeRect;
  if (text.message != text_.message || text.error != text_.error) dirty += kMessageRect;
  const bool tipChanged = text.title != text_.title || text.message != text_.message;
  text_ = std::move(text);
  const std::string none;
  const std::array<const std::string*, 5> spoken{&text_.title, &text_.clip, &text_.state,
                                                 &text_.time, text_.error ? &text_.message : &none};
  // A label repaints only when its text really changes, and then only its own box; an empty one
  // is left out of what a screen reader reads.
  for (std::size_t i = 0; i < spoken.size(); ++i) {
    spoken_[i]->setText(QString::fromStdString(*spoken[i]));
    spoken_[i]->setVisible(!spoken[i]->empty());
  }
  if (tipChanged)
    setToolTip(QString::fromStdString(text_.message.empty() ? text_.title : text_.message));
  if (!dirty.isEmpty()) update(dirty);
}

void PlayerDisplay::setVolume(double volume) { volume_->setValue(volume); }

void PlayerDisplay::paintEvent(QPaintEvent*) {
  // Qt clips the painter to the region asked for, so drawing everything costs only the text
  // layout, not the pixels.
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  painter.setPen(kBorder);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));

  painter.setFont(fontOfSize(13, true));
  drawText(painter, kTitleRect, text_.title, kCyan);
  painter.setFont(fontOfSize(11, false));
  drawText(painter, kClipRect, text_.clip, kDim);
  drawText(painter, kStateRect, text_.state, kGreen, Qt::AlignRight);
  drawText(painter, kTimeRect, text_.time, kCyan);
  if (text_.error) drawText(painter, kMessageRect, text_.message, kAmber);
  drawText(painter, kVolumeLabelRect, "Vol", kDim);
}

}  // namespace tunelark::module
