// A number field with its spin control: the edit keeps its text a number within the spin's bounds by the
// number field rule on every edit, and the spin (or the arrow keys) steps it within the same bounds.
#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

class NumberEdit : public QLineEdit {
  Q_OBJECT

 public:
  NumberEdit(int lower, int upper, QWidget* parent = nullptr);
  int Lower() const { return lower_; }
  int Upper() const { return upper_; }
  // The number shown, clamped to the bounds; 0 when the text is no number.
  int Value() const;
  // Shows `value` clamped to the bounds; no Edited signal.
  void SetValue(int value);
  // Moves the number by `steps` within the bounds, as the user's spin does; Edited when it changed.
  void StepBy(int steps);

 signals:
  // The user changed the field (typing, pasting, the spin, the arrow keys).
  void Edited();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void ApplyRule();

  int lower_;
  int upper_;
};

// The spin control beside a NumberEdit: an up and a down arrow that step it, repeating while held.
class UpDownButtons : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownButtons(NumberEdit* buddy, QWidget* parent = nullptr);
  QToolButton* Up() const { return up_; }
  QToolButton* Down() const { return down_; }

 private:
  QToolButton* up_;
  QToolButton* down_;
};
