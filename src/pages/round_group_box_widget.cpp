#include "pages/round_group_box_widget.h"

#include <QPainter>

namespace {

constexpr int kCorner = 16;        // corner ellipse, 16 × 16
constexpr int kCaptionIndent = 10;
constexpr int kMaxCaption = 63;    // characters of the caption drawn

}  // namespace

void CRoundRectGroupbox::Draw(const QGroupBox& box, QPainter& painter) const {
  const QPalette& palette = box.palette();
  const QString text = box.title().left(kMaxCaption);
  const QString caption = " " + text + " ";
  painter.save();
  painter.setFont(box.font());
  // "&" marks the mnemonic as in any caption: underlined, not drawn ("ファイルサイズ(&S)").
  const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
  const QRect measured = painter.fontMetrics().boundingRect(QRect(), flags, caption);
  const int captionHeight = measured.height();
  // The frame's top line runs through the middle of the caption.
  const QRect frame(0, captionHeight / 2, box.width(), box.height() - captionHeight / 2);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(palette.color(QPalette::Light), 1));
  painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), kCorner / 2, kCorner / 2);
  painter.setPen(QPen(palette.color(QPalette::Dark), 1));
  painter.drawRoundedRect(frame.adjusted(0, 0, -2, -2), kCorner / 2, kCorner / 2);
  if (!text.isEmpty()) {
    const QRect at(kCaptionIndent, 0, measured.width(), captionHeight);
    painter.fillRect(at, palette.color(QPalette::Button));
    if (box.isEnabled()) {
      painter.setPen(palette.color(QPalette::Active, QPalette::WindowText));
      painter.drawText(at, flags, caption);
    } else {
      // Engraved: a highlight copy one pixel right and down under the shadow-coloured caption.
      painter.setPen(palette.color(QPalette::Light));
      painter.drawText(at.translated(1, 1), flags, caption);
      painter.setPen(palette.color(QPalette::Dark));
      painter.drawText(at, flags, caption);
    }
  }
  painter.restore();
}

void RoundGroupBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  CRoundRectGroupbox().Draw(*this, painter);
}
