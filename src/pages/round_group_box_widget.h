// The settings pages' group frames: rounded, etched frames with the caption on the page's face colour,
// engraved while the group is disabled, in place of the platform's square group boxes.
#pragma once

#include <QGroupBox>

class QPainter;

// Draws one group box's frame and caption. It holds nothing; the pages' group boxes call it on every paint.
class CRoundRectGroupbox {
 public:
  virtual ~CRoundRectGroupbox() = default;
  // Draws the frame of `groupBox` with `painter` (in the box's own coordinates): a highlight-coloured
  // rounded rectangle one pixel right and down, a shadow-coloured one over it, then " caption " 10 pixels
  // from the left on the face colour; a disabled box's caption is engraved.
  void Draw(const QGroupBox& groupBox, QPainter& painter) const;
};

// A group box that paints itself with CRoundRectGroupbox; its children are laid out as in any group box.
class RoundGroupBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit RoundGroupBox(const QString& title, QWidget* parent = nullptr) : QGroupBox(title, parent) {}

 protected:
  void paintEvent(QPaintEvent* e) override;
};
