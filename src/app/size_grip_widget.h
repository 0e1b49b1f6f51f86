// The size grip in the main window's bottom-right corner: the toolkit's grip (dragging it resizes the
// window) drawn as the window's own 12 × 12 picture of three diagonal ridges.
#pragma once

#include <QSizeGrip>

class CSizeGrip : public QSizeGrip {
  Q_OBJECT

 public:
  explicit CSizeGrip(QWidget* parent) : QSizeGrip(parent) {}
  QSize sizeHint() const override { return {12, 12}; }

 protected:
  // Button-face background, then the highlight and shadow lines of SizeGripLines, in the palette's
  // colours, so the picture follows the desktop's colours when they change.
  void paintEvent(QPaintEvent* e) override;
};
