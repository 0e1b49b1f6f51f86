#include "app/size_grip_widget.h"

#include <QPainter>

#include "app/main_layout.h"

void CSizeGrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().button());
  const QColor highlight = palette().light().color();
  const QColor shadow = palette().dark().color();
  for (const GripLine& line : SizeGripLines(width(), height())) {
    painter.setPen(line.highlight ? highlight : shadow);
    // The end point is not part of the line.
    const int dx = line.x1 > line.x0 ? 1 : (line.x1 < line.x0 ? -1 : 0);
    const int dy = line.y1 > line.y0 ? 1 : (line.y1 < line.y0 ? -1 : 0);
    painter.drawLine(line.x0, line.y0, line.x1 - dx, line.y1 - dy);
  }
}
