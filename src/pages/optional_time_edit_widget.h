// A time picker that may hold no time: a check box switches its time off and on again, and the picker
// keeps its time meanwhile. The date page's "from" and "to" time pickers use it for whole days.
#pragma once

#include <QTime>
#include <QWidget>

class QCheckBox;
class QTimeEdit;

class OptionalTimeEdit : public QWidget {
  Q_OBJECT

 public:
  explicit OptionalTimeEdit(QWidget* parent = nullptr);
  bool HasTime() const;
  // Switches the time on or off without a signal.
  void SetHasTime(bool on);
  // The time of day it holds, also while switched off.
  QTime Time() const;
  void SetTime(const QTime& time);
  QCheckBox* Check() const { return check_; }
  QTimeEdit* Editor() const { return editor_; }

 signals:
  // The user switched the time on or off.
  void HasTimeToggled(bool on);
  // The user changed the time (SetTime is silent).
  void TimeEdited();

 private:
  QCheckBox* check_;
  QTimeEdit* editor_;
};
