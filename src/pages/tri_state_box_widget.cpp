#include "pages/tri_state_box_widget.h"

TriStateBox::TriStateBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
  setTristate(true);
}

int TriStateBox::Value() const {
  switch (checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void TriStateBox::SetValue(int value) {
  setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

// The toolkit's own order is unchecked, indeterminate, checked; the filter's is 0, 1, 2.
void TriStateBox::nextCheckState() {
  SetValue((Value() + 1) % 3);
}
