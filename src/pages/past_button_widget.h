// CPastButton: a radio button of the date page that stands for a span into the past or the future. Its
// right-click menu offers both directions, the current one marked; the page owns the direction.
#pragma once

#include <QRadioButton>

class CPastButton : public QRadioButton {
  Q_OBJECT

 public:
  explicit CPastButton(QWidget* parent = nullptr) : QRadioButton(parent) {}
  // The direction the menu marks: false past, true future. Set by the page.
  bool Future() const { return future_; }
  void SetFuture(bool future) { future_ = future; }
  // Shows the past/future menu at `globalPos` (a right click does this) and reports the choice.
  void ShowMenu(const QPoint& globalPos);

 signals:
  // A direction was chosen in the menu, also the one already marked.
  void DirectionChosen(bool future);

 protected:
  void mousePressEvent(QMouseEvent* e) override;

 private:
  bool future_ = false;
};
