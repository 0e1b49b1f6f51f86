// A number edit's spin control: two arrow buttons beside the edit that step its number within the
// spin's range, and the numeric field rule that keeps the edit's text a number within that range.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class CNumberSpin : public QWidget {
  Q_OBJECT

 public:
  // Serves `buddy` (the number edit) with the range lower..upper: its text follows the numeric field rule
  // on every change, the arrows and the Up/Down keys in the edit step it by one.
  CNumberSpin(QLineEdit* buddy, int lower, int upper, QWidget* parent);

  // The edit's number (the rule applied), and a step up (positive) or down (negative), kept in range.
  int Value() const;
  void StepBy(int steps);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ApplyRule();

  QLineEdit* buddy_;
  int lower_;
  int upper_;
  QToolButton* up_;
  QToolButton* down_;
};
