// A three-state check box that cycles as the attribute filter reads its states: unchecked (0, either),
// checked (1, must have), indeterminate (2, must not have), then unchecked again.
#pragma once

#include <QCheckBox>

class TriStateBox : public QCheckBox {
  Q_OBJECT

 public:
  TriStateBox(const QString& text, QWidget* parent = nullptr);
  // The attribute filter value of the state: 0, 1 or 2.
  int Value() const;
  // Shows a value; anything but 1 and 2 shows as 0.
  void SetValue(int value);

 protected:
  void nextCheckState() override;
};
